#pragma once
// What a TileView shows: a count of items, one or two lines of text and a bitmap per item, fetched on
// demand while painting. The view does not own its source; the source must outlive it or be replaced
// first. Every operation runs on the user-interface thread and must return quickly.

#include <cstdint>
#include <string_view>

#include "widget/canvas.h"

namespace Quarlo::Widget::List {

class ITileDataSource {
 public:
  virtual ~ITileDataSource() = default;
  // Read when the view is given the source and on Reload; a negative value counts as 0.
  virtual int64_t Count() = 0;
  // The first text line of an item, valid until the next Title call.
  virtual std::string_view Title(int64_t index) = 0;
  // The second text line (shown only with two text lines); empty by default.
  virtual std::string_view Subtitle(int64_t index);
  // Called while painting a tile: the bitmap that is ready now, or an empty one. The source asks for a
  // repaint (InvalidateItems) when a better one arrives.
  virtual Bitmap Thumbnail(int64_t index, int pixelWidth, int pixelHeight) = 0;
  // Called when the tiles in view, plus a page of rows before and after them, changed: the items worth
  // loading ahead.
  virtual void VisibleRangeChanged(int64_t first, int64_t count) = 0;
};

inline std::string_view ITileDataSource::Subtitle(int64_t) { return {}; }

}  // namespace Quarlo::Widget::List
