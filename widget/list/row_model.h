#pragma once
// The arithmetic of a column of equal-height rows seen through a viewport: which rows are visible, which
// row lies under a point, and which offset brings a row into view. All in double, so that a list of
// millions of rows keeps whole-DIP precision at its end.

#include <cstdint>

namespace Quarlo::Widget::List {

// Where ScrollRowIntoView puts the row: as little movement as shows it whole, or at the top, bottom or
// centre of the viewport.
enum class ScrollAlignment : int32_t { Nearest = 0, Top = 1, Bottom = 2, Center = 3 };

// A half-open range of rows [first, end).
struct RowRange {
  int64_t first = 0;
  int64_t end = 0;
  friend bool operator==(const RowRange&, const RowRange&) = default;

  int64_t Count() const { return end - first; }
  bool Contains(int64_t row) const { return row >= first && row < end; }
};

class RowModel {
 public:
  // Each setter keeps the offset inside [0, MaxOffset()].
  void SetRowCount(int64_t count);   // negative counts become 0
  void SetRowHeight(double height);  // a height not above 0 (or NaN) becomes 1
  void SetViewport(double height);   // negative (or NaN) becomes 0
  void SetOffset(double offset);

  int64_t RowCount() const { return rowCount_; }
  double RowHeight() const { return rowHeight_; }
  double Viewport() const { return viewport_; }
  double Offset() const { return offset_; }
  double Extent() const { return static_cast<double>(rowCount_) * rowHeight_; }
  double MaxOffset() const;

  // -1 without rows; else the row at the top edge of the viewport.
  int64_t FirstVisibleRow() const;
  // Rows that fit wholly into the viewport, at least 1.
  int64_t WholeRowsInView() const;
  // The rows that touch the viewport; empty without rows or without a viewport.
  RowRange VisibleRange() const;
  // The visible range widened by overscan rows on each side, within the rows.
  RowRange VisibleRange(int64_t overscan) const;
  // The row under y (from the top of the rows area), or -1 outside the viewport or the rows.
  int64_t RowAtY(double y) const;
  // The offset that shows row (clamped to the rows) as alignment asks, starting from `from`; within
  // [0, MaxOffset()]. Without rows, from clamped.
  double TargetOffset(int64_t row, ScrollAlignment alignment, double from) const;

 private:
  void ClampOffset();

  int64_t rowCount_ = 0;
  double rowHeight_ = 20;
  double viewport_ = 0;
  double offset_ = 0;
};

}  // namespace Quarlo::Widget::List
