// Text layouts: measuring, wrapping, trimming with an ellipsis, alignment and hit testing, in English and
// Korean; the format cache; icon glyphs.

#include <gtest/gtest.h>
#include <pango/pango.h>

#include <cmath>
#include <string>

#include "widget/canvas.h"
#include "widget/detail/icon_glyphs.h"
#include "widget/detail/pango_text.h"
#include "widget/detail/text_formats.h"
#include "widget/graphics.h"
#include "widget/pixel_image.h"

namespace Quarlo::Widget {
namespace {

constexpr const char* kEnglish = "The quick brown fox jumps over the lazy dog";
constexpr const char* kKorean = "다람쥐 헌 쳇바퀴에 타고파 빠른 갈색 여우";
constexpr const char* kEllipsis = "\xe2\x80\xa6";

std::string Shown(const TextLayout& layout) { return pango_layout_get_text(layout.Get()->layout.get()); }

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TextOptions Trimmed(TextTrimming trimming) {
  TextOptions options;
  options.trimming = trimming;
  return options;
}

TEST(TextLayout, LayoutsWorkWhileTheFontsWarmInTheBackground) {
  PrewarmGraphics();
  PrewarmGraphics();  // at most one warming thread
  for (int i = 0; i < 20; ++i) {
    EXPECT_GT(TextLayout::Measure("가나다 abc", TextStyle{}, INFINITY, TextOptions{}).width, 0);
  }
  FinishPrewarmGraphics();
  FinishPrewarmGraphics();  // nothing left to wait for
  EXPECT_GT(TextLayout::Measure("가나다 abc", TextStyle{}, INFINITY, TextOptions{}).width, 0);
}

TEST(TextLayout, MeasureGrowsWithTextAndSize) {
  const Size small = TextLayout::Measure("Hello", TextStyle{}, INFINITY, TextOptions{});
  const Size longer = TextLayout::Measure("Hello, world", TextStyle{}, INFINITY, TextOptions{});
  TextStyle big;
  big.size = 28;
  const Size bigger = TextLayout::Measure("Hello", big, INFINITY, TextOptions{});
  EXPECT_GT(small.width, 20);
  EXPECT_GT(small.height, 10);
  EXPECT_GT(longer.width, small.width);
  EXPECT_NEAR(bigger.width, 2 * small.width, small.width * 0.15);
  EXPECT_EQ(TextLayout::Measure("", TextStyle{}, 100, TextOptions{}).width, 0);
}

TEST(TextLayout, WrappingBreaksIntoLinesWithinTheWidth) {
  TextOptions options;
  options.wrapping = TextWrapping::Wrap;
  for (const char* text : {kEnglish, kKorean}) {
    const TextLayout layout = TextLayout::Create(text, TextStyle{}, Size{120, INFINITY}, options);
    ASSERT_TRUE(layout);
    EXPECT_GE(layout.LineCount(), 3) << text;
    EXPECT_LE(layout.Metrics().width, 120.5f) << text;
    EXPECT_EQ(Shown(layout), text);
  }
}

TEST(TextLayout, WrappingBreaksAWordLongerThanTheWidth) {
  TextOptions options;
  for (TextWrapping wrapping : {TextWrapping::Wrap, TextWrapping::WrapBreakWords}) {
    options.wrapping = wrapping;
    const std::string path = "/photos/a_very_long_folder_name_without_any_spaces_at_all";
    const TextLayout layout = TextLayout::Create(path, TextStyle{}, Size{120, INFINITY}, options);
    ASSERT_TRUE(layout);
    EXPECT_GE(layout.LineCount(), 3) << static_cast<int>(wrapping);
    EXPECT_LE(layout.Metrics().width, 120.5f) << static_cast<int>(wrapping);
    EXPECT_EQ(Shown(layout), path);
  }
}

TEST(TextLayout, KoreanWrapsBetweenWordsAndALongWordStillFits) {
  TextOptions options;
  options.wrapping = TextWrapping::Wrap;
  const std::string first = "가나다라마바사";
  const std::string text = first + " 아자차카";
  const float whole = TextLayout::Measure(text, TextStyle{}, INFINITY, {}).width;
  const TextLayout layout = TextLayout::Create(text, TextStyle{}, Size{whole - 4, INFINITY}, options);
  ASSERT_EQ(layout.LineCount(), 2);
  // The second word moves down whole; the Unicode rules alone would move only its last syllable.
  EXPECT_EQ(layout.HitTestTextPosition(first.size() - 3, false).point.y, 0.0f);
  EXPECT_GT(layout.HitTestTextPosition(first.size() + 1, false).point.y, 0.0f);
  const float word = TextLayout::Measure(first, TextStyle{}, INFINITY, {}).width;
  const TextLayout narrow = TextLayout::Create(first, TextStyle{}, Size{word / 2, INFINITY}, options);
  EXPECT_GE(narrow.LineCount(), 2);
  EXPECT_LE(narrow.Metrics().width, word / 2 + 0.5f);
}

TEST(TextLayout, TrimmingCutsEachLanguageToTheWidth) {
  struct Case {
    const char* text;
    TextTrimming trimming;
    bool ellipsis;
  };
  const Case cases[] = {
      {kEnglish, TextTrimming::Character, false},       {kEnglish, TextTrimming::CharacterEllipsis, true},
      {kEnglish, TextTrimming::WordEllipsis, true},     {kKorean, TextTrimming::Character, false},
      {kKorean, TextTrimming::CharacterEllipsis, true}, {kKorean, TextTrimming::WordEllipsis, true},
  };
  for (const Case& test : cases) {
    const TextLayout layout =
        TextLayout::Create(test.text, TextStyle{}, Size{110, 30}, Trimmed(test.trimming));
    const std::string shown = Shown(layout);
    SCOPED_TRACE(shown);
    EXPECT_LE(TextLayout::Create(shown, TextStyle{}, Size{INFINITY, INFINITY}, TextOptions{}).Metrics().width,
              110.5f);
    EXPECT_EQ(EndsWith(shown, kEllipsis), test.ellipsis);
    const std::string kept = test.ellipsis ? shown.substr(0, shown.size() - 3) : shown;
    EXPECT_FALSE(kept.empty());
    EXPECT_EQ(std::string(test.text).rfind(kept, 0), 0u);  // a prefix of the text
    EXPECT_FLOAT_EQ(layout.Metrics().width, 110);          // the natural width is larger
  }
}

TEST(TextLayout, WordTrimmingEndsAtAWordAndFallsBackForALongWord) {
  const TextLayout words =
      TextLayout::Create(kEnglish, TextStyle{}, Size{150, 30}, Trimmed(TextTrimming::WordEllipsis));
  const std::string shown = Shown(words);
  const std::string kept = shown.substr(0, shown.size() - 3);
  const char next = kEnglish[kept.size()];
  EXPECT_EQ(next, ' ') << shown;  // the cut falls right after a whole word

  const TextLayout oneWord = TextLayout::Create("Antidisestablishmentarianism", TextStyle{}, Size{60, 30},
                                                Trimmed(TextTrimming::WordEllipsis));
  EXPECT_TRUE(EndsWith(Shown(oneWord), kEllipsis));
  EXPECT_GT(Shown(oneWord).size(), 3u);
}

TEST(TextLayout, TrimmingAVeryLongLineKeepsItsStart) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "folder" + std::to_string(i) + "/";
  const TextLayout layout =
      TextLayout::Create(text, TextStyle{}, Size{300, 30}, Trimmed(TextTrimming::CharacterEllipsis));
  const std::string shown = Shown(layout);
  EXPECT_TRUE(EndsWith(shown, kEllipsis));
  EXPECT_EQ(text.rfind(shown.substr(0, shown.size() - 3), 0), 0u);
  EXPECT_LT(shown.size(), 80u);
}

TEST(TextLayout, WrappedTextIsTrimmedToTheLinesThatFit) {
  TextOptions options;
  options.wrapping = TextWrapping::Wrap;
  for (TextTrimming trimming : {TextTrimming::Character, TextTrimming::CharacterEllipsis}) {
    options.trimming = trimming;
    const TextLayout layout = TextLayout::Create(kEnglish, TextStyle{}, Size{120, 40}, options);
    EXPECT_LE(layout.Metrics().height, 40) << static_cast<int>(trimming);
    EXPECT_GT(layout.Metrics().height, 15) << static_cast<int>(trimming);
    EXPECT_EQ(pango_layout_is_ellipsized(layout.Get()->layout.get()) != FALSE,
              trimming == TextTrimming::CharacterEllipsis);
    const PixelImage image = RenderToImage({120, 80}, 96, Color{0, 0, 0, 0}, [&](Canvas& c) {
      c.DrawText(layout, Point{0, 0}, Color{0, 0, 0, 1});
    });
    int below = 0;
    for (uint32_t y = 42; y < image.height; ++y) {
      for (uint32_t x = 0; x < image.width; ++x)
        below += image.pixels[(y * image.width + x) * 4 + 3] > 0 ? 1 : 0;
    }
    EXPECT_EQ(below, 0) << static_cast<int>(trimming);
  }
}

TEST(TextLayout, TextThatFitsIsNotTrimmed) {
  const TextLayout layout =
      TextLayout::Create("Short", TextStyle{}, Size{300, 30}, Trimmed(TextTrimming::CharacterEllipsis));
  EXPECT_EQ(Shown(layout), "Short");
  EXPECT_LT(layout.Metrics().width, 300);
}

TEST(TextLayout, AlignmentPlacesTextInsideTheBox) {
  TextOptions centred;
  centred.alignment = TextAlignment::Center;
  centred.verticalAlignment = TextVerticalAlignment::Center;
  TextOptions trailing;
  trailing.alignment = TextAlignment::Trailing;
  const float width = TextLayout::Measure("Hi", TextStyle{}, INFINITY, TextOptions{}).width;
  const TextLayout centre = TextLayout::Create("Hi", TextStyle{}, Size{200, 100}, centred);
  const TextLayout right = TextLayout::Create("Hi", TextStyle{}, Size{200, 100}, trailing);
  EXPECT_NEAR(centre.HitTestTextPosition(0, false).point.x, (200 - width) / 2, 1);
  EXPECT_NEAR(right.HitTestTextPosition(0, false).point.x, 200 - width, 1);
  const TextLayout::CaretHit caret = centre.HitTestTextPosition(0, false);
  EXPECT_NEAR(caret.point.y + caret.lineHeight / 2, 50, 1);
  // Without a width there is no box to centre in: the text starts at the origin.
  centred.wrapping = TextWrapping::Wrap;
  const TextLayout unbounded = TextLayout::Create("Hi", TextStyle{}, Size{INFINITY, INFINITY}, centred);
  EXPECT_EQ(unbounded.HitTestTextPosition(0, false).point.x, 0);
}

TEST(TextLayout, HitTestingRoundTripsByteOffsetsInBothLanguages) {
  // Hangul syllables are three bytes each; positions stay byte offsets into the UTF-8 text.
  for (const std::string& text : {std::string("abcdef"), std::string("가나다라")}) {
    const TextLayout layout = TextLayout::Create(text, TextStyle{}, Size{INFINITY, INFINITY}, TextOptions{});
    const size_t step = text == "abcdef" ? 1 : 3;
    float previous = -1;
    for (size_t position = 0; position < text.size(); position += step) {
      const TextLayout::CaretHit leading = layout.HitTestTextPosition(position, false);
      const TextLayout::CaretHit trailing = layout.HitTestTextPosition(position, true);
      EXPECT_GT(leading.point.x, previous);
      EXPECT_GT(trailing.point.x, leading.point.x);
      EXPECT_GT(leading.lineHeight, 10);
      previous = leading.point.x;
      const float quarter = (trailing.point.x - leading.point.x) / 4;
      const TextLayout::PointHit front = layout.HitTestPoint(Point{leading.point.x + quarter, 5});
      const TextLayout::PointHit back = layout.HitTestPoint(Point{trailing.point.x - quarter, 5});
      EXPECT_EQ(front.position, position);
      EXPECT_FALSE(front.trailing);
      EXPECT_TRUE(front.inside);
      EXPECT_EQ(back.position, position);
      EXPECT_TRUE(back.trailing);
    }
    const TextLayout::PointHit beyond = layout.HitTestPoint(Point{1000, 5});
    EXPECT_FALSE(beyond.inside);
    EXPECT_EQ(beyond.position + step, text.size());
    EXPECT_TRUE(beyond.trailing);
  }
}

TEST(TextLayout, RangeRectsCoverTheSelectionOnEveryLine) {
  TextOptions options;
  options.wrapping = TextWrapping::Wrap;
  const TextLayout layout = TextLayout::Create(kEnglish, TextStyle{}, Size{120, INFINITY}, options);
  const std::string text = kEnglish;
  const std::vector<Rect> all = layout.RangeRects(0, text.size());
  EXPECT_EQ(static_cast<int>(all.size()), layout.LineCount());
  const std::vector<Rect> word = layout.RangeRects(4, 9);  // "quick"
  ASSERT_EQ(word.size(), 1u);
  EXPECT_NEAR(word[0].x, layout.HitTestTextPosition(4, false).point.x, 0.5);
  EXPECT_NEAR(word[0].Right(), layout.HitTestTextPosition(8, true).point.x, 0.5);
  EXPECT_TRUE(layout.RangeRects(5, 5).empty());

  // Centred lines: the rectangles move with the text.
  options.alignment = TextAlignment::Center;
  const TextLayout centred = TextLayout::Create(kEnglish, TextStyle{}, Size{120, INFINITY}, options);
  const std::vector<Rect> moved = centred.RangeRects(4, 9);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_NEAR(moved[0].x, centred.HitTestTextPosition(4, false).point.x, 0.5);
  EXPECT_GT(moved[0].x, word[0].x);
}

TEST(TextLayout, FormatsAreSharedByEqualStyles) {
  TextStyle plain;
  plain.size = 13.25f;
  TextStyle italic = plain;
  italic.italic = true;
  const size_t before = Detail::TextFormatCount();
  TextLayout::Create("a", plain, Size{100, 100}, TextOptions{});
  TextLayout::Create("b", plain, Size{100, 100}, TextOptions{});
  EXPECT_EQ(Detail::TextFormatCount(), before + 1);
  TextLayout::Create("c", italic, Size{100, 100}, TextOptions{});
  EXPECT_EQ(Detail::TextFormatCount(), before + 2);
  const std::string key = Detail::TextFormatKey(italic, "ko-KR");
  EXPECT_TRUE(EndsWith(key, "|13.25|400|1|ko-KR")) << key;
}

TEST(TextLayout, UnusableSizesGiveEmptyLayouts) {
  for (float size : {0.0f, -3.0f, NAN, INFINITY, 1e9f}) {
    TextStyle style;
    style.size = size;
    EXPECT_FALSE(TextLayout::Create("x", style, Size{100, 100}, TextOptions{})) << size;
  }
  const PixelImage image = RenderToImage({10, 10}, 96, Color{0, 0, 0, 0}, [](Canvas& c) {
    c.DrawIcon(0xE740, Rect{0, 0, 10, 10}, NAN, Color{0, 0, 0, 1});
    c.DrawIcon(0xE740, Rect{0, 0, 10, 10}, 1e9f, Color{0, 0, 0, 1});
  });
  for (size_t i = 3; i < image.pixels.size(); i += 4) ASSERT_EQ(image.pixels[i], 0);
}

TEST(TextLayout, EmptyLayoutDrawsAndMeasuresAsNothing) {
  const TextLayout empty;
  EXPECT_EQ(empty.Metrics(), Size{});
  EXPECT_EQ(empty.LineCount(), 0);
  EXPECT_TRUE(empty.RangeRects(0, 5).empty());
  const PixelImage image = RenderToImage({10, 10}, 96, Color{0, 0, 0, 0}, [&](Canvas& c) {
    c.DrawText(empty, Point{0, 0}, Color{1, 0, 0, 1});
  });
  for (size_t i = 3; i < image.pixels.size(); i += 4) ASSERT_EQ(image.pixels[i], 0);
}

// Count of pixels with some coverage.
int Inked(const PixelImage& image) {
  int count = 0;
  for (size_t i = 3; i < image.pixels.size(); i += 4) count += image.pixels[i] > 0 ? 1 : 0;
  return count;
}

TEST(Icons, EveryIconCodePointHasAGlyphInTheIconFont) {
  PangoLayout* layout = pango_layout_new(Detail::UiContext());
  for (char32_t codePoint : Detail::IconCodePoints()) {
    const std::string glyph = Detail::IconGlyph(codePoint);
    ASSERT_FALSE(glyph.empty());
    pango_layout_set_font_description(layout, Detail::IconFormat(16));
    pango_layout_set_text(layout, glyph.c_str(), -1);
    EXPECT_EQ(pango_layout_get_unknown_glyphs_count(layout), 0)
        << std::hex << static_cast<uint32_t>(codePoint);
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter);
    ASSERT_NE(run, nullptr);
    PangoFontDescription* used = pango_font_describe(run->item->analysis.font);
    EXPECT_STREQ(pango_font_description_get_family(used), Detail::kIconFamily);
    pango_font_description_free(used);
    pango_layout_iter_free(iter);
  }
  g_object_unref(layout);
  EXPECT_TRUE(Detail::IconGlyph(0x41).empty());
}

TEST(Icons, DrawIconCentresTheGlyphInTheRectangle) {
  const PixelImage image = RenderToImage({48, 48}, 96, Color{0, 0, 0, 0}, [](Canvas& c) {
    c.DrawIcon(0xE740, Rect{0, 0, 48, 48}, 24, Color{0, 0, 0, 1});
    c.DrawIcon(0x41, Rect{0, 0, 48, 48}, 24, Color{0, 0, 0, 1});  // unknown: nothing
  });
  ASSERT_GT(Inked(image), 20);
  double sumX = 0;
  double sumY = 0;
  double total = 0;
  for (uint32_t y = 0; y < image.height; ++y) {
    for (uint32_t x = 0; x < image.width; ++x) {
      const double a = image.pixels[(y * image.width + x) * 4 + 3];
      sumX += a * (x + 0.5);
      sumY += a * (y + 0.5);
      total += a;
    }
  }
  EXPECT_NEAR(sumX / total, 24, 2);
  EXPECT_NEAR(sumY / total, 24, 2);
}

}  // namespace
}  // namespace Quarlo::Widget
