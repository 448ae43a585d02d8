#pragma once
// An overlay scroll bar: a thin thumb that fades in while its owner scrolls and out after a second of
// rest, and widens into a full bar with a track while the pointer is over it. It drags with the pointer,
// pages on track presses (repeating while held), steps by arrow keys and the wheel, and reports user
// changes through onScroll. A bar with nothing to scroll draws nothing and lets the pointer through.

#include <cstdint>
#include <functional>

#include "widget/animator.h"
#include "widget/widget.h"

namespace Quarlo::Widget::List {

enum class ScrollOrientation : int32_t { Horizontal = 0, Vertical = 1 };

class ScrollBar : public Widget {
 public:
  // What lies under a point along the bar.
  enum class Part : int32_t {
    None = 0,
    LineBack = 1,
    LineForward = 2,
    PageBack = 3,
    PageForward = 4,
    Thumb = 5
  };

  // The thickness the bar asks for across its orientation, and the arrow squares at its ends.
  static constexpr float kThickness = 12;
  static constexpr float kArrowLength = 12;

  explicit ScrollBar(ScrollOrientation orientation);
  ~ScrollBar() override;

  // The owner sets the content length and the visible length (each at least 0); the value is clamped
  // again without a notification.
  void SetRange(double extent, double viewport);
  // Clamps; when the value changed, repaints and calls onScroll.
  void SetValue(double value);
  // The owner scrolled by itself: clamps, and when the value changed reveals the bar, without onScroll.
  void SetValueSilently(double value);
  void SetAutoHide(bool autoHide);

  ScrollOrientation GetOrientation() const { return orientation_; }
  double Extent() const { return extent_; }
  double ViewportLength() const { return viewport_; }
  double Value() const { return value_; }
  double MaxValue() const;
  bool IsScrollable() const { return viewport_ > 0 && viewport_ < extent_; }
  bool AutoHides() const { return autoHide_; }
  bool IsDragging() const { return dragging_; }
  float Expansion() const { return expand_.Value(); }
  float Visibility() const { return fade_.Value(); }

  // Geometry in local DIPs: the track along the bar (without the arrow squares), the thumb (empty when
  // there is none) and the part at a local point.
  double TrackLength() const;
  Rect ThumbRect() const;
  Part PartAt(Point local) const;

  Widget* HitTest(Point local) override;
  bool IsFocusable() const override;
  bool IsTabStop() const override;
  Quarlo::Widget::Role Role() const override;
  std::string AccessibleName() const override;
  RangeInfo Range() const override;
  const char* ClassName() const override;
  bool OnPointerDown(const PointerEvent& event) override;
  bool OnPointerUp(const PointerEvent& event) override;
  bool OnPointerMove(const PointerEvent& event) override;
  void OnPointerEnter() override;
  void OnPointerLeave() override;
  void OnCaptureLost() override;
  void OnDetached() override;
  bool OnWheel(const WheelEvent& event) override;
  bool OnKeyDown(const KeyEvent& event) override;
  Size MeasureOverride(Size available) override;
  void Paint(Canvas& canvas) override;
  void OnVisualStateChanged() override;
  void OnThemeChanged() override;

  // Fades the thin thumb in and restarts the hide timer (auto-hiding bars with something to scroll only).
  void Reveal();

  // Plain fields the owner sets.
  double smallStep = 16;    // arrows, arrow keys and a third of a wheel notch
  double largeStep = 0;     // page step; 0 pages by the viewport
  bool showArrows = false;  // reserve kArrowLength at each end for arrow buttons
  std::function<void(double value)> onScroll;

 private:
  struct ThumbSpan {
    double start = 0;
    double length = 0;
  };

  // Clamps and stores the value and repaints; false when it did not change (or is NaN).
  bool StoreValue(double value);
  bool Vertical() const { return orientation_ == ScrollOrientation::Vertical; }
  double Length() const;
  double Along(Point p) const { return Vertical() ? p.y : p.x; }
  // False when there is no thumb (nothing to scroll, or no track).
  bool Thumb(ThumbSpan& span) const;
  double PageStep() const;
  void PerformPart(Part part);
  void StartRepeat(Part part);
  void StopRepeat();
  // Animates the thumb's opacity, unless it is already heading there.
  void FadeTo(float target, double seconds);
  void ArmHideTimer();
  void OnHideTimer();
  bool WantsExpanded() const;
  void AnimateExpand();
  void EndPress();

  ScrollOrientation orientation_;
  double extent_ = 0;
  double viewport_ = 0;
  double value_ = 0;
  AnimatedValue expand_{this, 0};
  AnimatedValue fade_{this, 1};
  float fadeTarget_ = 1;
  bool autoHide_ = false;
  uint64_t hideTimerId_ = 0;
  Part hoverPart_ = Part::None;
  Part pressedPart_ = Part::None;
  bool dragging_ = false;
  bool pointerInside_ = false;
  float dragOffset_ = 0;
  Point lastPointer_;
  uint64_t repeatTimerId_ = 0;
  int repeatTicks_ = 0;
};

}  // namespace Quarlo::Widget::List
