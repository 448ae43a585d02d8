// Caret and word stops of both boundaries over Korean (syllables and jamo), emoji sequences, flags,
// combining marks, line breaks and mixed text.

#include "widget/models/text_boundary.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "widget/models/icu_text_boundary.h"
#include "widget/models/simple_text_boundary.h"

namespace Quarlo::Widget::Models {
namespace {

// Every stop NextCharacterStop visits from 0, and every one PreviousCharacterStop visits from the end.
std::vector<size_t> ForwardStops(const ITextBoundary& b, std::string_view text) {
  std::vector<size_t> stops;
  for (size_t at = 0; at < text.size();) {
    const size_t next = b.NextCharacterStop(text, at);
    if (next <= at) break;
    stops.push_back(at = next);
  }
  return stops;
}

std::vector<size_t> BackwardStops(const ITextBoundary& b, std::string_view text) {
  std::vector<size_t> stops;
  for (size_t at = text.size(); at > 0;) {
    const size_t previous = b.PreviousCharacterStop(text, at);
    if (previous >= at) break;
    stops.insert(stops.begin(), at);
    at = previous;
  }
  return stops;
}

struct ClusterCase {
  const char* name;
  std::string text;
  std::vector<size_t> stops;  // cluster ends
};

const std::vector<ClusterCase>& ClusterCases() {
  static const std::vector<ClusterCase> cases = {
      {"ascii", "ab", {1, 2}},
      {"precomposed Hangul", "한글", {3, 6}},
      // ᄒ ᅡ ᆫ (L V T) then ᄀ ᅳ ᆯ: each syllable of conjoining jamo is one cluster of 9 bytes.
      {"Hangul jamo", "\u1112\u1161\u11AB\u1100\u1173\u11AF", {9, 18}},
      {"syllable plus trailing jamo", "\uD558\u11AB", {6}},
      {"combining accent", "e\u0301x", {3, 4}},
      {"CR LF", "a\r\nb", {1, 3, 4}},
      {"thumbs up with skin tone", "\U0001F44D\U0001F3FD!", {8, 9}},
      // man, ZWJ, woman, ZWJ, girl: one family.
      {"ZWJ family", "\U0001F468\u200D\U0001F469\u200D\U0001F467a", {18, 19}},
      {"two flags", "\U0001F1F0\U0001F1F7\U0001F1FA\U0001F1F8", {8, 16}},
      {"three regional indicators", "\U0001F1F0\U0001F1F7\U0001F1FA", {8, 12}},
      {"mixed", "a한\U0001F600", {1, 4, 8}},
  };
  return cases;
}

class BothBoundaries : public ::testing::TestWithParam<bool> {
 protected:
  std::unique_ptr<ITextBoundary> Make() const {
    if (GetParam()) return IcuTextBoundary::Open();
    return std::make_unique<SimpleTextBoundary>();
  }
};

TEST_P(BothBoundaries, CharacterStopsKeepClustersWhole) {
  const std::unique_ptr<ITextBoundary> b = Make();
  ASSERT_NE(b, nullptr);
  for (const ClusterCase& c : ClusterCases()) {
    EXPECT_EQ(ForwardStops(*b, c.text), c.stops) << b->Name() << ": " << c.name;
    EXPECT_EQ(BackwardStops(*b, c.text), c.stops) << b->Name() << ": " << c.name;
  }
}

TEST_P(BothBoundaries, StopsAtAndPastTheEnds) {
  const std::unique_ptr<ITextBoundary> b = Make();
  ASSERT_NE(b, nullptr);
  const std::string text = "ab";
  EXPECT_EQ(b->NextCharacterStop(text, 2), 2u);
  EXPECT_EQ(b->NextCharacterStop(text, 50), 2u);
  EXPECT_EQ(b->PreviousCharacterStop(text, 0), 0u);
  EXPECT_EQ(b->PreviousCharacterStop(text, 50), 1u);
  EXPECT_EQ(b->NextWordStop("", 0), 0u);
  EXPECT_EQ(b->PreviousWordStop("", 0), 0u);
}

TEST_P(BothBoundaries, WordStopsEndWordsAndSpaceRuns) {
  const std::unique_ptr<ITextBoundary> b = Make();
  ASSERT_NE(b, nullptr);
  const std::string text = "foo  bar";
  EXPECT_EQ(b->NextWordStop(text, 0), 3u);
  EXPECT_EQ(b->NextWordStop(text, 3), 5u);
  EXPECT_EQ(b->PreviousWordStop(text, 8), 5u);
  EXPECT_EQ(b->PreviousWordStop(text, 5), 3u);
  // Korean words are runs of syllables between spaces.
  const std::string korean = "안녕 세상";
  EXPECT_EQ(b->NextWordStop(korean, 0), 6u);
  EXPECT_EQ(b->PreviousWordStop(korean, korean.size()), 7u);
}

INSTANTIATE_TEST_SUITE_P(TextBoundary, BothBoundaries, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Icu" : "Simple"; });

TEST(TextBoundary, IcuIsChosenWhenItOpens) {
  EXPECT_EQ(CreateTextBoundary()->Name(), "icu");
  EXPECT_EQ(SimpleTextBoundary().Name(), "simple");
}

TEST(SimpleTextBoundary, SymbolsAndIdeographsAreWordsOfOneCluster) {
  const SimpleTextBoundary b;
  EXPECT_EQ(b.NextWordStop("a,,b", 1), 2u);
  EXPECT_EQ(b.NextWordStop("漢字", 0), 3u);
  EXPECT_EQ(b.NextWordStop("ひらがな漢", 0), 12u);
  EXPECT_EQ(b.NextWordStop("snake_case x", 0), 10u);
  EXPECT_EQ(b.PreviousWordStop("漢字", 6), 3u);
}

}  // namespace
}  // namespace Quarlo::Widget::Models
