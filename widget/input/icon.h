#pragma once
// One glyph of the icon font, in a text tone; an accessibility element only when it is given a name.

#include <cstdint>

#include "widget/theme.h"
#include "widget/widget.h"

namespace Quarlo::Widget::Input {

class Icon : public Widget {
 public:
  // size 0 or less means the default of 16 DIPs.
  explicit Icon(char32_t glyph = 0, float size = 0);

  void SetTone(TextTone value);
  void SetGlyph(char32_t codePoint);
  void SetSize(float value);

  char32_t Glyph() const { return glyph_; }
  float GlyphSize() const;
  TextTone Tone() const { return tone_; }

  bool IsAccessibilityElement() const override;
  const char* ClassName() const override;
  Size MeasureOverride(Size available) override;
  void Paint(Canvas& canvas) override;

 private:
  char32_t glyph_;
  float size_;
  TextTone tone_ = TextTone::Primary;
};

}  // namespace Quarlo::Widget::Input
