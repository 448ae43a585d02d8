#include "widget/input/wheel_accumulator.h"

#include <algorithm>
#include <cmath>

namespace Quarlo::Widget::Input {
namespace {

// A broken driver's delta can be any size; no real gesture moves this far in one event.
constexpr double kMaxNotchesPerEvent = 1000;
// Deltas such as 0.7 notch are not exact in binary; a total this close to a whole unit counts as it.
constexpr double kRoundingSlack = 1e-6;

// Adds a delta in notches to the remainder (units) and returns the whole units to send; the remainder
// keeps the rest. Turning back drops what was left over in the old direction.
double TakeWholeUnits(double notches, double& remainder) {
  const double clamped = std::clamp(notches, -kMaxNotchesPerEvent, kMaxNotchesPerEvent);
  if (clamped * remainder < 0) remainder = 0;
  const double total = remainder + clamped * kWheelUnitsPerNotch;
  const double whole = std::trunc(total + std::copysign(kRoundingSlack, total));
  remainder = total - whole;
  return whole;
}

bool MovesLessThanANotch(float delta) { return delta != 0 && std::fabs(delta) < 1; }

}  // namespace

WheelStep WheelAccumulator::Add(double deltaX, double deltaY) {
  if (!std::isfinite(deltaX) || !std::isfinite(deltaY)) return {};
  WheelStep step;
  step.deltaX = static_cast<float>(TakeWholeUnits(deltaX, remainderX_) / kWheelUnitsPerNotch);
  step.deltaY = static_cast<float>(TakeWholeUnits(deltaY, remainderY_) / kWheelUnitsPerNotch);
  step.precise = MovesLessThanANotch(step.deltaX) || MovesLessThanANotch(step.deltaY);
  return step;
}

void WheelAccumulator::Reset() {
  remainderX_ = 0;
  remainderY_ = 0;
}

}  // namespace Quarlo::Widget::Input
