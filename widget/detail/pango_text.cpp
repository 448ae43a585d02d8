// TextLayout on Pango: wrapping, trimming with an ellipsis at a character or a word, alignment and hit
// testing.

#include "widget/detail/pango_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "widget/detail/text_formats.h"

namespace Quarlo::Widget {
namespace {

using Detail::GObjectPtr;
using Detail::TextLayoutImpl;

// Layout sides beyond this count as unbounded.
constexpr float kUnbounded = 1'000'000.0f;

float Bounded(float side) {
  return std::isfinite(side) && side <= kUnbounded ? std::max(side, 0.0f) : kUnbounded;
}

int ToPango(float dips) { return static_cast<int>(std::lround(dips * PANGO_SCALE)); }
float FromPango(int units) { return static_cast<float>(units) / PANGO_SCALE; }

GObjectPtr<PangoLayout> NewLayout(std::string_view text, const PangoFontDescription* format) {
  GObjectPtr<PangoLayout> layout(pango_layout_new(Detail::UiContext()));
  pango_layout_set_font_description(layout.get(), format);
  pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
  return layout;
}

PangoRectangle LogicalExtents(PangoLayout* layout) {
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  return logical;
}

bool IsHangul(gunichar c) {
  return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x3130 && c <= 0x318F) || (c >= 0xA960 && c <= 0xA97F) ||
         (c >= 0xAC00 && c <= 0xD7FF);
}

// No hyphen at a break inside a word, which would read as part of the name.
PangoAttrList* NoHyphens() {
  PangoAttrList* list = pango_attr_list_new();
  pango_attr_list_insert(list, pango_attr_insert_hyphens_new(FALSE));
  return list;
}

// Gives the layout the list and drops this reference to it.
void SetAttributes(PangoLayout* layout, PangoAttrList* list) {
  pango_layout_set_attributes(layout, list);
  pango_attr_list_unref(list);
}

// Korean readers expect lines to break between words, at spaces, not between any two syllables as the
// Unicode line-breaking rules allow (CSS calls this word-break: keep-all). Words that hold Hangul are kept
// whole; when one is wider than the line on its own, the breaks are allowed again so that nothing overflows.
void KeepKoreanWordsWhole(PangoLayout* layout, std::string_view text, int width) {
  PangoAttrList* list = NoHyphens();
  bool any = false;
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  for (const char* p = begin; p < end;) {
    if (g_unichar_isspace(g_utf8_get_char_validated(p, end - p))) {
      p = g_utf8_find_next_char(p, end) ? g_utf8_find_next_char(p, end) : end;
      continue;
    }
    const char* wordStart = p;
    bool hangul = false;
    while (p < end) {
      const gunichar c = g_utf8_get_char_validated(p, end - p);
      if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2) || g_unichar_isspace(c)) break;
      hangul = hangul || IsHangul(c);
      const char* next = g_utf8_find_next_char(p, end);
      p = next ? next : end;
    }
    if (p == wordStart) ++p;  // an invalid byte stands alone
    if (!hangul) continue;
    PangoAttribute* keep = pango_attr_allow_breaks_new(FALSE);
    keep->start_index = static_cast<guint>(wordStart - begin);
    keep->end_index = static_cast<guint>(p - begin);
    pango_attr_list_insert(list, keep);
    any = true;
  }
  if (!any) {
    pango_attr_list_unref(list);
    return;
  }
  SetAttributes(layout, list);
  if (LogicalExtents(layout).width > width) SetAttributes(layout, NoHyphens());
}

float NaturalWidth(PangoLayout* layout) { return FromPango(LogicalExtents(layout).width); }

// Byte offsets just after each word of a one-line layout.
std::vector<int> WordEnds(PangoLayout* layout, std::string_view text) {
  int count = 0;
  const PangoLogAttr* attrs = pango_layout_get_log_attrs_readonly(layout, &count);
  std::vector<int> ends;
  const char* start = text.data();
  const char* end = start + text.size();
  const char* p = start;
  for (int i = 0; i < count; ++i) {
    if (i > 0 && attrs[i].is_word_end != 0) ends.push_back(static_cast<int>(p - start));
    if (p >= end) break;
    p = g_utf8_next_char(p);
  }
  return ends;
}

// Byte offset of the character under x on the first line: every character before it ends at or before x.
int CharacterAt(PangoLayout* layout, float x) {
  int index = 0;
  int trailing = 0;
  pango_layout_xy_to_index(layout, ToPango(x), 0, &index, &trailing);
  return index;
}

