#pragma once
// Drawing shared by the picture view and the webtoon strip: canvas bitmaps for the tiles of decoded
// pictures (wrapping the tiles' pixels and halved copies, never copying them), a picture frame drawn
// tile by tile into a rectangle with the tiles outside the visible region skipped, the interpolation
// rule for enlarging, and the checkerboard behind transparent pictures.

#include <map>
#include <memory>
#include <vector>

#include "core/loaded_picture.h"
#include "widget/canvas.h"

namespace App {

using Quarlo::View::LoadedPicture;
using Quarlo::View::PicturePtr;
using Quarlo::View::PictureTile;

// The canvas bitmaps of the tiles a view shows, keyed by the identity of the tile's pixel buffer. A
// bitmap keeps its buffer alive, so a key is never reused while its entry exists.
class TileBitmaps {
 public:
  // The bitmap of a tile, made on first use at 96 DPI with the tile's halved copies. Empty (and not
  // kept) when the tile's buffer is missing or smaller than its size says.
  Quarlo::Widget::Bitmap Get(const PictureTile& tile);
  // Drops every bitmap that belongs to no tile of any frame of these pictures (nulls are skipped).
  void KeepOnly(const std::vector<PicturePtr>& pictures);
  void Clear() { bitmaps_.clear(); }
  size_t Count() const { return bitmaps_.size(); }

 private:
  std::map<const Quarlo::View::PixelBytes*, Quarlo::Widget::Bitmap> bitmaps_;
};

// Device pixels per picture pixel below which a picture counts as shrunk, and is always drawn smoothly.
inline constexpr double kShrinkThreshold = 0.999;

// Shrunk pictures, and any picture when smoothing is on, are drawn with high-quality interpolation;
// pictures at 1:1 or enlarged without smoothing keep hard pixel edges.
Quarlo::Widget::Interpolation InterpolationFor(double devicePixelsPerPicturePixel, bool smooth);

// Draws frame `frame` (clamped to the last) of a picture into destination, in the canvas's current
// space, tile by tile; tiles whose rectangle misses `visible` (same space) are skipped, and tiles whose
// bitmap cannot be made are left out.
void DrawPictureFrame(Quarlo::Widget::Canvas& canvas, TileBitmaps& bitmaps, const LoadedPicture& picture,
                      size_t frame, Quarlo::Widget::Rect destination, Quarlo::Widget::Rect visible,
                      Quarlo::Widget::Interpolation interpolation);

// Fills a rectangle with 8-DIP squares from the start of the rectangle, in the dark (44, 58) or light
// (228, 255) greys; an empty rectangle draws nothing.
void FillCheckerboard(Quarlo::Widget::Canvas& canvas, Quarlo::Widget::Rect rect, bool dark);

// The overlap of two rectangles; width or height 0 when they do not overlap.
Quarlo::Widget::Rect Intersection(const Quarlo::Widget::Rect& a, const Quarlo::Widget::Rect& b);

}  // namespace App
