// Dialog placement: centred over the owner, kept inside the work area.

#include "widget/window_placement.h"

#include <gtest/gtest.h>

namespace Quarlo::Widget {
namespace {

TEST(WindowPlacement, CentresOverTheOwnerAndClampsIntoTheWorkArea) {
  const Rect work{0, 30, 1600, 970};  // a panel along the top
  struct Case {
    const char* what;
    Rect owner;
    Size window;
    Point expected;
  };
  const Case cases[] = {
      {"centred", {100, 100, 800, 600}, {200, 100}, {400, 350}},
      {"odd sizes round", {100, 100, 801, 601}, {200, 100}, {401, 351}},
      {"owner off the left edge", {-700, 200, 800, 600}, {300, 200}, {0, 400}},
      {"owner below the panel edge", {200, -500, 400, 600}, {200, 200}, {300, 30}},
      {"owner past the right bottom", {1500, 900, 400, 300}, {300, 200}, {1300, 800}},
      {"larger than the work area", {0, 0, 1600, 1000}, {2000, 1200}, {0, 30}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CentreInWorkArea(c.owner, c.window, work), c.expected) << c.what;
  }
}

TEST(WindowPlacement, ClampMovesOnlyWhatIsOutside) {
  const Rect work{1920, 0, 1280, 1024};  // a second monitor
  EXPECT_EQ(ClampIntoWorkArea({2000, 100}, {300, 200}, work), (Point{2000, 100}));
  EXPECT_EQ(ClampIntoWorkArea({3100, 100}, {300, 200}, work), (Point{2900, 100}));
  EXPECT_EQ(ClampIntoWorkArea({100, 900}, {300, 200}, work), (Point{1920, 824}));
}

TEST(WindowPlacement, OverlapPicksTheMonitorShowingMostOfAWindow) {
  const Rect left{0, 0, 1920, 1080};
  const Rect right{1920, 0, 1920, 1080};
  const Rect window{1800, 100, 400, 300};
  EXPECT_EQ(OverlapArea(window, left), 120.0f * 300);
  EXPECT_EQ(OverlapArea(window, right), 280.0f * 300);
  EXPECT_EQ(OverlapArea(left, right), 0);
}

}  // namespace
}  // namespace Quarlo::Widget
