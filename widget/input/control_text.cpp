// Access-key marks, the cached layout of a control's text, and the underline under its access key.

#include "widget/input/control_text.h"

#include <cwctype>

#include "widget/control_paint.h"
#include "widget/host.h"
#include "widget/input/ime_composition.h"
#include "widget/theme.h"
#include "widget/widget.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr char kMark = '&';
constexpr char32_t kLastSingleUnit = 0xFFFF;
// Theme metric that holds the body text size.
constexpr size_t kBodyTextSizeMetric = 3;
// The underline sits this far below the baseline.
constexpr float kUnderlineDrop = 1.5f;

}  // namespace

AccessKeyText ParseAccessKey(std::string_view text) {
  AccessKeyText out;
  out.display.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    if (text[at] != kMark) {
      // "&" is ASCII, so it never occurs inside a multi-byte sequence: other bytes are copied as they come.
      out.display.push_back(text[at++]);
      continue;
    }
    ++at;
    if (at == text.size()) break;
    if (text[at] == kMark) {
      out.display.push_back(kMark);
      ++at;
      continue;
    }
    size_t next = at;
    const char32_t c = DecodeCodePoint(text, next);
    if (out.key != 0 || std::iswspace(static_cast<wint_t>(c)) || c > kLastSingleUnit) continue;
    out.key = static_cast<char16_t>(std::towupper(static_cast<wint_t>(c)));
    out.keyIndex = static_cast<int32_t>(out.display.size());
  }
  return out;
}

TextStyle BodyTextStyle(const Theme& theme) {
  TextStyle style;
  style.size = theme.metrics[kBodyTextSizeMetric];
  return style;
}

void ControlText::SetText(std::string_view text, bool parseAccessKey) {
  text_ = std::string(text);
  if (parseAccessKey) {
    parsed_ = ParseAccessKey(text);
  } else {
    parsed_ = AccessKeyText{text_};
  }
  Drop();
}

void ControlText::SetFormat(const TextStyle& style, const TextOptions& options) {
  if (style == style_ && options.alignment == options_.alignment &&
      options.verticalAlignment == options_.verticalAlignment && options.wrapping == options_.wrapping &&
      options.trimming == options_.trimming) {
    return;
  }
  style_ = style;
  options_ = options;
  Drop();
}

void ControlText::Drop() {
  layout_ = TextLayout{};
  maximum_ = Size{-1, -1};
}

const TextLayout& ControlText::LayoutFor(Size maximum) {
  if (parsed_.display.empty()) {
    layout_ = TextLayout{};
  } else if (maximum != maximum_ || !layout_) {
    layout_ = TextLayout::Create(parsed_.display, style_, maximum, options_);
  }
  maximum_ = maximum;
  return layout_;
}

void ControlText::Draw(Canvas& canvas, const Widget& owner, Point origin, Color color) const {
  if (!layout_) return;
  canvas.DrawText(layout_, origin, color);
  const Host* host = owner.GetHost();
  if (parsed_.keyIndex < 0 || host == nullptr || !host->ShowAccessKeys()) return;
  const auto index = static_cast<size_t>(parsed_.keyIndex);
  size_t end = index;
  DecodeCodePoint(parsed_.display, end);
  const std::vector<Rect> spans = layout_.RangeRects(index, end);
  if (spans.empty()) return;
  const Rect glyph = spans.front();
  const float y = origin.y + layout_.BaselineAt(index) + kUnderlineDrop;
  canvas.FillRect(canvas.SnapRect(Rect{origin.x + glyph.x, y, glyph.width, HairlineWidth(canvas.Scale())}),
                  color);
}

}  // namespace Quarlo::Widget::Input
