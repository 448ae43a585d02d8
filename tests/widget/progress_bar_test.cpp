// ProgressBar: value clamping, accessibility, the track and fill, and the indeterminate sweep's life on the
// host's animator.

#include "widget/input/progress_bar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "support/fake_host.h"
#include "widget/animator.h"
#include "widget/stack.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

using Testing::FakeHost;

// A 200 × 20 bar as the only child of the window's root.
struct Hosted {
  FakeHost host;
  Stack* root;
  ProgressBar* bar;

  Hosted() {
    host.SetClientSize({200, 20});
    root = host.SetRoot(std::make_unique<Stack>(true, 0));
    bar = root->AddChild(std::make_unique<ProgressBar>());
    bar->SetHeight(20);
    host.Paint();
  }
};

TEST(ProgressBar, ValueIsClampedAndReportedInPercent) {
  struct Case {
    double set;
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0.426, 0.426, "43%"}, {-1, 0, "0%"}, {2, 1, "100%"}, {0.005, 0.005, "1%"}, {NAN, 0, "0%"}};
  for (const Case& c : cases) {
    ProgressBar bar;
    bar.SetValue(0.5);
    bar.SetValue(c.set);
    EXPECT_DOUBLE_EQ(bar.Value(), c.value) << c.set;
    EXPECT_EQ(bar.ValueText(), c.text) << c.set;
    EXPECT_DOUBLE_EQ(bar.Range().value, c.value * 100) << c.set;
  }
  ProgressBar bar;
  bar.SetIndeterminate(true);
  EXPECT_EQ(bar.ValueText(), "");
  const RangeInfo range = bar.Range();
  EXPECT_TRUE(range.indeterminate);
  EXPECT_TRUE(range.readOnly);
  EXPECT_EQ(range.maximum, 100);
  EXPECT_EQ(bar.Role(), Role::ProgressBar);
}

TEST(ProgressBar, ValueChangesAreAnnouncedOnce) {
  Hosted h;
  h.bar->SetValue(0.3);
  h.bar->SetValue(0.3);
  h.bar->SetValue(7);
  EXPECT_EQ(h.host.CountEvents(AutomationEvent::RangeValueChanged, h.bar), 2);
}

TEST(ProgressBar, FillIsAtLeastAsWideAsItIsThickAndTakesTheTone) {
  struct Case {
    double value;
    ProgressTone tone;
    bool enabled;
    float width;  // 0: no fill
    ThemeColor color;
  };
  const Case cases[] = {
      {0, ProgressTone::Accent, true, 0, ThemeColor::Accent},
      {0.001, ProgressTone::Accent, true, 3, ThemeColor::Accent},
      {0.5, ProgressTone::Caution, true, 100, ThemeColor::Caution},
      {1, ProgressTone::Critical, true, 200, ThemeColor::Critical},
      {0.5, ProgressTone::Accent, false, 100, ThemeColor::TextDisabled},
      {0.5, static_cast<ProgressTone>(9), true, 100, ThemeColor::Accent},
  };
  for (const Case& c : cases) {
    Hosted h;
    h.bar->SetValue(c.value);
    h.bar->SetTone(c.tone);
    h.bar->SetEnabled(c.enabled);
    const auto fills = h.host.Paint().Calls("FillRoundedRect");
    ASSERT_EQ(fills.size(), c.width > 0 ? 2u : 1u) << c.value;
    EXPECT_EQ(fills[0].rect, (Rect{0, 8, 200, 3})) << "the track";
    EXPECT_EQ(fills[0].radius, 1.5f);
    if (c.width > 0) {
      EXPECT_EQ(fills[1].rect, (Rect{0, 8, c.width, 3})) << c.value;
      EXPECT_EQ(fills[1].color, h.host.GetTheme().Get(c.color)) << c.value;
    }
  }
}

TEST(ProgressBar, ThicknessSetsHeightAndTrack) {
  ProgressBar bar;
  EXPECT_EQ(bar.Measure({kUnbounded, kUnbounded}), (Size{160, 3}));
  bar.SetThickness(6);
  EXPECT_EQ(bar.Measure({300, kUnbounded}), (Size{300, 6}));
  bar.SetThickness(1);
  EXPECT_EQ(bar.Measure({300, kUnbounded}).height, 3);
  EXPECT_EQ(bar.Thickness(), 1);
}

TEST(ProgressBar, SweepStartsWithTheFirstPaintAndMovesWithTheClock) {
  Hosted h;
  h.bar->SetIndeterminate(true);
  EXPECT_FALSE(h.bar->IsSweeping());
  h.host.Paint();
  EXPECT_TRUE(h.bar->IsSweeping());
  EXPECT_EQ(h.host.GetAnimator().EntryCount(), 1u);
  h.host.Advance(0.8);  // half of the 1.6 s sweep, eased in and out: the middle
  auto fills = h.host.Paint().Calls("FillRoundedRect");
  EXPECT_FLOAT_EQ(h.bar->Phase(), 0.5f);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_FLOAT_EQ(fills[1].rect.x, (80 + 200) * 0.5f - 80);
  EXPECT_EQ(fills[1].rect.width, 80);
  EXPECT_EQ(h.host.Paint().Calls("PushRoundedClip").size(), 1u) << "the segment is clipped to the track";
  // It repeats: a whole period later it is at the same place.
  h.host.Advance(1.6);
  h.host.Paint();
  EXPECT_NEAR(h.bar->Phase(), 0.5f, 1e-4);
  EXPECT_EQ(h.host.GetAnimator().EntryCount(), 1u) << "still one entry";
}

TEST(ProgressBar, SweepEndsWhenTheBarStopsSweepingOrLeaves) {
  {
    Hosted h;
    h.bar->SetIndeterminate(true);
    h.host.Paint();
    h.bar->SetIndeterminate(false);
    EXPECT_FALSE(h.bar->IsSweeping());
    EXPECT_FALSE(h.host.GetAnimator().HasActive());
  }
  {
    Hosted h;
    h.bar->SetIndeterminate(true);
    h.host.Paint();
    h.bar->SetVisible(false);
    h.host.Advance(0.1);
    h.host.Paint();
    EXPECT_FALSE(h.bar->IsSweeping()) << "the next tick of a hidden bar cancels it";
    EXPECT_FALSE(h.host.GetAnimator().HasActive());
    h.bar->SetVisible(true);
    h.host.Paint();
    EXPECT_TRUE(h.bar->IsSweeping()) << "shown again, the next paint starts it again";
  }
  {
    Hosted h;
    h.bar->SetIndeterminate(true);
    h.host.Paint();
    std::unique_ptr<Widget> detached = h.root->RemoveChild(h.bar);
    EXPECT_FALSE(h.bar->IsSweeping());
    EXPECT_FALSE(h.host.GetAnimator().HasActive());
  }
  {
    Hosted h;
    h.bar->SetIndeterminate(true);
    h.host.Paint();
    h.root->ClearChildren();
    EXPECT_FALSE(h.host.GetAnimator().HasActive());
    h.host.Advance(0.5);
    h.host.Paint();
  }
}

}  // namespace
}  // namespace Quarlo::Widget::Input
