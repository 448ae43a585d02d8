#pragma once
// The arithmetic of a grid of equal tiles: a thumbnail box with margins and up to two text lines under
// it, packed left to right in as many columns as fit and centred horizontally.

#include <cstdint>

#include "widget/geometry.h"

namespace Quarlo::Widget::List {

// Margin around the thumbnail box inside its cell (8 on each side).
inline constexpr float kTileMargin = 16;
// Smallest side of the thumbnail box.
inline constexpr float kMinTileSide = 16;

struct TileGeometry {
  float tileWidth = 160;
  float tileHeight = 120;
  int textLines = 1;     // 0, 1 or 2
  float titleSize = 14;  // the title style's size, which sets the line height

  // One text line's height: ceil(title size × 1.45).
  float LineHeight() const;
  // 0 without text, else the lines plus 6.
  float TextHeight() const;
  Size Cell() const;
  // Columns that fit into width, at least 1.
  int64_t ColumnsFor(float width) const;
  // The left edge of the first column for this many columns at this width.
  float LeftPad(float width, int64_t columns) const;
};

// Rows holding count items in this many columns.
int64_t RowsFor(int64_t count, int64_t columns);

}  // namespace Quarlo::Widget::List
