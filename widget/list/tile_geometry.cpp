#include "widget/list/tile_geometry.h"

#include <algorithm>
#include <cmath>

namespace Quarlo::Widget::List {

namespace {
constexpr float kLineFactor = 1.45f;
constexpr float kTextPadding = 6;
}  // namespace

float TileGeometry::LineHeight() const { return std::ceil(titleSize * kLineFactor); }

float TileGeometry::TextHeight() const {
  return textLines <= 0 ? 0 : LineHeight() * static_cast<float>(textLines) + kTextPadding;
}

Size TileGeometry::Cell() const {
  return Size{tileWidth + kTileMargin, tileHeight + kTileMargin + TextHeight()};
}

int64_t TileGeometry::ColumnsFor(float width) const {
  if (!(width > 0)) return 1;
  return std::max<int64_t>(1, static_cast<int64_t>(std::floor(width / Cell().width)));
}

float TileGeometry::LeftPad(float width, int64_t columns) const {
  return std::max((width - static_cast<float>(columns) * Cell().width) * 0.5f, 0.0f);
}

int64_t RowsFor(int64_t count, int64_t columns) {
  if (count <= 0) return 0;
  return (count + columns - 1) / columns;
}

}  // namespace Quarlo::Widget::List
