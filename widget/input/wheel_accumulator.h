#pragma once
// Turns smooth-scroll deltas (touchpads, high-resolution wheels) into wheel steps as a Windows wheel
// reports them: whole units of 1/120 notch. The part of a delta below one unit is kept and added to the
// next delta, so slow, steady scrolling moves as far as fast scrolling over the same distance.

namespace Quarlo::Widget::Input {

inline constexpr int kWheelUnitsPerNotch = 120;

// Deltas in notches, as WheelEvent carries them.
struct WheelStep {
  float deltaX = 0;      // positive to the right
  float deltaY = 0;      // positive away from the user
  bool precise = false;  // a moving axis moved by less than one notch
  bool IsEmpty() const { return deltaX == 0 && deltaY == 0; }
};

class WheelAccumulator {
 public:
  // Called with each smooth-scroll delta, in notches with the toolkit's signs; an empty step means the
  // delta is still below one unit and nothing should be sent. Non-finite deltas are ignored.
  WheelStep Add(double deltaX, double deltaY);
  // Called when a scroll gesture ends (or the pointer leaves): the next gesture starts from nothing.
  void Reset();

 private:
  double remainderX_ = 0;  // units, below one in magnitude
  double remainderY_ = 0;
};

}  // namespace Quarlo::Widget::Input
