// ScrollViewer: scroll range, offsets, the wheel, focus-driven scrolling and the overlay indicators.

#include "widget/scroll_viewer.h"

#include <algorithm>
#include <cmath>

#include "widget/canvas.h"
#include "widget/input/events.h"
#include "widget/theme.h"

namespace Quarlo::Widget {

namespace {

// An axis scrolls only when the content is longer than the viewport by more than this.
constexpr float kScrollSlack = 0.5f;
constexpr float kMinimumIndicatorLength = 24;
constexpr float kWideInset = 8;  // the wide indicator's distance from the edge
constexpr float kWideThickness = 6;
constexpr float kThinInset = 4;
constexpr float kThinThickness = 2;
constexpr float kGrabDepth = 12;  // the last DIPs of the viewport where the indicator can be grabbed
constexpr float kIndicatorAlpha = 0.7f;

// How far to scroll along one axis to show a focused descendant at distance d with length s.
float RevealDistance(float d, float s, float viewportLength) {
  if (d >= 0 && s <= viewportLength) {
    return std::max(0.0f, d + s - viewportLength);
  }
  return d;  // larger than the viewport: bring its near edge in; above it: scroll back to it
}

}  // namespace

ScrollViewer::ScrollViewer() {
  SetClipToBounds(true);
  tabStop = false;
}

Widget* ScrollViewer::Content() const { return Children().empty() ? nullptr : Children().front().get(); }

bool ScrollViewer::CanScrollHorizontally() const {
  return horizontalMode != ScrollMode::Disabled && extent.width - viewport.width > kScrollSlack;
}

bool ScrollViewer::CanScrollVertically() const {
  return verticalMode != ScrollMode::Disabled && extent.height - viewport.height > kScrollSlack;
}

float ScrollViewer::MaxOffsetX() const {
  return horizontalMode == ScrollMode::Disabled ? 0 : std::max(extent.width - viewport.width, 0.0f);
}

float ScrollViewer::MaxOffsetY() const {
  return verticalMode == ScrollMode::Disabled ? 0 : std::max(extent.height - viewport.height, 0.0f);
}

Size ScrollViewer::MeasureOverride(Size available) {
  Widget* content = Content();
  if (!content) {
    extent = Size{};
    return Size{};
  }
  Size constraint{horizontalMode == ScrollMode::Disabled ? available.width : kUnbounded,
                  verticalMode == ScrollMode::Disabled ? available.height : kUnbounded};
  extent = content->Measure(constraint);
  return Size{std::min(available.width, extent.width), std::min(available.height, extent.height)};
}

void ScrollViewer::ArrangeOverride(Size final) {
  viewport = final;
  offsetX = std::clamp(offsetX, 0.0f, MaxOffsetX());
  offsetY = std::clamp(offsetY, 0.0f, MaxOffsetY());
  ArrangeContent();
}

void ScrollViewer::ArrangeContent() {
  if (Widget* content = Content()) {
    float w =
        horizontalMode != ScrollMode::Disabled ? std::max(viewport.width, extent.width) : viewport.width;
    float h =
        verticalMode != ScrollMode::Disabled ? std::max(viewport.height, extent.height) : viewport.height;
    content->Arrange(Rect{-offsetX, -offsetY, w, h});
  }
}

void ScrollViewer::ScrollTo(float x, float y) {
  // A NaN request (a degenerate drag or percentage) keeps the current offset.
  x = std::isnan(x) ? offsetX : std::clamp(x, 0.0f, MaxOffsetX());
  y = std::isnan(y) ? offsetY : std::clamp(y, 0.0f, MaxOffsetY());
  if (x == offsetX && y == offsetY) {
    return;
  }
  offsetX = x;
  offsetY = y;
  ArrangeContent();
  InvalidateVisual();
  if (onScrollChanged) {
    onScrollChanged();
  }
  RaiseAutomationEvent(AutomationEvent::ScrollChanged);
}

// --- Accessibility ---

bool ScrollViewer::IsAccessibilityElement() const { return CanScrollHorizontally() || CanScrollVertically(); }

ScrollInfo ScrollViewer::Scroll() const {
  ScrollInfo info;
  info.supported = true;
  if (CanScrollHorizontally()) {
    info.horizontalPercent = offsetX * 100.0 / (extent.width - viewport.width);
    info.horizontalViewSize = viewport.width * 100.0 / extent.width;
  }
  if (CanScrollVertically()) {
    info.verticalPercent = offsetY * 100.0 / (extent.height - viewport.height);
    info.verticalViewSize = viewport.height * 100.0 / extent.height;
  }
  return info;
}

bool ScrollViewer::ScrollBy(ScrollAmount horizontal, ScrollAmount vertical) {
  float x =
      offsetX +
      (CanScrollHorizontally() ? static_cast<float>(ScrollDelta(horizontal, viewport.width, scrollStep)) : 0);
  float y =
      offsetY +
      (CanScrollVertically() ? static_cast<float>(ScrollDelta(vertical, viewport.height, scrollStep)) : 0);
  ScrollTo(x, y);
  return true;
}

bool ScrollViewer::SetScrollPercent(double horizontal, double vertical) {
  float x = offsetX;
  float y = offsetY;
  if (horizontal >= 0 && CanScrollHorizontally()) {
    x = static_cast<float>((extent.width - viewport.width) * horizontal / 100.0);
  }
  if (vertical >= 0 && CanScrollVertically()) {
    y = static_cast<float>((extent.height - viewport.height) * vertical / 100.0);
  }
  ScrollTo(x, y);
  return true;
}

const char* ScrollViewer::ClassName() const { return "ScrollViewer"; }

bool ScrollViewer::IsHitTestVisible() const { return false; }

// --- Focus ---

void ScrollViewer::OnDescendantFocused(Widget* descendant) {
  if (!IsAncestorOf(descendant)) {
    return;
  }
  Point at = descendant->LocalToWindow({0, 0});
  Point origin = LocalToWindow({0, 0});
  Size size = descendant->ActualSize();
  float dx = RevealDistance(at.x - origin.x, size.width, viewport.width);
  float dy = RevealDistance(at.y - origin.y, size.height, viewport.height);
  if (dx != 0 || dy != 0) {
    ScrollTo(offsetX + dx, offsetY + dy);
  }
}

// --- Wheel ---

bool ScrollViewer::OnWheel(const WheelEvent& event) {
  float dy = -event.deltaY * scrollStep;
  float dx = event.deltaX * scrollStep;
  if ((event.modifiers & Modifier::Shift) && dx == 0 && CanScrollHorizontally()) {
    dx = dy;
    dy = 0;
  }
  float x = offsetX + (CanScrollHorizontally() ? dx : 0);
  float y = offsetY + (CanScrollVertically() ? dy : 0);
  Point before = Offset();
  ScrollTo(x, y);
  return Offset() != before;
}

// --- Indicators ---

Rect ScrollViewer::IndicatorRect(bool vertical, bool wide) const {
  float viewLength = vertical ? viewport.height : viewport.width;
  float extentLength = vertical ? extent.height : extent.width;
  float offset = vertical ? offsetY : offsetX;
  float length = std::max(viewLength * viewLength / extentLength, kMinimumIndicatorLength);
  float start = (viewLength - length) * offset / (extentLength - viewLength);
  float across = vertical ? viewport.width : viewport.height;
  float inset = wide ? kWideInset : kThinInset;
  float thickness = wide ? kWideThickness : kThinThickness;
  if (vertical) {
    return Rect{across - inset, start, thickness, length};
  }
  return Rect{start, across - inset, length, thickness};
}

Rect ScrollViewer::VerticalIndicator() const {
  if (verticalMode == ScrollMode::Hidden || !CanScrollVertically()) {
    return {};
  }
  return IndicatorRect(true, nearIndicator || dragging != Drag::None);
}

Rect ScrollViewer::HorizontalIndicator() const {
  if (horizontalMode == ScrollMode::Hidden || !CanScrollHorizontally()) {
    return {};
  }
  return IndicatorRect(false, nearIndicator || dragging != Drag::None);
}

Rect ScrollViewer::GrabArea(bool vertical) const {
  Rect indicator = vertical ? VerticalIndicator() : HorizontalIndicator();
  if (indicator.width <= 0 || indicator.height <= 0) {
    return {};
  }
  // The wide indicator, widened by 4 DIPs towards the content and 2 beyond: the last 12 DIPs.
  if (vertical) {
    return Rect{viewport.width - kGrabDepth, indicator.y, kGrabDepth, indicator.height};
  }
  return Rect{indicator.x, viewport.height - kGrabDepth, indicator.width, kGrabDepth};
}

void ScrollViewer::PaintOverlay(Canvas& canvas) {
  Color colour = GetTheme().Get(ThemeColor::TextSecondary);
  colour.a *= kIndicatorAlpha;
  for (Rect r : {VerticalIndicator(), HorizontalIndicator()}) {
    if (r.width > 0 && r.height > 0) {
      canvas.FillRoundedRect(r, std::min(r.width, r.height) / 2, colour);
    }
  }
}

// --- Pointer ---

Widget* ScrollViewer::HitTest(Point local) {
  if (!IsVisible()) {
    return nullptr;
  }
  if (dragging != Drag::None || GrabArea(true).Contains(local) || GrabArea(false).Contains(local)) {
    return this;
  }
  return Widget::HitTest(local);
}

void ScrollViewer::SetNearIndicator(bool near) {
  if (near != nearIndicator) {
    nearIndicator = near;
    InvalidateVisual();
  }
}

bool ScrollViewer::OnPointerDown(const PointerEvent& event) {
  if (event.button != PointerButton::Left) {
    return false;
  }
  if (GrabArea(true).Contains(event.position)) {
    dragging = Drag::Vertical;
    dragOffset = event.position.y - VerticalIndicator().y;
  } else if (GrabArea(false).Contains(event.position)) {
    dragging = Drag::Horizontal;
    dragOffset = event.position.x - HorizontalIndicator().x;
  } else {
    return false;
  }
  InvalidateVisual();
  return true;
}

bool ScrollViewer::OnPointerMove(const PointerEvent& event) {
  if (dragging == Drag::None) {
    bool near = (VerticalIndicator().height > 0 && event.position.x >= viewport.width - kGrabDepth) ||
                (HorizontalIndicator().width > 0 && event.position.y >= viewport.height - kGrabDepth);
    SetNearIndicator(near);
    return false;
  }
  bool vertical = dragging == Drag::Vertical;
  Rect indicator = vertical ? VerticalIndicator() : HorizontalIndicator();
  float viewLength = vertical ? viewport.height : viewport.width;
  float travel = viewLength - (vertical ? indicator.height : indicator.width);
  if (travel <= 0) {
    return true;  // the indicator fills the viewport: nothing to drag along
  }
  float pointer = vertical ? event.position.y : event.position.x;
  float range = vertical ? extent.height - viewport.height : extent.width - viewport.width;
  float offset = (pointer - dragOffset) / travel * range;
  if (vertical) {
    ScrollTo(offsetX, offset);
  } else {
    ScrollTo(offset, offsetY);
  }
  return true;
}

bool ScrollViewer::OnPointerUp(const PointerEvent&) {
  if (dragging == Drag::None) {
    return false;
  }
  dragging = Drag::None;
  InvalidateVisual();
  return true;
}

void ScrollViewer::OnPointerLeave() { SetNearIndicator(false); }

void ScrollViewer::OnCaptureLost() {
  // A drag that loses the pointer (another window took it) must not keep claiming every hit.
  if (dragging != Drag::None) {
    dragging = Drag::None;
    InvalidateVisual();
  }
}

}  // namespace Quarlo::Widget
