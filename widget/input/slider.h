#pragma once
// A slider: a thumb on a track chooses a value in a range, snapped to the small step when one is set.
// Pointer presses jump the thumb to the pointer (or grab it where it is) and drag it under capture; arrow
// keys, Page Up/Down, Home and End and the wheel step it.

#include <cstdint>
#include <functional>
#include <string>

#include "widget/animator.h"
#include "widget/input/control_orientation.h"
#include "widget/widget.h"

namespace Quarlo::Widget::Input {

class Slider : public Widget {
 public:
  explicit Slider(ControlOrientation orientation = ControlOrientation::Horizontal);

  // Clamps to the range, snaps to the small step when it is above 0, and tells accessibility and
  // onValueChanged when the value changed.
  void SetValue(double value);
  // The maximum is at least the minimum; the value is clamped and snapped again.
  void SetRange(double minimum, double maximum);

  double Value() const { return value_; }
  double Minimum() const { return minimum_; }
  double Maximum() const { return maximum_; }
  ControlOrientation GetOrientation() const { return orientation_; }
  // The steps in use: the fields when above 0, else a hundredth and a tenth of the range.
  double EffectiveSmallChange() const;
  double EffectiveLargeChange() const;
  bool IsDragging() const { return dragging_; }
  // The thumb's centre in local coordinates.
  Point ThumbCentre() const;
  // The value the slider takes for a pointer at this local point (drag offset included).
  double ValueAt(Point local) const;

  bool IsFocusable() const override;
  int32_t Orientation() const override;
  RangeInfo Range() const override;
  bool SetRangeValue(double value) override;
  std::string ValueText() const override;
  const char* ClassName() const override;
  bool OnPointerDown(const PointerEvent& event) override;
  bool OnPointerMove(const PointerEvent& event) override;
  bool OnPointerUp(const PointerEvent& event) override;
  void OnCaptureLost() override;
  bool OnKeyDown(const KeyEvent& event) override;
  bool OnWheel(const WheelEvent& event) override;
  void OnVisualStateChanged() override;
  void OnFocusChanged(bool focused) override;
  Size MeasureOverride(Size available) override;
  void Paint(Canvas& canvas) override;
  void PaintOverlay(Canvas& canvas) override;

  // Arrow-key and wheel step, and the snapping step when above 0 (0: a hundredth of the range, no snapping).
  double smallChange = 0;
  // Page Up/Down step (0: a tenth of the range).
  double largeChange = 0;
  // Runs with the new value whenever it changes.
  std::function<void(double)> onValueChanged;

 private:
  bool Vertical() const { return orientation_ == ControlOrientation::Vertical; }
  // The value clamped to the range and snapped to the small step.
  double Snap(double value) const;
  // The track's length the thumb centre travels.
  float TravelLength() const;
  // The thumb's 20 × 20 square in local coordinates.
  Rect ThumbRect() const;
  void AnimateThumb();
  void PaintTrack(Canvas& canvas, const Theme& theme, bool enabled);
  void PaintThumb(Canvas& canvas, const Theme& theme, bool enabled);

  ControlOrientation orientation_;
  double minimum_ = 0;
  double maximum_ = 100;
  double value_ = 0;
  bool dragging_ = false;
  float dragOffset_ = 0;
  // 0 at rest, 1 hovered, 2 pressed: the inner dot grows while hovered and shrinks while pressed.
  AnimatedValue thumbState_{this, 0};
};

}  // namespace Quarlo::Widget::Input
