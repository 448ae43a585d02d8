// Icon: a glyph centred in its box.

#include "widget/input/icon.h"

#include "widget/canvas.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr float kDefaultSize = 16;

}  // namespace

Icon::Icon(char32_t glyph, float size) : glyph_(glyph), size_(size) {
  role = Role::Image;
  tabStop = false;
}

void Icon::SetTone(TextTone value) {
  tone_ = value;
  InvalidateVisual();
}

void Icon::SetGlyph(char32_t codePoint) {
  glyph_ = codePoint;
  InvalidateVisual();
}

void Icon::SetSize(float value) {
  size_ = value;
  InvalidateMeasure();
}

float Icon::GlyphSize() const { return size_ > 0 ? size_ : kDefaultSize; }

bool Icon::IsAccessibilityElement() const { return !AccessibleName().empty(); }
const char* Icon::ClassName() const { return "Icon"; }

Size Icon::MeasureOverride(Size) { return Size{GlyphSize(), GlyphSize()}; }

void Icon::Paint(Canvas& canvas) {
  if (glyph_ == 0) return;
  const Theme& theme = GetTheme();
  const Size size = ActualSize();
  const Color color = IsEnabledInTree() ? theme.Tone(tone_) : theme.Get(ThemeColor::TextDisabled);
  canvas.DrawIcon(glyph_, Rect{0, 0, size.width, size.height}, GlyphSize(), color);
}

}  // namespace Quarlo::Widget::Input
