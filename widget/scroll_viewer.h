#pragma once
// A viewport onto one child larger than itself. It scrolls by the wheel, by accessibility commands,
// by focus moving to a hidden descendant and by dragging the overlay indicators it draws along its
// right and bottom edges.

#include <cstdint>
#include <functional>

#include "widget/widget.h"

namespace Quarlo::Widget {

// Disabled: no scrolling on the axis (the child gets the viewport's length). Hidden: scrolls, no indicator.
enum class ScrollMode : int32_t { Enabled = 0, Disabled = 1, Hidden = 2 };

class ScrollViewer : public Widget {
 public:
  ScrollViewer();

  // Scrolls the content so that (x, y) of it is at the viewport's top-left, within the scroll range.
  void ScrollTo(float x, float y);
  Point Offset() const { return {offsetX, offsetY}; }
  Size Extent() const { return extent; }
  Size Viewport() const { return viewport; }
  // An axis scrolls when its mode allows it and the content is longer than the viewport.
  bool CanScrollHorizontally() const;
  bool CanScrollVertically() const;
  // Where the indicators are drawn (empty when an axis has none); the grab areas extend them.
  Rect VerticalIndicator() const;
  Rect HorizontalIndicator() const;

  Widget* HitTest(Point local) override;
  bool IsAccessibilityElement() const override;
  ScrollInfo Scroll() const override;
  bool ScrollBy(ScrollAmount horizontal, ScrollAmount vertical) override;
  bool SetScrollPercent(double horizontal, double vertical) override;
  const char* ClassName() const override;
  bool OnPointerDown(const PointerEvent& event) override;
  bool OnPointerUp(const PointerEvent& event) override;
  bool OnPointerMove(const PointerEvent& event) override;
  void OnPointerLeave() override;
  void OnCaptureLost() override;
  bool OnWheel(const WheelEvent& event) override;
  Size MeasureOverride(Size available) override;
  void ArrangeOverride(Size final) override;
  void PaintOverlay(Canvas& canvas) override;
  void OnDescendantFocused(Widget* descendant) override;
  bool IsHitTestVisible() const override;

  // Plain fields; a mode change is followed by InvalidateMeasure.
  ScrollMode verticalMode = ScrollMode::Enabled;
  ScrollMode horizontalMode = ScrollMode::Disabled;
  float scrollStep = 48;  // wheel notch and small step
  std::function<void()> onScrollChanged;

 private:
  enum class Drag : int32_t { None = 0, Vertical = 1, Horizontal = 2 };

  Widget* Content() const;
  float MaxOffsetX() const;
  float MaxOffsetY() const;
  void ArrangeContent();
  Rect IndicatorRect(bool vertical, bool wide) const;
  Rect GrabArea(bool vertical) const;
  void SetNearIndicator(bool near);

  float offsetX = 0;
  float offsetY = 0;
  Size extent;
  Size viewport;
  Drag dragging = Drag::None;
  float dragOffset = 0;
  bool nearIndicator = false;
};

}  // namespace Quarlo::Widget
