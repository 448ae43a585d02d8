// TileView: the data source, tile geometry, column updates and the prefetch range.

#include "widget/list/tile_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "widget/theme.h"

namespace Quarlo::Widget::List {

namespace {

// A measure without a bound takes this size.
constexpr float kUnboundedMeasureWidth = 480;
constexpr float kUnboundedMeasureHeight = 320;
constexpr int kMaxTextLines = 2;
constexpr size_t kBodyTextSizeMetric = 3;
constexpr float kMinSubtitleSize = 10;

}  // namespace

TileView::TileView() {
  wheelRows = 1;
  ConnectSelection();
  ApplyRowHeight();
}

TileView::~TileView() = default;

void TileView::ConnectSelection() {
  selection.onChanged = [this](const SelectionChange& change) {
    InvalidateVisual();
    if (onSelectionChanged) onSelectionChanged(change);
  };
}

void TileView::ApplyRowHeight() {
  geometry_.titleSize = titleStyle_.size;
  SetRowHeight(geometry_.Cell().height);
}

// --- Data ---

void TileView::SetDataSource(ITileDataSource* source) {
  source_ = source;
  layoutCache_.clear();
  notifiedFirst_ = notifiedCount_ = -1;
  RereadCount();
  Prefetch();
}

void TileView::RereadCount() {
  itemCount_ = source_ ? std::max<int64_t>(source_->Count(), 0) : 0;
  if (itemCount_ != selection.Count()) {
    const SelectionMode mode = selection.Mode();
    selection = SelectionModel(itemCount_, mode);
    ConnectSelection();
  }
  UpdateColumns(arrangedWidth_);
  if (hoverIndex_ >= itemCount_) hoverIndex_ = -1;
}

void TileView::Reload() {
  layoutCache_.clear();
  notifiedFirst_ = notifiedCount_ = -1;
  pressedIndex_ = -1;
  RereadCount();
  selection.SetCount(itemCount_);
  ScrollTo(Rows().Offset(), false);
  Prefetch();
  InvalidateVisual();
}

void TileView::InvalidateItems(int64_t first, int64_t count) {
  const int64_t end = std::min(itemCount_, first + std::max<int64_t>(count, 0));
  for (int64_t i = std::max<int64_t>(first, 0); i < end; ++i) layoutCache_.erase(i);
  InvalidateVisual();
}

void TileView::SetTileSize(Size size) {
  geometry_.tileWidth = std::max(size.width, kMinTileSide);
  geometry_.tileHeight = std::max(size.height, kMinTileSide);
  ApplyRowHeight();
  UpdateColumns(arrangedWidth_);
  layoutCache_.clear();
  Prefetch();
  InvalidateVisual();
}

void TileView::SetTextLines(int lines) {
  geometry_.textLines = std::clamp(lines, 0, kMaxTextLines);
  ApplyRowHeight();
  layoutCache_.clear();
  InvalidateVisual();
}

// --- Layout ---

Size TileView::MeasureOverride(Size available) {
  const float width = std::isfinite(available.width) ? available.width : kUnboundedMeasureWidth;
  const float height = std::isfinite(available.height) ? available.height : kUnboundedMeasureHeight;
  return Size{width, height};
}

void TileView::ArrangeOverride(Size final) {
  UpdateColumns(final.width);
  VirtualRowsView::ArrangeOverride(final);
  Prefetch();
}

// A new column count keeps the first visible item in the top row.
void TileView::UpdateColumns(float width) {
  arrangedWidth_ = width;
  const int64_t columns = geometry_.ColumnsFor(width);
  const int64_t rows = RowsFor(itemCount_, columns);
  if (columns == columns_) {
    SetRowCount(rows);
    return;
  }
  const int64_t firstRow = Rows().FirstVisibleRow();
  const int64_t oldColumns = columns_;
  columns_ = columns;
  SetRowCount(rows);
  const int64_t firstItem = std::max<int64_t>(firstRow, 0) * oldColumns;
  ScrollTo(static_cast<double>(RowHeight()) * static_cast<double>(firstItem / columns_), false);
  if (onViewportChanged) onViewportChanged();
}

Rect TileView::TileRect(int64_t index) const {
  const Size cell = geometry_.Cell();
  const int64_t row = index / columns_;
  const int64_t column = index % columns_;
  const float x = geometry_.LeftPad(ActualSize().width, columns_) + static_cast<float>(column) * cell.width;
  return Rect{x, RowRect(row).y, cell.width, cell.height};
}

int64_t TileView::IndexAtPoint(Point local) const {
  const int64_t row = VirtualRowsView::RowAtPoint(local);
  if (row < 0) return -1;
  const float x = local.x - geometry_.LeftPad(ActualSize().width, columns_);
  if (x < 0) return -1;
  const int64_t column = static_cast<int64_t>(std::floor(x / geometry_.Cell().width));
  if (column >= columns_) return -1;
  const int64_t index = row * columns_ + column;
  return index < itemCount_ ? index : -1;
}

int64_t TileView::RowAtPoint(Point local) const {
  return IndexAtPoint(local) >= 0 ? VirtualRowsView::RowAtPoint(local) : -1;
}

void TileView::ScrollIndexIntoView(int64_t index, ScrollAlignment alignment, bool animated) {
  if (index < 0 || index >= itemCount_) return;
  ScrollRowIntoView(index / columns_, alignment, animated);
}

void TileView::SelectAndReveal(int64_t index) {
  if (index < 0 || index >= itemCount_) return;
  selection.SelectOnly(index);
  ScrollRowIntoView(index / columns_, ScrollAlignment::Nearest, false);
}

// --- Viewport and prefetch ---

IndexRange TileView::VisibleItems(int64_t overscan) const {
  const RowRange rows = Rows().VisibleRange(overscan);
  const int64_t begin = columns_ * rows.first;
  return IndexRange{begin, std::max(begin, std::min(itemCount_, columns_ * rows.end))};
}

// The tiles in view and a page of rows on each side; told only when it changed.
void TileView::Prefetch() {
  if (!source_ || itemCount_ == 0) return;
  const RowRange visible = Rows().VisibleRange();
  const int64_t page = std::max<int64_t>(Rows().WholeRowsInView(), 1);
  const int64_t start = std::max<int64_t>(visible.first - page, 0) * columns_;
  const int64_t stop = std::min(itemCount_, columns_ * (visible.end + page));
  if (start >= stop || (start == notifiedFirst_ && stop - start == notifiedCount_)) return;
  notifiedFirst_ = start;
  notifiedCount_ = stop - start;
  source_->VisibleRangeChanged(start, stop - start);
}

void TileView::OnViewportChanged() {
  if (IsHovered()) SetHoverIndex(IndexAtPoint(lastPointer_));
  Prefetch();
  if (onViewportChanged) onViewportChanged();
}

void TileView::SetHoverIndex(int64_t index) {
  if (index == hoverIndex_) return;
  hoverIndex_ = index;
  InvalidateVisual();
}

void TileView::OnThemeChanged() {
  const float body = GetTheme().metrics[kBodyTextSizeMetric];
  titleStyle_.size = body;
  subtitleStyle_.size = std::max(body - 2, kMinSubtitleSize);
  emptyLayout_ = {};
  layoutCache_.clear();
  ApplyRowHeight();
}

void TileView::OnScaleChanged() {
  layoutCache_.clear();
  VirtualRowsView::OnScaleChanged();
}

void TileView::OnFocusChanged(bool) { InvalidateVisual(); }

}  // namespace Quarlo::Widget::List
