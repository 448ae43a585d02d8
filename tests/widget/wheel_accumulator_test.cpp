// Smooth-scroll deltas become wheel steps in whole 1/120-notch units, keeping what is left over.

#include "widget/input/wheel_accumulator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace Quarlo::Widget::Input {
namespace {

constexpr float kUnit = 1.0f / kWheelUnitsPerNotch;

TEST(WheelAccumulator, WholeNotchesPassUnchanged) {
  WheelAccumulator wheel;
  const WheelStep down = wheel.Add(0, -1);
  EXPECT_FLOAT_EQ(down.deltaY, -1);
  EXPECT_EQ(down.deltaX, 0);
  EXPECT_FALSE(down.precise);
  const WheelStep two = wheel.Add(2, 0);
  EXPECT_FLOAT_EQ(two.deltaX, 2);
  EXPECT_FALSE(two.precise);
}

TEST(WheelAccumulator, SmallDeltasArePreciseStepsOfWholeUnits) {
  WheelAccumulator wheel;
  // An eighth of a notch (high-resolution wheel) is 15 units.
  const WheelStep eighth = wheel.Add(0, 0.125);
  EXPECT_FLOAT_EQ(eighth.deltaY, 15 * kUnit);
  EXPECT_TRUE(eighth.precise);
  // 0.7 of a notch is 84 units, although 0.7 × 120 is not exact in binary.
  EXPECT_FLOAT_EQ(wheel.Add(0, 0.7).deltaY, 84 * kUnit);
}

TEST(WheelAccumulator, RemaindersAddUpOverManySmallDeltas) {
  WheelAccumulator wheel;
  // A slow touchpad: 0.3 unit per event gives nothing at first, then single units, and in total exactly
  // what the deltas add up to.
  EXPECT_TRUE(wheel.Add(0, 0.3 / kWheelUnitsPerNotch).IsEmpty());
  EXPECT_TRUE(wheel.Add(0, 0.3 / kWheelUnitsPerNotch).IsEmpty());
  double sent = 0;
  for (int i = 0; i < 398; ++i) sent += wheel.Add(0, 0.3 / kWheelUnitsPerNotch).deltaY;
  EXPECT_NEAR(sent, 120 * kUnit, 1e-5);  // 400 × 0.3 units = 120 units = one notch
}

TEST(WheelAccumulator, AxesKeepTheirOwnRemainder) {
  WheelAccumulator wheel;
  EXPECT_TRUE(wheel.Add(0.5 / kWheelUnitsPerNotch, -0.5 / kWheelUnitsPerNotch).IsEmpty());
  const WheelStep step = wheel.Add(0.5 / kWheelUnitsPerNotch, -0.5 / kWheelUnitsPerNotch);
  EXPECT_FLOAT_EQ(step.deltaX, kUnit);
  EXPECT_FLOAT_EQ(step.deltaY, -kUnit);
}

TEST(WheelAccumulator, TurningBackOrResettingDropsTheRemainder) {
  WheelAccumulator wheel;
  EXPECT_TRUE(wheel.Add(0, 0.9 / kWheelUnitsPerNotch).IsEmpty());
  // Back the other way: the 0.9 unit left over upwards does not swallow this downward unit.
  EXPECT_FLOAT_EQ(wheel.Add(0, -1.0 / kWheelUnitsPerNotch).deltaY, -kUnit);

  EXPECT_TRUE(wheel.Add(0, 0.9 / kWheelUnitsPerNotch).IsEmpty());
  wheel.Reset();
  EXPECT_TRUE(wheel.Add(0, 0.9 / kWheelUnitsPerNotch).IsEmpty());
}

TEST(WheelAccumulator, BrokenDeltasAreIgnoredOrBounded) {
  WheelAccumulator wheel;
  EXPECT_TRUE(wheel.Add(std::numeric_limits<double>::quiet_NaN(), 1).IsEmpty());
  EXPECT_TRUE(wheel.Add(0, std::numeric_limits<double>::infinity()).IsEmpty());
  // Nothing was kept from the ignored events.
  EXPECT_FLOAT_EQ(wheel.Add(0, 1).deltaY, 1);
  const WheelStep huge = wheel.Add(0, 1e300);
  EXPECT_TRUE(std::isfinite(huge.deltaY));
  EXPECT_GT(huge.deltaY, 0);
}

}  // namespace
}  // namespace Quarlo::Widget::Input