// One paragraph cut to fit width: at a character, or with an ellipsis at a character or a word end.
// Word trimming falls back to a character cut when even the first word does not fit.
std::string TrimParagraph(std::string_view paragraph, const PangoFontDescription* format, float width,
                          TextTrimming trimming) {
  GObjectPtr<PangoLayout> layout = NewLayout(paragraph, format);
  if (NaturalWidth(layout.get()) <= width) return std::string(paragraph);
  const bool ellipsis = trimming != TextTrimming::Character;
  const float room = ellipsis ? width - NaturalWidth(NewLayout(Detail::kEllipsis, format).get()) : width;
  if (room < 0) return {};
  int cut = CharacterAt(layout.get(), room);
  if (trimming == TextTrimming::WordEllipsis) {
    int lastWord = 0;
    for (int end : WordEnds(layout.get(), paragraph)) {
      if (end <= cut) lastWord = end;
    }
    if (lastWord > 0) cut = lastWord;
  }
  std::string result(paragraph.substr(0, static_cast<size_t>(std::max(cut, 0))));
  if (ellipsis) {
    while (!result.empty() && result.back() == ' ') result.pop_back();
    result += Detail::kEllipsis;
  }
  return result;
}

std::string TrimLines(std::string_view text, const PangoFontDescription* format, float width,
                      TextTrimming trimming) {
  std::string result;
  size_t start = 0;
  while (true) {
    const size_t end = text.find('\n', start);
    result += TrimParagraph(text.substr(start, end == std::string_view::npos ? end : end - start), format,
                            width, trimming);
    if (end == std::string_view::npos) break;
    result += '\n';
    start = end + 1;
  }
  return result;
}

PangoAlignment ToPangoAlignment(TextAlignment alignment) {
  switch (alignment) {
    case TextAlignment::Center:
      return PANGO_ALIGN_CENTER;
    case TextAlignment::Trailing:
      return PANGO_ALIGN_RIGHT;
    case TextAlignment::Leading:
    case TextAlignment::Justified:
      break;
  }
  return PANGO_ALIGN_LEFT;
}

float AlignmentFactor(TextAlignment alignment) {
  switch (alignment) {
    case TextAlignment::Center:
      return 0.5f;
    case TextAlignment::Trailing:
      return 1.0f;
    case TextAlignment::Leading:
    case TextAlignment::Justified:
      break;
  }
  return 0.0f;
}

// Height of the lines that fit completely within maxHeight.
float FittingLinesHeight(PangoLayout* layout, float maxHeight) {
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  float bottom = 0;
  do {
    PangoRectangle line{};
    pango_layout_iter_get_line_extents(iter, nullptr, &line);
    const float lineBottom = FromPango(line.y + line.height);
    if (lineBottom > maxHeight + 0.01f) break;
    bottom = lineBottom;
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);
  return bottom;
}

// Places the text inside a bounded box for the alignments Pango does not apply itself.
void PlaceInBox(TextLayoutImpl& impl, bool pangoAligns) {
  const PangoRectangle logical = LogicalExtents(impl.layout.get());
  if (!pangoAligns && std::isfinite(impl.maximum.width)) {
    impl.offset.x = (impl.maximum.width - FromPango(logical.width)) * AlignmentFactor(impl.options.alignment);
  }
  if (std::isfinite(impl.maximum.height)) {
    const float factor = impl.options.verticalAlignment == TextVerticalAlignment::Center   ? 0.5f
                         : impl.options.verticalAlignment == TextVerticalAlignment::Bottom ? 1.0f
                                                                                           : 0.0f;
    const float height = impl.clipHeight > 0 ? impl.clipHeight : FromPango(logical.height);
    impl.offset.y = (impl.maximum.height - height) * factor;
  }
}

// The selected stretches of one line in Pango units, limited to the line's text (Pango adds the alignment
// margins around lines a selection spans) and merged where runs touch.
std::vector<std::pair<int, int>> LineSpans(PangoLayoutLine* line, size_t start, size_t end,
                                           const PangoRectangle& lineRect) {
  int* ranges = nullptr;
  int count = 0;
  pango_layout_line_get_x_ranges(line, static_cast<int>(start), static_cast<int>(end), &ranges, &count);
  std::vector<std::pair<int, int>> spans;
  for (int i = 0; i < count; ++i) {
    const int left = std::max(ranges[2 * i], lineRect.x);
    const int right = std::min(ranges[2 * i + 1], lineRect.x + lineRect.width);
    if (right > left) spans.emplace_back(left, right);
  }
  g_free(ranges);
  std::sort(spans.begin(), spans.end());
  std::vector<std::pair<int, int>> merged;
  for (const auto& span : spans) {
    if (!merged.empty() && span.first <= merged.back().second + PANGO_SCALE / 2) {
      merged.back().second = std::max(merged.back().second, span.second);
    } else {
      merged.push_back(span);
    }
  }
  return merged;
}

}  // namespace

