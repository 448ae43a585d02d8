// The animator on a hand-driven clock, and the animated members of a hosted widget.

#include "widget/animator.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "widget/host.h"
#include "widget/widget.h"

namespace Quarlo::Widget {
namespace {

struct FakeClock {
  double now = 100;
  Animator::Clock Clock() {
    return [this] { return now; };
  }
};

class AnimatorTest : public ::testing::Test {
 protected:
  FakeClock clock;
  Animator animator{clock.Clock()};
};

TEST_F(AnimatorTest, ZeroDurationFinishesAtOnceWithoutAnEntry) {
  std::vector<float> ticks;
  int done = 0;
  const int64_t id = animator.Start(
      0, 5, 0, Easing::Linear, [&](float v) { ticks.push_back(v); }, [&] { ++done; });
  EXPECT_EQ(id, 0);
  EXPECT_EQ(ticks, std::vector<float>{5});
  EXPECT_EQ(done, 1);
  EXPECT_EQ(animator.EntryCount(), 0u);
}

TEST_F(AnimatorTest, EntryRunsFromStartToEndThenFinishes) {
  int activated = 0;
  animator.SetOnActivated([&] { ++activated; });
  std::vector<float> ticks;
  int done = 0;
  const int64_t first = animator.Start(
      10, 20, 2, Easing::Linear, [&](float v) { ticks.push_back(v); }, [&] { ++done; });
  const int64_t second = animator.Start(0, 1, 5, Easing::Linear, nullptr);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(activated, 1);  // only the first entry of an empty list activates
  clock.now += 1;
  EXPECT_TRUE(animator.Tick());
  clock.now += 1.5;
  EXPECT_TRUE(animator.Tick());
  EXPECT_EQ(ticks, (std::vector<float>{15, 20}));
  EXPECT_EQ(done, 1);
  EXPECT_EQ(animator.EntryCount(), 1u);
  clock.now += 10;
  EXPECT_FALSE(animator.Tick());
  EXPECT_FALSE(animator.HasActive());
}

TEST_F(AnimatorTest, TimeBeforeTheStartCountsAsTheStart) {
  float last = -1;
  animator.Start(3, 7, 1, Easing::Linear, [&](float v) { last = v; });
  animator.Tick(clock.now - 5);
  EXPECT_EQ(last, 3);
}

TEST_F(AnimatorTest, EasingsShapeTheProgress) {
  struct Case {
    Easing easing;
    float t;
    float expected;
  };
  const Case cases[] = {
      {Easing::Linear, 0.25f, 0.25f},           {Easing::EaseOutQuad, 0.5f, 0.75f},
      {Easing::EaseOutCubic, 0.5f, 0.875f},     {Easing::EaseInOutCubic, 0.25f, 0.0625f},
      {Easing::EaseInOutCubic, 0.75f, 0.9375f}, {static_cast<Easing>(9), 0.4f, 0.4f},
      {Easing::EaseOutCubic, 1.5f, 1.0f},       {Easing::EaseOutQuad, -1.0f, 0.0f},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(Ease(c.easing, c.t), c.expected, 1e-6) << static_cast<int>(c.easing);
}

TEST_F(AnimatorTest, RepeatingEntryWrapsAndNeverFinishes) {
  float last = -1;
  int done = 0;
  const int64_t id = animator.Start(
      0, 16, 1.6, Easing::Linear, [&](float v) { last = v; }, [&] { ++done; }, true);
  for (double elapsed : {0.4, 1.6 + 0.4, 3 * 1.6 + 0.4}) {
    animator.Tick(100 + elapsed);
    EXPECT_NEAR(last, 4, 1e-3) << elapsed;
  }
  animator.Tick(100 + 1.6 * 10);
  EXPECT_NEAR(last, 0, 1e-3);
  animator.FinishAll();  // repeating entries are left running
  EXPECT_EQ(done, 0);
  EXPECT_TRUE(animator.HasActive());
  animator.Cancel(id);
  EXPECT_EQ(animator.EntryCount(), 0u);
}

TEST_F(AnimatorTest, CancelFromATickSilencesTheOtherEntry) {
  int64_t victim = 0;
  int victimCalls = 0;
  animator.Start(0, 1, 10, Easing::Linear, [&](float) { animator.Cancel(victim); });
  victim = animator.Start(
      0, 1, 10, Easing::Linear, [&](float) { ++victimCalls; }, [&] { ++victimCalls; });
  clock.now += 1;
  EXPECT_TRUE(animator.Tick());
  EXPECT_EQ(victimCalls, 0);
  EXPECT_EQ(animator.EntryCount(), 1u);  // removed once the tick ended
}

TEST_F(AnimatorTest, EntriesStartedDuringATickWaitForTheNext) {
  int inner = 0;
  animator.Start(0, 1, 10, Easing::Linear, [&](float) {
    if (animator.EntryCount() == 1) animator.Start(0, 1, 10, Easing::Linear, [&](float) { ++inner; });
  });
  animator.Tick(clock.now + 1);
  EXPECT_EQ(inner, 0);
  animator.Tick(clock.now + 2);
  EXPECT_EQ(inner, 1);
}

TEST_F(AnimatorTest, FinishAllJumpsToTheEnds) {
  float a = 0;
  float b = 0;
  int done = 0;
  animator.Start(
      0, 4, 10, Easing::Linear, [&](float v) { a = v; }, [&] { ++done; });
  animator.Start(
      0, 9, 10, Easing::Linear, [&](float v) { b = v; }, [&] { ++done; });
  animator.FinishAll();
  EXPECT_EQ(a, 4);
  EXPECT_EQ(b, 9);
  EXPECT_EQ(done, 2);
  EXPECT_EQ(animator.EntryCount(), 0u);
  animator.Cancel(0);
  animator.Cancel(12345);
}

// A widget tree on a headless host whose animator runs on the fake clock.
class AnimatedMemberTest : public ::testing::Test {
 protected:
  AnimatedMemberTest() {
    host.GetAnimator().SetClock(clock.Clock());
    widget = host.SetRoot(std::make_unique<Widget>());
  }
  FakeClock clock;
  Host host;
  Widget* widget = nullptr;
};

TEST_F(AnimatedMemberTest, ValueAnimatesOnlyWhenHostedAndDifferent) {
  AnimatedValue value(widget, 0);
  value.AnimateTo(0, 1);
  EXPECT_FALSE(value.IsAnimating());
  value.AnimateTo(10, 0);
  EXPECT_FALSE(value.IsAnimating());
  EXPECT_EQ(value.Value(), 10);
  value.AnimateTo(20, 1, Easing::Linear);
  EXPECT_TRUE(value.IsAnimating());
  host.GetAnimator().Tick(clock.now + 0.5);
  EXPECT_FLOAT_EQ(value.Value(), 15);
  host.GetAnimator().Tick(clock.now + 1);
  EXPECT_FLOAT_EQ(value.Value(), 20);
  EXPECT_FALSE(value.IsAnimating());

  Widget detached;
  AnimatedValue loose(&detached, 1);
  loose.AnimateTo(5, 1);
  EXPECT_EQ(loose.Value(), 5);
  EXPECT_FALSE(loose.IsAnimating());
}

TEST_F(AnimatedMemberTest, DestroyingAMemberCancelsItsEntry) {
  {
    AnimatedValue value(widget, 0);
    value.AnimateTo(1, 5);
    EXPECT_EQ(host.GetAnimator().EntryCount(), 1u);
  }
  EXPECT_EQ(host.GetAnimator().EntryCount(), 0u);
  host.GetAnimator().Tick(clock.now + 1);  // nothing calls into the destroyed member
}

TEST_F(AnimatedMemberTest, ColourFadesKeepTheirHueAcrossTransparency) {
  AnimatedColor color(widget);
  color.Set(Color{1, 0, 0, 0});  // transparent red ...
  color.Set(Color{0, 0, 0, 0});  // ... then transparent black: a fade-in must not pass through black
  const Color red{1, 0, 0, 1};
  color.AnimateTo(red, 1);
  for (double t : {0.1, 0.5, 0.9}) {
    host.GetAnimator().Tick(clock.now + t);
    const Color c = color.Current();
    EXPECT_FLOAT_EQ(c.r, 1) << t;
    EXPECT_FLOAT_EQ(c.g, 0) << t;
    EXPECT_GT(c.a, 0) << t;
  }
  host.GetAnimator().Tick(clock.now + 1);
  EXPECT_EQ(color.Current(), red);

  clock.now += 2;
  color.AnimateTo(Color{0, 0, 0, 0}, 1);
  host.GetAnimator().Tick(clock.now + 0.5);
  EXPECT_FLOAT_EQ(color.Current().r, 1);
  EXPECT_LT(color.Current().a, 1);
  EXPECT_GT(color.Current().a, 0);
}

TEST_F(AnimatedMemberTest, ColourRetargetStartsFromThePresentColour) {
  AnimatedColor color(widget);
  color.Set(Color{0, 0, 0, 1});
  color.AnimateTo(Color{1, 1, 1, 1}, 1);
  host.GetAnimator().Tick(clock.now + 1);  // ease-out cubic at 1: white
  clock.now += 1;
  color.AnimateTo(Color{0, 0, 1, 1}, 1);
  color.AnimateTo(Color{0, 0, 1, 1}, 1);  // the same target again changes nothing
  EXPECT_EQ(host.GetAnimator().EntryCount(), 1u);
  EXPECT_EQ(color.Current(), (Color{1, 1, 1, 1}));
  host.GetAnimator().Tick(clock.now + 0.5);  // eased 0.875 of the way
  EXPECT_NEAR(color.Current().r, 0.125, 1e-5);
  EXPECT_NEAR(color.Current().b, 1, 1e-5);
}

}  // namespace
}  // namespace Quarlo::Widget
