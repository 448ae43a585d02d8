// VirtualRowsView: row metrics, direct and gliding scrolling, the wheel, and the row-per-item
// accessibility model over the visible rows.

#include "widget/list/virtual_rows_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "widget/animator.h"
#include "widget/host.h"
#include "widget/input/events.h"
#include "widget/theme.h"

namespace Quarlo::Widget::List {

namespace {

// Widget::Orientation's value for a vertical list.
constexpr int32_t kVerticalOrientation = 2;
// The glide's animator entry only paces the frames; its own value is ignored.
constexpr double kTickerPeriodSeconds = 1;

}  // namespace

Rect VisiblePart(Rect a, Rect b) {
  float left = std::max(a.x, b.x);
  float top = std::max(a.y, b.y);
  float right = std::min(a.Right(), b.Right());
  float bottom = std::min(a.Bottom(), b.Bottom());
  if (right <= left || bottom <= top) {
    return {};
  }
  return Rect{left, top, right - left, bottom - top};
}

VirtualRowsView::VirtualRowsView() : rowHeightSetting_(std::numeric_limits<float>::quiet_NaN()) {
  SetClipToBounds(true);
  scrollBar_ = AddChild(std::make_unique<ScrollBar>(ScrollOrientation::Vertical));
  scrollBar_->SetAutoHide(true);
  scrollBar_->onScroll = [this](double value) {
    scroller_.Jump(value);
    ApplyOffset(value);
  };
  UpdateScrollMetrics();
}

VirtualRowsView::~VirtualRowsView() { StopScrollAnimation(); }

// --- Virtual operations of the rows view ---

void VirtualRowsView::OnScrollActivity() { scrollBar_->Reveal(); }

int64_t VirtualRowsView::RowAtPoint(Point local) const {
  if (local.x < 0 || local.x >= ActualSize().width) {
    return -1;
  }
  return rows_.RowAtY(static_cast<double>(local.y) - HeaderHeight());
}

float VirtualRowsView::HeaderHeight() const { return 0; }

float VirtualRowsView::FooterHeight(Size) const { return 0; }

void VirtualRowsView::OnViewportChanged() {}

bool VirtualRowsView::OnHorizontalWheel(const WheelEvent&) { return false; }

int64_t VirtualRowsView::ExtraItemCount() const { return 0; }

ItemId VirtualRowsView::ExtraItemAt(int64_t) const { return 0; }

bool VirtualRowsView::ExtraItemInfo(ItemId, ItemInfo&) const { return false; }

// --- Rows and metrics ---

void VirtualRowsView::UpdateScrollMetrics() {
  rows_.SetRowHeight(std::isnan(rowHeightSetting_) ? GetTheme().controlHeight : rowHeightSetting_);
  rows_.SetViewport(std::max(static_cast<double>(ActualSize().height) - HeaderHeight(), 0.0));
  scrollBar_->SetRange(rows_.Extent(), rows_.Viewport());
  scrollBar_->smallStep = rows_.RowHeight();
  scroller_.SetMax(rows_.MaxOffset());
  if (!scroller_.IsAnimating()) {
    scroller_.Jump(rows_.Offset());
  }
  scrollBar_->SetValueSilently(rows_.Offset());
}

void VirtualRowsView::ArrangeOverride(Size final) {
  float header = HeaderHeight();
  float barX = final.width - ScrollBar::kThickness;
  float footer = FooterHeight(Size{barX, final.height});
  scrollBar_->Arrange(
      Rect{barX, header, ScrollBar::kThickness, std::max(final.height - header - footer, 0.0f)});
  UpdateScrollMetrics();
}

void VirtualRowsView::SetRowCount(int64_t count) {
  rows_.SetRowCount(count);
  UpdateScrollMetrics();
  if (hoverRow >= rows_.RowCount()) {
    hoverRow = -1;
  }
  if (pressedRow >= rows_.RowCount()) {
    pressedRow = -1;
  }
  InvalidateVisual();
}

void VirtualRowsView::SetRowHeight(float height) {
  rowHeightSetting_ = height;
  UpdateScrollMetrics();
  InvalidateVisual();
}

float VirtualRowsView::RowHeight() const { return static_cast<float>(rows_.RowHeight()); }

Rect VirtualRowsView::RowRect(int64_t row) const {
  double top = HeaderHeight() + static_cast<double>(row) * rows_.RowHeight() - rows_.Offset();
  return Rect{0, static_cast<float>(top), ActualSize().width, RowHeight()};
}

Rect VirtualRowsView::ContentRect() const {
  float header = HeaderHeight();
  return Rect{0, header, ActualSize().width, std::max(ActualSize().height - header, 0.0f)};
}

// --- Scrolling ---

double VirtualRowsView::NowMs() const {
  Host* host = GetHost();
  return host ? host->GetAnimator().Now() * 1000 : 0;
}

void VirtualRowsView::ApplyOffset(double offset) {
  rows_.SetOffset(offset);
  scrollBar_->SetValueSilently(rows_.Offset());
  OnScrollActivity();
  OnViewportChanged();
  InvalidateVisual();
}

void VirtualRowsView::SetOffsetDirectly(double offset) {
  StopScrollAnimation();
  scroller_.Jump(offset);
  ApplyOffset(offset);
}

void VirtualRowsView::ScrollTo(double offset, bool animated) {
  if (std::isnan(offset)) {
    return;
  }
  offset = std::clamp(offset, 0.0, rows_.MaxOffset());
  if (animated && smoothScrolling && GetHost()) {
    scroller_.AnimateTo(offset, NowMs());
    if (scroller_.IsAnimating()) {
      StartScrollAnimation();
      return;
    }
  }
  SetOffsetDirectly(offset);
}

void VirtualRowsView::ScrollRowIntoView(int64_t row, ScrollAlignment alignment, bool animated) {
  if (row < 0 || row >= rows_.RowCount() || rows_.Viewport() <= 0) {
    return;
  }
  bool gliding = scroller_.IsAnimating();
  double target = rows_.TargetOffset(row, alignment, gliding ? scroller_.Target() : rows_.Offset());
  if (!gliding && target == rows_.Offset()) {
    return;
  }
  ScrollTo(target, animated);
}

void VirtualRowsView::StartScrollAnimation() {
  Host* host = GetHost();
  if (tickerId_ != 0 || !host) {
    return;
  }
  animator_ = &host->GetAnimator();
  tickerId_ = animator_->Start(
      0, 1, kTickerPeriodSeconds, Easing::Linear, [this](float) { OnScrollTick(); }, {}, true);
}

void VirtualRowsView::StopScrollAnimation() {
  if (tickerId_ != 0 && animator_) {
    animator_->Cancel(tickerId_);
  }
  tickerId_ = 0;
}

void VirtualRowsView::OnScrollTick() {
  ApplyOffset(scroller_.Tick(animator_->Now() * 1000));
  if (!scroller_.IsAnimating()) {
    StopScrollAnimation();
  }
}

bool VirtualRowsView::OnWheel(const WheelEvent& event) {
  if ((event.deltaX != 0 || (event.modifiers & Modifier::Shift)) && OnHorizontalWheel(event)) {
    return true;
  }
  if (event.deltaY == 0 || !scrollBar_->IsScrollable()) {
    return false;
  }
  double delta = -static_cast<double>(event.deltaY) * wheelRows * rows_.RowHeight();
  if (!event.precise && smoothScrolling && GetHost()) {
    scroller_.AnimateBy(delta, NowMs());
    if (scroller_.IsAnimating()) {
      StartScrollAnimation();
    }
    return true;
  }
  StopScrollAnimation();
  scroller_.JumpBy(delta);
  ApplyOffset(scroller_.Current());
  return true;
}

// --- Accessibility: scrolling ---

ScrollInfo VirtualRowsView::Scroll() const {
  ScrollInfo info;
  info.supported = true;
  if (scrollBar_->IsScrollable()) {
    double max = rows_.MaxOffset();
    double extent = rows_.Extent();
    info.verticalPercent = max > 0 ? rows_.Offset() / max * 100 : 0;
    info.verticalViewSize = extent > 0 ? rows_.Viewport() / extent * 100 : 100;
  }
  return info;
}

bool VirtualRowsView::ScrollBy(ScrollAmount, ScrollAmount vertical) {
  if (vertical == ScrollAmount::NoAmount) {
    return true;
  }
  double delta = ScrollDelta(vertical, rows_.Viewport(), rows_.RowHeight());
  if (delta != 0) {
    ScrollTo(rows_.Offset() + delta, false);
  }
  return true;
}

bool VirtualRowsView::SetScrollPercent(double, double vertical) {
  if (vertical < 0) {
    return true;
  }
  if (!scrollBar_->IsScrollable()) {
    return false;
  }
  ScrollTo(rows_.MaxOffset() * std::clamp(vertical, 0.0, 100.0) / 100, false);
  return true;
}

// --- Accessibility: items ---

bool VirtualRowsView::IsFocusable() const { return true; }

int32_t VirtualRowsView::Orientation() const { return kVerticalOrientation; }

int32_t VirtualRowsView::ItemChildCount(ItemId parent) const {
  if (parent != 0) {
    return 0;
  }
  return static_cast<int32_t>(ExtraItemCount() + rows_.VisibleRange(kAccessibilityOverscan).Count());
}

ItemId VirtualRowsView::ItemChildAt(ItemId parent, int32_t index) const {
  if (parent != 0 || index < 0) {
    return 0;
  }
  int64_t extras = ExtraItemCount();
  if (index < extras) {
    return ExtraItemAt(index);
  }
  RowRange range = rows_.VisibleRange(kAccessibilityOverscan);
  int64_t row = range.first + index - extras;
  return range.Contains(row) ? RowItemId(row) : 0;
}

int32_t VirtualRowsView::ItemIndex(ItemId item) const {
  int64_t extras = ExtraItemCount();
  for (int64_t i = 0; i < extras; ++i) {
    if (ExtraItemAt(i) == item) {
      return static_cast<int32_t>(i);
    }
  }
  RowRange range = rows_.VisibleRange(kAccessibilityOverscan);
  int64_t row = ItemRow(item);
  return range.Contains(row) ? static_cast<int32_t>(extras + row - range.first) : -1;
}

bool VirtualRowsView::ItemInformation(ItemId item, ItemInfo& info) const {
  int64_t extras = ExtraItemCount();
  for (int64_t i = 0; i < extras; ++i) {
    if (ExtraItemAt(i) == item) {
      return ExtraItemInfo(item, info);
    }
  }
  int64_t row = ItemRow(item);
  if (row < 0 || row >= rows_.RowCount() || !RowItemInfo(row, info)) {
    return false;
  }
  info.bounds = VisiblePart(RowRect(row), ContentRect());
  return true;
}

ItemId VirtualRowsView::FocusedItem() const {
  int64_t row = FocusedRow();
  return row >= 0 && row < rows_.RowCount() ? RowItemId(row) : 0;
}

ItemId VirtualRowsView::ItemAtPoint(Point local) const {
  int64_t row = RowAtPoint(local);
  return row >= 0 ? RowItemId(row) : 0;
}

bool VirtualRowsView::RealizeItem(ItemId item) {
  int64_t row = ItemRow(item);
  if (row < 0 || row >= rows_.RowCount()) {
    return false;
  }
  double target = rows_.TargetOffset(row, ScrollAlignment::Nearest, rows_.Offset());
  if (target != rows_.Offset() || scroller_.IsAnimating()) {
    ScrollTo(target, false);
  }
  return true;
}

// --- Pointer, scale and attachment ---

void VirtualRowsView::OnPointerEnter() { OnScrollActivity(); }

void VirtualRowsView::OnPointerLeave() {
  if (hoverRow != -1) {
    hoverRow = -1;
    InvalidateVisual();
  }
}

void VirtualRowsView::OnScaleChanged() { InvalidateVisual(); }

void VirtualRowsView::OnAttached() { UpdateScrollMetrics(); }

void VirtualRowsView::OnDetached() {
  StopScrollAnimation();
  scroller_.Jump(rows_.Offset());
}

}  // namespace Quarlo::Widget::List