TextLayout TextLayout::Create(std::string_view text, const TextStyle& style, Size maximum,
                              const TextOptions& options) {
  const PangoFontDescription* format = Detail::TextFormat(style);
  if (format == nullptr) return {};
  auto impl = std::make_shared<TextLayoutImpl>();
  impl->options = options;
  impl->maximum = maximum;
  const float width = Bounded(maximum.width);
  const float height = Bounded(maximum.height);
  // Wrapping at an unbounded width never breaks a line; such text is laid out like unwrapped text, so that
  // centred or trailing alignment does not push it a million DIPs to the side.
  const bool wraps = options.wrapping != TextWrapping::None && width < kUnbounded;
  const bool trims = options.trimming != TextTrimming::None;

  if (!wraps) {
    // One line per paragraph: Pango lays it out unbounded, trimming cuts each paragraph to the width.
    impl->layout = NewLayout(text, format);
    if (trims) {
      impl->naturalWidth = NaturalWidth(impl->layout.get());
      impl->naturalWidthKnown = true;
      if (impl->naturalWidth > width) {
        pango_layout_set_text(impl->layout.get(), TrimLines(text, format, width, options.trimming).c_str(),
                              -1);
      }
    }
    pango_layout_set_alignment(impl->layout.get(), ToPangoAlignment(options.alignment));
    PlaceInBox(*impl, false);
    return TextLayout(std::move(impl));
  }

  impl->layout = NewLayout(text, format);
  PangoLayout* layout = impl->layout.get();
  pango_layout_set_width(layout, ToPango(width));
  // Both wrapping modes break a word that does not fit on a line of its own, as the Windows text engine's
  // wrapping does: a long path or file name wraps inside the box instead of running out of it.
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  SetAttributes(layout, NoHyphens());
  if (options.wrapping == TextWrapping::Wrap) KeepKoreanWordsWhole(layout, text, ToPango(width));
  pango_layout_set_alignment(layout, ToPangoAlignment(options.alignment));
  pango_layout_set_justify(layout, options.alignment == TextAlignment::Justified);
  if (trims && std::isfinite(maximum.height)) {
    if (options.trimming == TextTrimming::Character) {
      impl->clipHeight = FittingLinesHeight(layout, maximum.height);
    } else {
      pango_layout_set_height(layout, ToPango(height));
      pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    }
  }
  PlaceInBox(*impl, true);
  return TextLayout(std::move(impl));
}

Size TextLayout::Measure(std::string_view text, const TextStyle& style, float maxWidth,
                         const TextOptions& options) {
  const TextLayout layout = Create(text, style, Size{maxWidth, INFINITY}, options);
  return layout.Metrics();
}

Size TextLayout::Metrics() const {
  if (!impl_) return {};
  const PangoRectangle logical = LogicalExtents(impl_->layout.get());
  Size size{FromPango(logical.width), FromPango(logical.height)};
  if (impl_->clipHeight > 0) size.height = impl_->clipHeight;
  if (impl_->naturalWidthKnown) size.width = std::min(impl_->naturalWidth, Bounded(impl_->maximum.width));
  return size;
}

int TextLayout::LineCount() const { return impl_ ? pango_layout_get_line_count(impl_->layout.get()) : 0; }

Size TextLayout::Maximum() const { return impl_ ? impl_->maximum : Size{}; }

TextLayout::CaretHit TextLayout::HitTestTextPosition(size_t position, bool trailing) const {
  if (!impl_) return {};
  PangoLayout* layout = impl_->layout.get();
  const int length = static_cast<int>(std::strlen(pango_layout_get_text(layout)));
  const int index = static_cast<int>(std::min(position, static_cast<size_t>(length)));
  PangoRectangle pos{};
  pango_layout_index_to_pos(layout, index, &pos);
  const int x = trailing && index < length ? pos.x + pos.width : pos.x;
  return CaretHit{Point{FromPango(x) + impl_->offset.x, FromPango(pos.y) + impl_->offset.y},
                  FromPango(pos.height)};
}

TextLayout::PointHit TextLayout::HitTestPoint(Point p) const {
  if (!impl_) return {};
  int index = 0;
  int trailing = 0;
  const bool inside = pango_layout_xy_to_index(impl_->layout.get(), ToPango(p.x - impl_->offset.x),
                                               ToPango(p.y - impl_->offset.y), &index, &trailing) != FALSE;
  return PointHit{static_cast<size_t>(index), trailing > 0, inside};
}

std::vector<Rect> TextLayout::RangeRects(size_t start, size_t end) const {
  std::vector<Rect> rects;
  if (!impl_ || end <= start) return rects;
  PangoLayoutIter* iter = pango_layout_get_iter(impl_->layout.get());
  do {
    PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
    const auto lineStart = static_cast<size_t>(line->start_index);
    if (lineStart >= end || lineStart + static_cast<size_t>(line->length) < start) continue;
    PangoRectangle lineRect{};
    pango_layout_iter_get_line_extents(iter, nullptr, &lineRect);
    for (const auto& [left, right] : LineSpans(line, start, end, lineRect)) {
      rects.push_back(Rect{FromPango(left) + impl_->offset.x, FromPango(lineRect.y) + impl_->offset.y,
                           FromPango(right - left), FromPango(lineRect.height)});
    }
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);
  return rects;
}

float TextLayout::BaselineAt(size_t position) const {
  if (!impl_) return 0;
  PangoLayoutIter* iter = pango_layout_get_iter(impl_->layout.get());
  int baseline = pango_layout_iter_get_baseline(iter);
  do {
    const PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
    baseline = pango_layout_iter_get_baseline(iter);
    if (position < static_cast<size_t>(line->start_index + line->length)) break;
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);
  return FromPango(baseline) + impl_->offset.y;
}

}  // namespace Quarlo::Widget
