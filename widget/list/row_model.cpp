// RowModel: visible rows, hit rows and scroll targets of equal-height rows.

#include "widget/list/row_model.h"

#include <algorithm>
#include <cmath>

namespace Quarlo::Widget::List {

namespace {

// Whole rows in view tolerate this much rounding, so that a viewport of exactly n rows holds n.
constexpr double kWholeRowSlack = 1e-9;

int64_t ClampRow(double row, int64_t count) {
  return static_cast<int64_t>(std::clamp(row, 0.0, static_cast<double>(count)));
}

}  // namespace

void RowModel::SetRowCount(int64_t count) {
  rowCount_ = std::max<int64_t>(count, 0);
  ClampOffset();
}

void RowModel::SetRowHeight(double height) {
  rowHeight_ = height > 0 ? height : 1;
  ClampOffset();
}

void RowModel::SetViewport(double height) {
  viewport_ = height > 0 ? height : 0;
  ClampOffset();
}

void RowModel::SetOffset(double offset) {
  offset_ = std::isnan(offset) ? offset_ : offset;
  ClampOffset();
}

double RowModel::MaxOffset() const { return std::max(Extent() - viewport_, 0.0); }

void RowModel::ClampOffset() { offset_ = std::clamp(offset_, 0.0, MaxOffset()); }

int64_t RowModel::FirstVisibleRow() const {
  if (rowCount_ == 0) {
    return -1;
  }
  return std::min(rowCount_ - 1, static_cast<int64_t>(std::floor(offset_ / rowHeight_)));
}

int64_t RowModel::WholeRowsInView() const {
  return std::max<int64_t>(1, static_cast<int64_t>(std::floor(viewport_ / rowHeight_ + kWholeRowSlack)));
}

RowRange RowModel::VisibleRange() const {
  if (rowCount_ == 0 || viewport_ <= 0) {
    return {};
  }
  return RowRange{ClampRow(std::floor(offset_ / rowHeight_), rowCount_),
                  ClampRow(std::ceil((viewport_ + offset_) / rowHeight_), rowCount_)};
}

RowRange RowModel::VisibleRange(int64_t overscan) const {
  RowRange range = VisibleRange();
  if (range.Count() == 0) {
    return range;
  }
  return RowRange{std::max<int64_t>(range.first - overscan, 0), std::min(range.end + overscan, rowCount_)};
}

int64_t RowModel::RowAtY(double y) const {
  if (!(y >= 0) || y >= viewport_) {
    return -1;
  }
  double row = std::floor((y + offset_) / rowHeight_);
  return row >= 0 && row < static_cast<double>(rowCount_) ? static_cast<int64_t>(row) : -1;
}

double RowModel::TargetOffset(int64_t row, ScrollAlignment alignment, double from) const {
  if (rowCount_ == 0) {
    return std::clamp(from, 0.0, MaxOffset());
  }
  double top = static_cast<double>(std::clamp<int64_t>(row, 0, rowCount_ - 1)) * rowHeight_;
  double bottomAligned = top + rowHeight_ - viewport_;
  double target = from;
  switch (alignment) {
    case ScrollAlignment::Top:
      target = top;
      break;
    case ScrollAlignment::Bottom:
      target = bottomAligned;
      break;
    case ScrollAlignment::Center:
      target = top + rowHeight_ * 0.5 - viewport_ * 0.5;
      break;
    case ScrollAlignment::Nearest:
      if (top < from) {
        target = top;
      } else if (top + rowHeight_ > from + viewport_) {
        target = bottomAligned;
      }
      break;
  }
  return std::clamp(target, 0.0, MaxOffset());
}

}  // namespace Quarlo::Widget::List
