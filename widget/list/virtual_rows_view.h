#pragma once
// The base of lists of many equal-height rows of which only the visible ones are drawn or exposed to
// accessibility. It owns the vertical scroll position (a RowModel), smooth wheel and animated scrolling
// (a SmoothScroller driven by one repeating entry on the host's animator), an overlay ScrollBar as its only
// child, and a row-per-item accessibility model that subclasses fill through the row operations below.
// Subclasses draw the rows of RowModel::VisibleRange() in their Paint, at RowRect(row).

#include <cstdint>

#include "widget/list/row_model.h"
#include "widget/list/scroll_bar.h"
#include "widget/list/smooth_scroller.h"
#include "widget/widget.h"

namespace Quarlo::Widget {
class Animator;
}  // namespace Quarlo::Widget

namespace Quarlo::Widget::List {

// Rows exposed to accessibility beyond each edge of the viewport.
inline constexpr int64_t kAccessibilityOverscan = 4;

// The part of an item's rectangle inside the content (empty when they do not overlap): the bounds an
// accessibility item reports.
Rect VisiblePart(Rect item, Rect content);

class VirtualRowsView : public Widget {
 public:
  VirtualRowsView();
  ~VirtualRowsView() override;

  // --- Virtual operations of the rows view, in their fixed order ---

  // Anything scrolled, or the pointer came in: the base reveals the scroll bar.
  virtual void OnScrollActivity();
  // The row under a local point: -1 outside the width, else the row model's row at y below the header.
  virtual int64_t RowAtPoint(Point local) const;
  // Height of a header drawn above the rows (the rows area starts below it).
  virtual float HeaderHeight() const;
  // Height kept free of the scroll bar below the rows, for the arranged size.
  virtual float FooterHeight(Size arranged) const;
  // The visible rows changed (scrolled, resized, rows added or removed).
  virtual void OnViewportChanged();
  // A wheel event with a horizontal part, or with Shift held; true when the subclass took it.
  virtual bool OnHorizontalWheel(const WheelEvent& event);
  // Accessibility items of the rows: the id of a row, the row of an id (-1 for none), the item's
  // description, and the row that has the keyboard focus (-1 for none).
  virtual ItemId RowItemId(int64_t row) const = 0;
  virtual int64_t ItemRow(ItemId item) const = 0;
  virtual bool RowItemInfo(int64_t row, ItemInfo& info) const = 0;
  virtual int64_t FocusedRow() const = 0;
  // Items exposed before the rows (a header's cells, for example).
  virtual int64_t ExtraItemCount() const;
  virtual ItemId ExtraItemAt(int64_t index) const;
  virtual bool ExtraItemInfo(ItemId item, ItemInfo& info) const;

  // --- Widget operations ---

  bool IsFocusable() const override;
  int32_t Orientation() const override;
  ScrollInfo Scroll() const override;
  bool ScrollBy(ScrollAmount horizontal, ScrollAmount vertical) override;
  bool SetScrollPercent(double horizontal, double vertical) override;
  int32_t ItemChildCount(ItemId parent) const override;
  ItemId ItemChildAt(ItemId parent, int32_t index) const override;
  int32_t ItemIndex(ItemId item) const override;
  bool ItemInformation(ItemId item, ItemInfo& info) const override;
  ItemId FocusedItem() const override;
  ItemId ItemAtPoint(Point local) const override;
  bool RealizeItem(ItemId item) override;
  void OnPointerEnter() override;
  void OnPointerLeave() override;
  bool OnWheel(const WheelEvent& event) override;
  void ArrangeOverride(Size final) override;
  void OnScaleChanged() override;
  void OnAttached() override;
  void OnDetached() override;

  // --- Rows and scrolling ---

  // Negative counts become 0; hover and press on rows that no longer exist are dropped.
  void SetRowCount(int64_t count);
  // NaN follows the theme's control height.
  void SetRowHeight(float height);
  float RowHeight() const;
  // Scrolls to offset (clamped); animated glides on the host's animator when smooth scrolling is on.
  void ScrollTo(double offset, bool animated);
  // Brings a row into view as alignment asks; rows outside the list are ignored.
  void ScrollRowIntoView(int64_t row, ScrollAlignment alignment, bool animated);
  // The row's rectangle in local space (full width).
  Rect RowRect(int64_t row) const;
  // The rows area: below the header, full width.
  Rect ContentRect() const;
  // Recomputes row height, viewport and the scroll bar's range from the current size and settings.
  void UpdateScrollMetrics();

  const RowModel& Rows() const { return rows_; }
  const SmoothScroller& Scroller() const { return scroller_; }
  ScrollBar& Bar() const { return *scrollBar_; }
  // Whether the glide's animator entry is running.
  bool IsGliding() const { return tickerId_ != 0; }
  int64_t HoverRow() const { return hoverRow; }
  int64_t PressedRow() const { return pressedRow; }

  // Plain fields.
  bool smoothScrolling = true;  // wheel notches and animated scrolls glide
  int wheelRows = 3;            // rows per wheel notch

 protected:
  // Subclasses track the pointer's row here; the base drops rows that leave the list.
  int64_t hoverRow = -1;
  int64_t pressedRow = -1;

 private:
  double NowMs() const;
  void StartScrollAnimation();
  void StopScrollAnimation();
  void OnScrollTick();
  // The offset moved (by a jump, a glide step or the bar): show it everywhere.
  void ApplyOffset(double offset);
  void SetOffsetDirectly(double offset);

  RowModel rows_;
  SmoothScroller scroller_;
  float rowHeightSetting_;
  ScrollBar* scrollBar_ = nullptr;
  Animator* animator_ = nullptr;
  int64_t tickerId_ = 0;
};

}  // namespace Quarlo::Widget::List
