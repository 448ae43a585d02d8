// Stack and Grid: how children are measured, how tracks are resolved and where children end up.

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "support/test_widgets.h"
#include "widget/grid.h"
#include "widget/stack.h"

namespace Quarlo::Widget {
namespace {

using Testing::MakeProbe;
using Testing::Probe;

Probe* Add(Widget& parent, Size content) { return static_cast<Probe*>(parent.AddChild(MakeProbe(content))); }

Probe* AddAt(Grid& grid, Size content, int row, int column, int rowSpan = 1, int columnSpan = 1) {
  return static_cast<Probe*>(grid.AddChildAt(MakeProbe(content), row, column, rowSpan, columnSpan));
}

void Layout(Widget& w, Size size) {
  w.Measure(size);
  w.Arrange(Rect{0, 0, size.width, size.height});
}

TEST(Stack, VerticalStacksVisibleChildrenWithSpacing) {
  Stack stack(true, 4);
  Probe* a = Add(stack, {30, 10});
  Probe* hidden = Add(stack, {99, 99});
  Probe* b = Add(stack, {50, 20});
  hidden->SetVisible(false);

  EXPECT_EQ(stack.Measure({200, 300}), (Size{50, 34}));
  EXPECT_EQ(a->offered.back(), (Size{200, kUnbounded}));
  stack.Arrange({0, 0, 200, 300});
  EXPECT_EQ(a->Bounds(), (Rect{0, 0, 200, 10}));
  EXPECT_EQ(b->Bounds(), (Rect{0, 14, 200, 20}));
}

TEST(Stack, HorizontalStacksLeftToRight) {
  Stack stack(false, 2);
  Probe* a = Add(stack, {30, 10});
  Probe* b = Add(stack, {50, 20});

  EXPECT_EQ(stack.Measure({200, 40}), (Size{82, 20}));
  EXPECT_EQ(b->offered.back(), (Size{kUnbounded, 40}));
  stack.Arrange({0, 0, 200, 40});
  EXPECT_EQ(a->Bounds(), (Rect{0, 0, 30, 40}));
  EXPECT_EQ(b->Bounds(), (Rect{32, 0, 50, 40}));
}

TEST(Stack, EmptyOrAllHiddenHasNoSpacing) {
  Stack stack(true, 10);
  EXPECT_EQ(stack.Measure({100, 100}), (Size{0, 0}));
  Add(stack, {5, 5})->SetVisible(false);
  EXPECT_EQ(stack.Measure({100, 100}), (Size{0, 0}));
}

struct TrackCase {
  const char* what;
  std::vector<TrackDefinition> tracks;
  std::vector<float> autoSizes;
  float available;
  float spacing;
  std::vector<float> expected;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const TrackCase& c, std::ostream* os) { *os << c.what; }

class TrackResolution : public testing::TestWithParam<TrackCase> {};

TEST_P(TrackResolution, Sizes) {
  const TrackCase& c = GetParam();
  EXPECT_EQ(ResolveTrackSizes(c.tracks, c.autoSizes, c.available, c.spacing), c.expected) << c.what;
}

TrackDefinition Limited(TrackDefinition t, float minimum, float maximum) {
  t.minimum = minimum;
  t.maximum = maximum;
  return t;
}

using T = TrackDefinition;

INSTANTIATE_TEST_SUITE_P(
    Cases, TrackResolution,
    testing::Values(
        TrackCase{"weights 1 and 3", {T::Star(1), T::Star(3)}, {0, 0}, 400, 0, {100, 300}},
        TrackCase{"minimum freezes the first star",
                  {Limited(T::Star(1), 150, kUnbounded), T::Star(3)},
                  {0, 0},
                  400,
                  0,
                  {150, 250}},
        TrackCase{"maximum freezes the first star",
                  {Limited(T::Star(1), 0, 50), T::Star(1)},
                  {0, 0},
                  300,
                  0,
                  {50, 250}},
        TrackCase{"pixel, auto and star share with spacing",
                  {T::Pixel(50), T::Auto(), T::Star()},
                  {0, 30, 0},
                  200,
                  10,
                  {50, 30, 100}},
        TrackCase{"stars get nothing when fixed tracks overflow",
                  {T::Pixel(300), T::Star()},
                  {0, 0},
                  200,
                  0,
                  {300, 0}},
        TrackCase{"pixel and auto tracks are clamped",
                  {Limited(T::Pixel(10), 20, 30), Limited(T::Auto(), 0, 15)},
                  {0, 40},
                  500,
                  0,
                  {20, 15}},
        TrackCase{"unbounded stars grow to hold the fullest one",
                  {T::Star(1), T::Star(2)},
                  {30, 40},
                  kUnbounded,
                  0,
                  {30, 60}},
        TrackCase{"negative and zero weights get nothing",
                  {T::Star(-1), T::Star(0), T::Star(1)},
                  {0, 0, 0},
                  90,
                  0,
                  {0, 0, 90}},
        TrackCase{
            "no star weight leaves the rest unused", {T::Auto(), T::Pixel(20)}, {12, 0}, 500, 0, {12, 20}}));

TEST(Grid, WithoutDefinitionsEveryChildCoversTheWholeArea) {
  Grid grid;
  Probe* a = Add(grid, {10, 10});
  Probe* b = Add(grid, {40, 30});
  EXPECT_EQ(grid.Measure({200, 100}), (Size{200, 100}));
  grid.Arrange({0, 0, 200, 100});
  EXPECT_EQ(a->Bounds(), (Rect{0, 0, 200, 100}));
  EXPECT_EQ(b->Bounds(), (Rect{0, 0, 200, 100}));
}

TEST(Grid, PixelAutoAndStarTracksPlaceChildren) {
  Grid grid;
  grid.AddColumn(T::Pixel(50));
  grid.AddColumn(T::Auto());
  grid.AddColumn(T::Star());
  grid.AddRow(T::Auto());
  grid.AddRow(T::Star());
  grid.SetSpacing(4, 10);
  Probe* label = AddAt(grid, {30, 20}, 0, 1);
  Probe* icon = AddAt(grid, {16, 16}, 0, 0);
  Probe* body = AddAt(grid, {5, 5}, 1, 2);

  Layout(grid, {300, 200});
  EXPECT_EQ(grid.ColumnSizes(), (std::vector<float>{50, 30, 200}));
  EXPECT_EQ(grid.RowSizes(), (std::vector<float>{20, 176}));
  EXPECT_EQ(icon->Bounds(), (Rect{0, 0, 50, 20}));
  EXPECT_EQ(label->Bounds(), (Rect{60, 0, 30, 20}));
  EXPECT_EQ(body->Bounds(), (Rect{100, 24, 200, 176}));
  // The row pass measures at the resolved column width; a Pixel column is offered its width at once.
  EXPECT_EQ(body->offered.back(), (Size{200, kUnbounded}));
  EXPECT_EQ(icon->offered.front(), (Size{50, kUnbounded}));
}

TEST(Grid, ChildSpanningPixelColumnsIsMeasuredAtTheirWidth) {
  Grid grid;
  grid.AddColumn(T::Pixel(40));
  grid.AddColumn(T::Pixel(60));
  grid.SetSpacing(0, 5);
  Probe* wide = AddAt(grid, {10, 10}, 0, 0, 1, 2);
  grid.Measure({500, 500});
  EXPECT_EQ(wide->offered.front(), (Size{105, kUnbounded}));
}

TEST(Grid, SpanningChildSharesItsExcessAmongAutoAndStarColumns) {
  Grid grid;
  grid.AddColumn(T::Auto());
  grid.AddColumn(T::Star());
  AddAt(grid, {80, 10}, 0, 0);
  AddAt(grid, {100, 10}, 0, 0, 1, 2);

  // Unbounded: the Auto column holds 80 + 10, the Star column its 10 of the excess.
  EXPECT_EQ(grid.Measure({kUnbounded, 100}).width, 100);
  EXPECT_EQ(grid.ColumnSizes(), (std::vector<float>{90, 10}));
  Layout(grid, {300, 100});
  EXPECT_EQ(grid.ColumnSizes(), (std::vector<float>{90, 210}));
}

TEST(Grid, PixelColumnsCountTheirWidthTowardsASpanningChild) {
  Grid grid;
  grid.AddColumn(T::Pixel(100));
  grid.AddColumn(T::Auto());
  AddAt(grid, {150, 10}, 0, 0, 1, 2);
  grid.Measure({kUnbounded, kUnbounded});
  EXPECT_EQ(grid.ColumnSizes(), (std::vector<float>{100, 50}));
}

TEST(Grid, CellsOutsideTheTracksAreClamped) {
  Grid grid;
  grid.AddColumn(T::Pixel(10));
  grid.AddColumn(T::Pixel(20));
  grid.AddRow(T::Pixel(5));
  grid.AddRow(T::Pixel(7));
  Probe* negative = AddAt(grid, {1, 1}, -3, -1, 0, -2);
  Probe* beyond = AddAt(grid, {1, 1}, 9, 9, 4, 4);
  Probe* overlong = AddAt(grid, {1, 1}, 0, 0, 1, 5);
  Layout(grid, {100, 100});
  EXPECT_EQ(negative->Bounds(), (Rect{0, 0, 10, 5}));
  EXPECT_EQ(beyond->Bounds(), (Rect{10, 5, 20, 7}));
  EXPECT_EQ(overlong->Bounds(), (Rect{0, 0, 30, 5}));
}

TEST(Grid, HiddenChildrenTakeNoSpaceInAutoTracks) {
  Grid grid;
  grid.AddColumn(T::Auto());
  grid.AddColumn(T::Auto());
  grid.AddRow(T::Auto());
  AddAt(grid, {40, 10}, 0, 0)->SetVisible(false);
  AddAt(grid, {25, 10}, 0, 1);
  EXPECT_EQ(grid.Measure({200, 200}), (Size{25, 10}));
  EXPECT_EQ(grid.ColumnSizes(), (std::vector<float>{0, 25}));
}

TEST(Grid, RemovedChildDoesNotLeaveItsCellToANewOne) {
  Grid grid;
  grid.AddColumn(T::Pixel(10));
  grid.AddColumn(T::Pixel(20));
  Probe* first = AddAt(grid, {1, 1}, 0, 1);
  grid.RemoveChild(first).reset();
  // A later child added without a cell sits in (0, 0), even at the same address.
  Probe* second = Add(grid, {1, 1});
  Layout(grid, {100, 100});
  EXPECT_EQ(second->Position().x, 0);
}

}  // namespace
}  // namespace Quarlo::Widget
