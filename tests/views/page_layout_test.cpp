#include "views/page_layout.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace App {
namespace {

using Quarlo::Widget::Size;

// Readable spreads for failure messages: "(0,1) (2) (3,4)".
std::string Describe(const std::vector<Spread>& spreads) {
  std::string text;
  for (const Spread& s : spreads) {
    if (!text.empty()) text += ' ';
    text += '(' + std::to_string(s.first);
    for (size_t i = 1; i < s.count; ++i) text += ',' + std::to_string(s.first + i);
    text += ')';
  }
  return text;
}

// Every spread of the list, walked through SpreadAt from each start.
std::vector<Spread> SpreadsOf(size_t count, bool coverAlone, bool wideAlone, const std::set<size_t>& wide) {
  std::vector<size_t> starts =
      SpreadStarts(count, coverAlone, wideAlone, [&](size_t i) { return wide.count(i) > 0; });
  std::vector<Spread> spreads;
  for (size_t start : starts) spreads.push_back(SpreadAt(starts, count, start));
  return spreads;
}

TEST(PageLayoutTest, SpreadsPairCoverAndWidePictures) {
  struct Case {
    const char* name;
    size_t count;
    bool coverAlone, wideAlone;
    std::set<size_t> wide;
    std::string expected;
  };
  const Case cases[] = {
      {"pairs from the start", 5, false, false, {}, "(0,1) (2,3) (4)"},
      {"cover alone", 5, true, false, {}, "(0) (1,2) (3,4)"},
      {"one picture with cover", 1, true, false, {}, "(0)"},
      {"one picture", 1, false, false, {}, "(0)"},
      {"two pictures with cover", 2, true, true, {}, "(0) (1)"},
      {"empty list", 0, true, true, {}, ""},
      {"wide picture and its neighbour stand alone", 6, false, true, {3}, "(0,1) (2) (3) (4,5)"},
      {"wide picture not decoded yet", 6, false, true, {}, "(0,1) (2,3) (4,5)"},
      {"wide ignored when the setting is off", 6, false, false, {3}, "(0,1) (2,3) (4,5)"},
      {"wide last picture", 4, false, true, {3}, "(0,1) (2) (3)"},
      {"wide pictures in a row", 4, false, true, {1, 2}, "(0) (1) (2) (3)"},
      {"wide right after the cover", 5, true, true, {1}, "(0) (1) (2,3) (4)"},
      {"wide cover", 4, true, true, {0}, "(0) (1,2) (3)"},
      {"wide first picture without cover", 4, false, true, {0}, "(0) (1,2) (3)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Describe(SpreadsOf(c.count, c.coverAlone, c.wideAlone, c.wide)), c.expected);
  }
}

TEST(PageLayoutTest, SpreadStartsWithoutAWideTestPairEverything) {
  EXPECT_EQ(SpreadStarts(5, false, true, nullptr), (std::vector<size_t>{0, 2, 4}));
}

TEST(PageLayoutTest, WideMeansHeightBelowWidth) {
  struct Case {
    double ratio;
    bool wide;
  };
  const Case cases[] = {
      {1.0, false},                                       // square
      {999.0 / 1000.0, true},                             // 1000 x 999
      {1500.0 / 1000.0, false},                           // portrait
      {0.0, false},                                       // size not known yet
      {-0.5, false},                                      // nonsense
      {std::numeric_limits<double>::quiet_NaN(), false},  // nonsense
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ratio);
    EXPECT_EQ(IsWideRatio(c.ratio), c.wide);
  }
}

TEST(PageLayoutTest, SpreadAtFindsTheSpreadHoldingAnIndex) {
  const std::vector<size_t> coverStarts = {0, 1, 3};  // (0) (1,2) (3,4)
  struct Case {
    std::vector<size_t> starts;
    size_t count, index;
    Spread expected;
  };
  const Case cases[] = {
      {coverStarts, 5, 3, {3, 2}}, {coverStarts, 5, 4, {3, 2}}, {coverStarts, 5, 2, {1, 2}},
      {coverStarts, 5, 0, {0, 1}}, {coverStarts, 5, 9, {3, 2}},  // past the end: the last spread
      {{}, 5, 3, {0, 1}},          {coverStarts, 0, 0, {0, 1}},  // nothing to find
      {{0, 2}, 3, 2, {2, 1}},                                    // last picture alone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(SpreadAt(c.starts, c.count, c.index), c.expected);
  }
}

TEST(PageLayoutTest, PagingStepsBySpread) {
  struct Case {
    const char* name;
    PageMode mode;
    size_t count;
    size_t current;
    std::optional<size_t> forward, backward;
  };
  // With the cover alone, 6 pictures make the spreads (0) (1,2) (3,4) (5).
  const Case cases[] = {
      {"two pages, from the cover", PageMode::TwoPages, 6, 0, 1, std::nullopt},
      {"two pages, middle spread", PageMode::TwoPages, 6, 3, 5, 1},
      {"two pages, last spread", PageMode::TwoPages, 6, 5, std::nullopt, 3},
      {"two pages, index inside a spread", PageMode::TwoPages, 6, 4, 5, 3},
      {"single page", PageMode::SinglePage, 6, 3, 4, 2},
      {"single page, first", PageMode::SinglePage, 6, 0, 1, std::nullopt},
      {"single page, last", PageMode::SinglePage, 6, 5, std::nullopt, 4},
      {"empty list", PageMode::TwoPages, 0, 0, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Pagination pages = Paginate(c.mode, c.count, true, true, nullptr);
    EXPECT_EQ(ForwardTarget(pages, c.current), c.forward);
    EXPECT_EQ(BackwardTarget(pages, c.current), c.backward);
  }
}

TEST(PageLayoutTest, JumpsLandOnTheStartOfTheirSpread) {
  Pagination two = Paginate(PageMode::TwoPages, 6, true, true, nullptr);
  EXPECT_EQ(LandingIndex(two, 2), 1u);
  EXPECT_EQ(LandingIndex(two, 4), 3u);
  EXPECT_EQ(LandingIndex(two, 99), 5u);
  Pagination single = Paginate(PageMode::SinglePage, 6, true, true, nullptr);
  EXPECT_EQ(LandingIndex(single, 2), 2u);
  EXPECT_EQ(LandingIndex(single, 99), 5u);
  EXPECT_EQ(SpreadOf(single, 4), (Spread{4, 1}));
  EXPECT_EQ(LandingIndex(Paginate(PageMode::TwoPages, 0, true, true, nullptr), 3), 0u);
}

TEST(PageLayoutTest, PairingFollowsWhatTheCacheKnows) {
  std::set<size_t> known;
  auto isWide = [&](size_t i) { return known.count(i) > 0; };
  Pagination before = Paginate(PageMode::TwoPages, 6, false, true, isWide);
  EXPECT_EQ(SpreadOf(before, 2), (Spread{2, 2}));
  known.insert(3);  // picture 3 decoded and found wide
  Pagination after = Paginate(PageMode::TwoPages, 6, false, true, isWide);
  EXPECT_EQ(SpreadOf(after, 2), (Spread{2, 1}));
  EXPECT_EQ(ForwardTarget(after, 2), 3u);
}

TEST(PageLayoutTest, WantedPicturesAroundTheCurrentOne) {
  struct Case {
    const char* name;
    PageMode mode;
    size_t count;
    size_t current;
    std::vector<size_t> expected;
  };
  // Two-page cases use the cover alone: spreads (0) (1,2) (3,4) (5,6) (7,8) (9).
  const Case cases[] = {
      {"single page, middle", PageMode::SinglePage, 20, 10, {10, 11, 12, 9, 13}},
      {"single page, first", PageMode::SinglePage, 20, 0, {0, 1, 2, 3}},
      {"single page, last", PageMode::SinglePage, 20, 19, {19, 18}},
      {"single page, one picture", PageMode::SinglePage, 1, 0, {0}},
      {"single page, past the end", PageMode::SinglePage, 3, 7, {2, 1}},
      {"webtoon without a strip range", PageMode::Webtoon, 20, 10, {10, 11, 12, 9, 13}},
      {"two pages, middle", PageMode::TwoPages, 10, 3, {3, 4, 5, 6, 7, 8, 1, 2}},
      {"two pages, cover", PageMode::TwoPages, 10, 0, {0, 1, 2, 3, 4}},
      {"two pages, last spread", PageMode::TwoPages, 10, 9, {9, 7, 8}},
      {"two pages, next is the last", PageMode::TwoPages, 10, 7, {7, 8, 9, 5, 6}},
      {"empty list", PageMode::TwoPages, 0, 0, {}},
      {"empty list, single page", PageMode::SinglePage, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Pagination pages = Paginate(c.mode, c.count, true, true, nullptr);
    EXPECT_EQ(WantedPictures(pages, c.current), c.expected);
  }
}

TEST(PageLayoutTest, WantedStripPicturesSpreadOutFromTheFocus) {
  struct Case {
    const char* name;
    size_t first, end, focus, count;
    std::vector<size_t> expected;
  };
  const Case cases[] = {
      {"focus near the top", 0, 5, 1, 20, {1, 2, 0, 3, 4}},
      {"focus at the bottom runs on below the window", 3, 8, 7, 20, {7, 8, 6, 9, 5, 10, 4, 11, 3}},
      {"never past the list", 3, 8, 7, 9, {7, 8, 6, 5, 4, 3}},
      {"focus clamped into the window", 3, 8, 100, 20, {7, 8, 6, 9, 5, 10, 4, 11, 3}},
      {"focus before the window", 3, 6, 0, 20, {3, 4, 5}},
      {"end cut at the list", 0, 50, 2, 4, {2, 3, 1, 0}},
      {"empty window", 4, 4, 4, 20, {}},
      {"empty list", 0, 0, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WantedStripPictures(c.first, c.end, c.focus, c.count), c.expected);
  }
}

void ExpectPlacement(const PagePlacement& p, float x, float width, float height, double scale, size_t page) {
  EXPECT_FLOAT_EQ(p.x, x);
  EXPECT_FLOAT_EQ(p.y, 0);
  EXPECT_FLOAT_EQ(p.width, width);
  EXPECT_FLOAT_EQ(p.height, height);
  EXPECT_DOUBLE_EQ(p.scale, scale);
  EXPECT_EQ(p.page, page);
}

TEST(PageLayoutTest, SpreadPagesShareTheTallestHeight) {
  PageLayout layout = LayOutPages({{1000, 1500}, {800, 1000}}, 10);
  ASSERT_EQ(layout.placements.size(), 2u);
  ExpectPlacement(layout.placements[0], 0, 1000, 1500, 1.0, 0);
  ExpectPlacement(layout.placements[1], 1010, 1200, 1500, 1.5, 1);
  EXPECT_EQ(layout.content, (Size{2210, 1500}));
}

TEST(PageLayoutTest, RightToLeftSpreadIsLaidOutInTheGivenOrder) {
  // The controller reverses the spread for right-to-left reading; layout follows screen order.
  PageLayout layout = LayOutPages({{800, 1000}, {1000, 1500}}, 10);
  ASSERT_EQ(layout.placements.size(), 2u);
  ExpectPlacement(layout.placements[0], 0, 1200, 1500, 1.5, 0);
  ExpectPlacement(layout.placements[1], 1210, 1000, 1500, 1.0, 1);
  EXPECT_EQ(layout.content, (Size{2210, 1500}));
}

TEST(PageLayoutTest, SinglePageAndDegenerateInput) {
  PageLayout single = LayOutPages({{640, 480}}, 25);
  ASSERT_EQ(single.placements.size(), 1u);
  ExpectPlacement(single.placements[0], 0, 640, 480, 1.0, 0);
  EXPECT_EQ(single.content, (Size{640, 480}));

  PageLayout none = LayOutPages({}, 10);
  EXPECT_TRUE(none.placements.empty());
  EXPECT_EQ(none.content, (Size{0, 0}));

  // An unusable page is left out and the gap appears only between the pages that remain.
  PageLayout skipped = LayOutPages({{0, 500}, {400, 200}, {300, -1}}, 10);
  ASSERT_EQ(skipped.placements.size(), 1u);
  ExpectPlacement(skipped.placements[0], 0, 400, 200, 1.0, 1);
  EXPECT_EQ(skipped.content, (Size{400, 200}));

  PageLayout negativeGap = LayOutPages({{100, 100}, {100, 100}}, -40);
  EXPECT_FLOAT_EQ(negativeGap.placements[1].x, 100);
  EXPECT_EQ(negativeGap.content, (Size{200, 100}));
}

}  // namespace
}  // namespace App
