// The layout protocol of a single widget: how fixed sizes, limits, margins and alignment turn a
// constraint into a desired size and a slot into a position and size, and when the caches hold.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

#include "support/test_widgets.h"
#include "widget/widget.h"

namespace Quarlo::Widget {
namespace {

using Testing::MakeProbe;
using Testing::Probe;

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

struct MeasureCase {
  const char* what;
  Size content;
  float width, height;
  Size minSize, maxSize;
  Thickness margin;
  Size available;
  Size expectedDesired;
  Size expectedOffered;  // what MeasureOverride was given
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const MeasureCase& c, std::ostream* os) { *os << c.what; }

class MeasureTest : public testing::TestWithParam<MeasureCase> {};

TEST_P(MeasureTest, DesiredSizeAndOfferedConstraint) {
  const MeasureCase& c = GetParam();
  Probe probe(c.content);
  probe.SetWidth(c.width);
  probe.SetHeight(c.height);
  probe.SetMinSize(c.minSize);
  probe.SetMaxSize(c.maxSize);
  probe.SetMargin(c.margin.left, c.margin.top, c.margin.right, c.margin.bottom);

  EXPECT_EQ(probe.Measure(c.available), c.expectedDesired) << c.what;
  ASSERT_EQ(probe.offered.size(), 1u) << c.what;
  EXPECT_EQ(probe.offered[0], c.expectedOffered) << c.what;
}

const Size kNoMax{kUnbounded, kUnbounded};

INSTANTIATE_TEST_SUITE_P(Cases, MeasureTest,
                         testing::Values(MeasureCase{"content size plus margins",
                                                     {30, 20},
                                                     NaN,
                                                     NaN,
                                                     {},
                                                     kNoMax,
                                                     {1, 2, 3, 4},
                                                     {200, 100},
                                                     {34, 26},
                                                     {196, 94}},
                                         MeasureCase{"margins never leave a negative constraint",
                                                     {5, 5},
                                                     NaN,
                                                     NaN,
                                                     {},
                                                     kNoMax,
                                                     {10, 10, 10, 10},
                                                     {15, 8},
                                                     {25, 25},
                                                     {0, 0}},
                                         MeasureCase{"content larger than the constraint is reported as is",
                                                     {300, 50},
                                                     NaN,
                                                     NaN,
                                                     {},
                                                     kNoMax,
                                                     {},
                                                     {100, 100},
                                                     {300, 50},
                                                     {100, 100}},
                                         MeasureCase{"fixed width is reported unclamped by its minimum",
                                                     {10, 10},
                                                     100,
                                                     NaN,
                                                     {150, 0},
                                                     kNoMax,
                                                     {5, 0, 5, 0},
                                                     {400, 400},
                                                     {110, 10},
                                                     {150, 400}},
                                         MeasureCase{"minimum wins over a smaller maximum",
                                                     {20, 10},
                                                     NaN,
                                                     NaN,
                                                     {80, 0},
                                                     {50, kUnbounded},
                                                     {},
                                                     {400, 400},
                                                     {80, 10},
                                                     {80, 400}},
                                         MeasureCase{"maximum limits content",
                                                     {500, 500},
                                                     NaN,
                                                     NaN,
                                                     {},
                                                     {120, 60},
                                                     {},
                                                     {400, 400},
                                                     {120, 60},
                                                     {120, 60}},
                                         MeasureCase{"fixed height replaces the constraint",
                                                     {10, 300},
                                                     NaN,
                                                     40,
                                                     {},
                                                     kNoMax,
                                                     {},
                                                     {100, 100},
                                                     {10, 40},
                                                     {100, 40}},
                                         MeasureCase{"unbounded constraint passes through",
                                                     {10, 10},
                                                     NaN,
                                                     NaN,
                                                     {},
                                                     kNoMax,
                                                     {2, 2, 2, 2},
                                                     {kUnbounded, kUnbounded},
                                                     {14, 14},
                                                     {kUnbounded, kUnbounded}}));

struct ArrangeCase {
  const char* what;
  Size content;
  float width;
  Size minSize, maxSize;
  Thickness margin;
  Alignment horizontal;
  Rect slot;
  Point expectedPosition;
  Size expectedSize;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const ArrangeCase& c, std::ostream* os) { *os << c.what; }

class ArrangeTest : public testing::TestWithParam<ArrangeCase> {};

TEST_P(ArrangeTest, PositionAndSize) {
  const ArrangeCase& c = GetParam();
  Probe probe(c.content);
  probe.SetWidth(c.width);
  probe.SetMinSize(c.minSize);
  probe.SetMaxSize(c.maxSize);
  probe.SetMargin(c.margin.left, c.margin.top, c.margin.right, c.margin.bottom);
  probe.SetHorizontalAlignment(c.horizontal);
  probe.SetVerticalAlignment(Alignment::Start);

  probe.Measure(Size{c.slot.width, c.slot.height});
  probe.Arrange(c.slot);
  EXPECT_EQ(probe.Position(), c.expectedPosition) << c.what;
  EXPECT_EQ(probe.ActualSize(), c.expectedSize) << c.what;
  ASSERT_EQ(probe.arranged.size(), 1u) << c.what;
  EXPECT_EQ(probe.arranged[0], c.expectedSize) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArrangeTest,
    testing::Values(
        ArrangeCase{"stretch fills the slot inside the margins",
                    {40, 20},
                    NaN,
                    {},
                    kNoMax,
                    {3, 4, 5, 6},
                    Alignment::Stretch,
                    {10, 10, 100, 50},
                    {13, 14},
                    {92, 20}},
        ArrangeCase{
            "centre", {40, 20}, NaN, {}, kNoMax, {}, Alignment::Center, {10, 0, 100, 50}, {40, 0}, {40, 20}},
        ArrangeCase{"end",
                    {40, 20},
                    NaN,
                    {},
                    kNoMax,
                    {0, 0, 5, 0},
                    Alignment::End,
                    {10, 0, 100, 50},
                    {65, 0},
                    {40, 20}},
        ArrangeCase{"start",
                    {40, 20},
                    NaN,
                    {},
                    kNoMax,
                    {2, 0, 0, 0},
                    Alignment::Start,
                    {10, 0, 100, 50},
                    {12, 0},
                    {40, 20}},
        ArrangeCase{"stretch narrowed by its maximum stays at the start",
                    {40, 20},
                    NaN,
                    {},
                    {50, kUnbounded},
                    {3, 0, 0, 0},
                    Alignment::Stretch,
                    {10, 0, 100, 50},
                    {13, 0},
                    {50, 20}},
        ArrangeCase{"fixed width below its minimum is arranged at the minimum",
                    {10, 10},
                    100,
                    {150, 0},
                    kNoMax,
                    {},
                    Alignment::Stretch,
                    {0, 0, 400, 50},
                    {0, 0},
                    {150, 10}},
        ArrangeCase{"desired wider than the slot is cut to the slot",
                    {300, 20},
                    NaN,
                    {},
                    kNoMax,
                    {},
                    Alignment::Center,
                    {0, 0, 100, 50},
                    {0, 0},
                    {100, 20}},
        ArrangeCase{"margins wider than the slot leave nothing",
                    {10, 10},
                    NaN,
                    {},
                    kNoMax,
                    {60, 0, 60, 0},
                    Alignment::Stretch,
                    {0, 0, 100, 50},
                    {60, 0},
                    {0, 10}}));

TEST(LayoutProtocol, HiddenWidgetMeasuresToZeroAndIsNotArranged) {
  Probe probe({40, 40});
  probe.SetVisible(false);
  EXPECT_EQ(probe.Measure({100, 100}), (Size{0, 0}));
  probe.Arrange({0, 0, 100, 100});
  EXPECT_TRUE(probe.offered.empty());
  EXPECT_TRUE(probe.arranged.empty());
}

TEST(LayoutProtocol, BaseWidgetOverlaysItsChildren) {
  Widget panel;
  auto* a = static_cast<Probe*>(panel.AddChild(MakeProbe({30, 80})));
  auto* b = static_cast<Probe*>(panel.AddChild(MakeProbe({60, 10})));
  auto* hidden = static_cast<Probe*>(panel.AddChild(MakeProbe({500, 500})));
  hidden->SetVisible(false);

  EXPECT_EQ(panel.Measure({200, 200}), (Size{60, 80}));
  panel.Arrange({0, 0, 120, 90});
  EXPECT_EQ(a->Bounds(), (Rect{0, 0, 120, 90}));
  EXPECT_EQ(b->Bounds(), (Rect{0, 0, 120, 90}));
}

TEST(LayoutCache, SameConstraintMeasuresOnce) {
  Probe probe({10, 10});
  probe.Measure({100, 100});
  probe.Measure({100, 100});
  EXPECT_EQ(probe.offered.size(), 1u);
  probe.Measure({100, 99});
  EXPECT_EQ(probe.offered.size(), 2u);
}

TEST(LayoutCache, NaNConstraintAlwaysMeasuresAgain) {
  Probe probe({10, 10});
  probe.Measure({NaN, 100});
  probe.Measure({NaN, 100});
  EXPECT_EQ(probe.offered.size(), 2u);
}

TEST(LayoutCache, SameSlotArrangesOnceUntilMeasureIsInvalidated) {
  Probe probe({10, 10});
  probe.Measure({100, 100});
  probe.Arrange({0, 0, 100, 100});
  probe.Arrange({0, 0, 100, 100});
  EXPECT_EQ(probe.arranged.size(), 1u);
  probe.Arrange({1, 0, 100, 100});
  EXPECT_EQ(probe.arranged.size(), 2u);

  probe.InvalidateMeasure();
  EXPECT_FALSE(probe.IsArrangeValid());
  probe.Measure({100, 100});
  probe.Arrange({1, 0, 100, 100});
  EXPECT_EQ(probe.arranged.size(), 3u);
}

// Only the path from a changed widget to the root measures again; siblings answer from their caches.
TEST(LayoutCache, ChangeReMeasuresAncestorsButNotSiblings) {
  auto root = MakeProbe({}, "root");
  auto* branch = static_cast<Probe*>(root->AddChild(MakeProbe({}, "branch")));
  auto* leaf = static_cast<Probe*>(branch->AddChild(MakeProbe({20, 20}, "leaf")));
  auto* sibling = static_cast<Probe*>(root->AddChild(MakeProbe({30, 30}, "sibling")));
  root->Measure({200, 200});
  root->Arrange({0, 0, 200, 200});

  leaf->SetMargin(1, 1, 1, 1);
  EXPECT_FALSE(root->IsMeasureValid());
  EXPECT_FALSE(branch->IsMeasureValid());
  EXPECT_TRUE(sibling->IsMeasureValid());

  root->Measure({200, 200});
  root->Arrange({0, 0, 200, 200});
  EXPECT_EQ(root->offered.size(), 2u);
  EXPECT_EQ(branch->offered.size(), 2u);
  EXPECT_EQ(leaf->offered.size(), 2u);
  EXPECT_EQ(sibling->offered.size(), 1u);
  EXPECT_EQ(sibling->arranged.size(), 1u);
  EXPECT_EQ(leaf->Bounds(), (Rect{1, 1, 198, 198}));
}

TEST(LayoutCache, EveryLayoutSetterInvalidates) {
  struct Setter {
    const char* what;
    void (*apply)(Widget&);
  };
  const Setter setters[] = {
      {"width", [](Widget& w) { w.SetWidth(5); }},
      {"height", [](Widget& w) { w.SetHeight(5); }},
      {"min size",
       [](Widget& w) {
         w.SetMinSize({5, 5});
       }},
      {"max size",
       [](Widget& w) {
         w.SetMaxSize({5, 5});
       }},
      {"margin", [](Widget& w) { w.SetMargin(1, 0, 0, 0); }},
      {"horizontal alignment", [](Widget& w) { w.SetHorizontalAlignment(Alignment::End); }},
      {"vertical alignment", [](Widget& w) { w.SetVerticalAlignment(Alignment::End); }},
      {"visibility", [](Widget& w) { w.SetVisible(false); }},
  };
  for (const Setter& s : setters) {
    Widget parent;
    Widget* child = parent.AddChild(std::make_unique<Widget>());
    parent.Measure({10, 10});
    ASSERT_TRUE(parent.IsMeasureValid());
    s.apply(*child);
    EXPECT_FALSE(parent.IsMeasureValid()) << s.what;
  }
}

TEST(ClampLength, MaximumBelowMinimumYieldsMinimum) {
  EXPECT_EQ(ClampLength(100, 80, 50), 80);
  EXPECT_EQ(ClampLength(10, 80, 50), 80);
  EXPECT_EQ(ClampLength(60, 20, 50), 50);
  EXPECT_EQ(ClampLength(30, 20, 50), 30);
  EXPECT_EQ(ClampLength(kUnbounded, 0, kUnbounded), kUnbounded);
}

}  // namespace
}  // namespace Quarlo::Widget
