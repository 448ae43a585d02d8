#include "app/text_block.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace App {

using namespace Quarlo::Widget;

TextBlock::TextBlock(TextStyle style, TextTone tone, bool wrap) : style_(std::move(style)), tone_(tone) {
  options_.alignment = TextAlignment::Center;
  options_.wrapping = wrap ? TextWrapping::Wrap : TextWrapping::None;
  options_.trimming = wrap ? TextTrimming::None : TextTrimming::CharacterEllipsis;
  role = Role::Text;
}

void TextBlock::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  layout_ = {};
  InvalidateMeasure();
  InvalidateVisual();
}

const TextLayout& TextBlock::LayoutFor(float width) {
  if (!layout_ || layoutWidth_ != width) {
    layout_ = TextLayout::Create(text_, style_, Size{width, kUnbounded}, options_);
    layoutWidth_ = width;
  }
  return layout_;
}

Size TextBlock::MeasureOverride(Size available) {
  if (text_.empty()) return {};
  const Size natural = LayoutFor(kUnbounded).Metrics();
  if (!std::isfinite(available.width) || natural.width <= available.width) return natural;
  return LayoutFor(available.width).Metrics();
}

void TextBlock::Paint(Canvas& canvas) {
  if (text_.empty()) return;
  const Size size = ActualSize();
  const TextLayout& layout = LayoutFor(size.width);
  const Size metrics = layout.Metrics();
  // The layout centres each line in the slot's width; a slot taller than the text centres it vertically.
  const Point origin{0, std::max(0.0f, (size.height - metrics.height) / 2)};
  canvas.DrawText(layout, origin, GetTheme().Tone(tone_));
}

TextBlock* AddTextBlock(Widget& parent, float size, TextTone tone, bool wrap, int32_t weight) {
  return parent.AddChild(std::make_unique<TextBlock>(TextStyle{{}, size, weight}, tone, wrap));
}

}  // namespace App
