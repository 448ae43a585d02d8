// RowModel and SmoothScroller: the row arithmetic of virtualised lists and the glide of their offset.

#include "widget/list/row_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "widget/list/smooth_scroller.h"

namespace Quarlo::Widget::List {
namespace {

RowModel Model(int64_t count, double rowHeight, double viewport, double offset) {
  RowModel m;
  m.SetRowCount(count);
  m.SetRowHeight(rowHeight);
  m.SetViewport(viewport);
  m.SetOffset(offset);
  return m;
}

TEST(RowModel, StartsEmptyWithTwentyDipRows) {
  RowModel m;
  EXPECT_EQ(m.RowCount(), 0);
  EXPECT_EQ(m.RowHeight(), 20);
  EXPECT_EQ(m.FirstVisibleRow(), -1);
  EXPECT_EQ(m.VisibleRange(), (RowRange{0, 0}));
  EXPECT_EQ(m.RowAtY(0), -1);
}

TEST(RowModel, SettersKeepValuesInRange) {
  RowModel m = Model(10, 0, 5, 100);
  EXPECT_EQ(m.RowHeight(), 1);  // a height not above 0 becomes 1
  EXPECT_EQ(m.Offset(), 5);     // 10 rows of 1 in a viewport of 5
  m.SetRowHeight(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(m.RowHeight(), 1);
  m.SetRowCount(-3);
  EXPECT_EQ(m.RowCount(), 0);
  EXPECT_EQ(m.Offset(), 0);
  m.SetViewport(-1);
  EXPECT_EQ(m.Viewport(), 0);
}

TEST(RowModel, ShrinkingTheListPullsTheOffsetBack) {
  RowModel m = Model(100, 20, 200, 1800);
  EXPECT_EQ(m.Offset(), 1800);
  m.SetRowCount(50);
  EXPECT_EQ(m.Offset(), 800);
  m.SetViewport(2000);
  EXPECT_EQ(m.Offset(), 0);
}

struct RangeCase {
  int64_t count;
  double offset;
  double viewport;
  int64_t first;
  RowRange visible;
  int64_t whole;
};

TEST(RowModel, VisibleRowsFollowTheOffset) {
  const RangeCase cases[] = {
      {100, 0, 200, 0, {0, 10}, 10},   // exactly ten rows
      {100, 10, 200, 0, {0, 11}, 10},  // half rows at both edges
      {100, 1800, 200, 90, {90, 100}, 10},
      {5, 0, 200, 0, {0, 5}, 10},  // fewer rows than fit
      {100, 0, 0, 0, {0, 0}, 1},   // no viewport: nothing visible, one whole row
      {100, 0, 15, 0, {0, 1}, 1},  // a viewport smaller than a row
      {100, 0, 199.9999999999, 0, {0, 10}, 10},
  };
  for (const RangeCase& c : cases) {
    RowModel m = Model(c.count, 20, c.viewport, c.offset);
    SCOPED_TRACE(testing::Message() << c.count << " rows at " << c.offset << " in " << c.viewport);
    EXPECT_EQ(m.FirstVisibleRow(), c.first);
    EXPECT_EQ(m.VisibleRange(), c.visible);
    EXPECT_EQ(m.WholeRowsInView(), c.whole);
  }
}

TEST(RowModel, OverscanWidensTheVisibleRangeWithinTheRows) {
  EXPECT_EQ(Model(100, 20, 200, 400).VisibleRange(4), (RowRange{16, 34}));
  EXPECT_EQ(Model(100, 20, 200, 0).VisibleRange(4), (RowRange{0, 14}));
  EXPECT_EQ(Model(100, 20, 200, 1800).VisibleRange(4), (RowRange{86, 100}));
  EXPECT_EQ(Model(0, 20, 200, 0).VisibleRange(4), (RowRange{0, 0}));
}

TEST(RowModel, RowAtYCountsFromTheOffset) {
  RowModel m = Model(12, 20, 200, 30);
  EXPECT_EQ(m.RowAtY(0), 1);
  EXPECT_EQ(m.RowAtY(9.9), 1);
  EXPECT_EQ(m.RowAtY(10), 2);
  EXPECT_EQ(m.RowAtY(-0.1), -1);
  EXPECT_EQ(m.RowAtY(200), -1);  // the viewport's bottom edge is outside
  EXPECT_EQ(m.RowAtY(199), 11);
  // Below the last row but inside the viewport.
  EXPECT_EQ(Model(3, 20, 200, 0).RowAtY(100), -1);
  EXPECT_EQ(m.RowAtY(std::numeric_limits<double>::quiet_NaN()), -1);
}

TEST(RowModel, PrecisionHoldsAtTheEndOfAHugeList) {
  RowModel m = Model(100'000'000, 32, 320, 1e12);
  EXPECT_EQ(m.Offset(), 100'000'000.0 * 32 - 320);
  EXPECT_EQ(m.VisibleRange(), (RowRange{99'999'990, 100'000'000}));
  EXPECT_EQ(m.RowAtY(319), 99'999'999);
}

struct TargetCase {
  int64_t row;
  ScrollAlignment alignment;
  double from;
  double target;
};

TEST(RowModel, TargetOffsetAlignsTheRow) {
  // 100 rows of 20 in a viewport of 100: offsets 0 to 1900.
  RowModel m = Model(100, 20, 100, 0);
  const TargetCase cases[] = {
      {10, ScrollAlignment::Top, 0, 200},
      {10, ScrollAlignment::Bottom, 0, 120},
      {10, ScrollAlignment::Center, 0, 160},
      {10, ScrollAlignment::Nearest, 150, 150},  // wholly inside: stays
      {10, ScrollAlignment::Nearest, 121, 121},  // just inside at the bottom: stays
      {10, ScrollAlignment::Nearest, 119, 120},  // cut at the bottom: its end to the bottom edge
      {10, ScrollAlignment::Nearest, 210, 200},  // cut at the top: its top to the top edge
      {10, ScrollAlignment::Nearest, 300, 200},  // above the viewport
      {10, ScrollAlignment::Nearest, 0, 120},    // below the viewport
      {0, ScrollAlignment::Bottom, 500, 0},      // clamped at 0
      {99, ScrollAlignment::Top, 0, 1900},       // clamped at the end
      {-5, ScrollAlignment::Top, 700, 0},        // rows clamp into the list
      {500, ScrollAlignment::Top, 0, 1900},
  };
  for (const TargetCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << c.row << " alignment " << static_cast<int>(c.alignment)
                                    << " from " << c.from);
    EXPECT_DOUBLE_EQ(m.TargetOffset(c.row, c.alignment, c.from), c.target);
  }
}

TEST(SmoothScroller, ClosesTheGapExponentiallyAndSnaps) {
  SmoothScroller s;
  s.SetMax(1000);
  s.AnimateTo(100, 0);
  EXPECT_TRUE(s.IsAnimating());
  EXPECT_EQ(s.Tick(0), 0);  // no time passed
  EXPECT_NEAR(s.Tick(70), 100 * (1 - std::exp(-1.0)), 1e-9);
  EXPECT_NEAR(s.Tick(140), 100 * (1 - std::exp(-2.0)), 1e-9);
  // Within 0.25 of the target it lands there: 100 × e^(-t/70) ≤ 0.25 from t ≈ 419 ms.
  EXPECT_LT(s.Tick(418), 100);
  EXPECT_TRUE(s.IsAnimating());
  EXPECT_EQ(s.Tick(420), 100);
  EXPECT_FALSE(s.IsAnimating());
}

TEST(SmoothScroller, TimeGoingBackwardsDoesNotMoveIt) {
  SmoothScroller s;
  s.SetMax(1000);
  s.AnimateTo(100, 1000);
  double at = s.Tick(1070);
  EXPECT_EQ(s.Tick(900), at);
  // The time base stays at the latest time seen.
  EXPECT_NEAR(s.Tick(1140), 100 * (1 - std::exp(-2.0)), 1e-9);
}

TEST(SmoothScroller, NotchesDuringAGlideAddToItsTarget) {
  SmoothScroller s;
  s.SetMax(1000);
  s.AnimateBy(96, 0);
  s.Tick(35);
  s.AnimateBy(96, 35);
  EXPECT_EQ(s.Target(), 192);
  s.AnimateBy(-300, 40);
  EXPECT_EQ(s.Target(), 0);  // clamped
  // Redirecting a glide keeps its time base (the last tick at 35 ms, not the redirection at 40 ms).
  double before = s.Current();
  EXPECT_NEAR(s.Tick(110), before * std::exp(-75.0 / 70), 1e-9);
}

TEST(SmoothScroller, JumpsAndRangeChangesClamp) {
  SmoothScroller s;
  s.SetMax(500);
  s.Jump(800);
  EXPECT_EQ(s.Current(), 500);
  s.JumpBy(-600);
  EXPECT_EQ(s.Current(), 0);
  s.AnimateTo(400, 0);
  s.SetMax(300);
  EXPECT_EQ(s.Target(), 300);
  EXPECT_TRUE(s.IsAnimating());
  s.Jump(200);
  EXPECT_FALSE(s.IsAnimating());
  s.SetMax(-5);
  EXPECT_EQ(s.Max(), 0);
  EXPECT_EQ(s.Current(), 0);
  EXPECT_EQ(s.Target(), 0);
  // A glide to where it already is does not start.
  s.AnimateTo(0, 10);
  EXPECT_FALSE(s.IsAnimating());
}

}  // namespace
}  // namespace Quarlo::Widget::List
