#pragma once
// A piece of text in the viewer's frame (the message panel's headline and detail, the notice): laid out in
// the available width, wrapped or on one line, in a tone of the theme. The layout is made again only when
// the text, the style or the width changes.

#include <string>

#include "widget/canvas.h"
#include "widget/theme.h"
#include "widget/widget.h"

namespace App {

class TextBlock : public Quarlo::Widget::Widget {
 public:
  TextBlock(Quarlo::Widget::TextStyle style, Quarlo::Widget::TextTone tone, bool wrap);

  void SetText(const std::string& text);
  const std::string& Text() const { return text_; }

  const char* ClassName() const override { return "TextBlock"; }
  Quarlo::Widget::Role Role() const override { return Quarlo::Widget::Role::Text; }
  std::string AccessibleName() const override { return text_; }
  bool IsHitTestVisible() const override { return false; }
  Quarlo::Widget::Size MeasureOverride(Quarlo::Widget::Size available) override;
  void Paint(Quarlo::Widget::Canvas& canvas) override;
  void OnScaleChanged() override { layout_ = {}; }

 private:
  const Quarlo::Widget::TextLayout& LayoutFor(float width);

  std::string text_;
  Quarlo::Widget::TextStyle style_;
  Quarlo::Widget::TextTone tone_;
  Quarlo::Widget::TextOptions options_;
  Quarlo::Widget::TextLayout layout_;
  float layoutWidth_ = -1;
};

// The viewer's centred texts in the desktop's UI font: a text block of this size, weight and tone added to
// parent.
TextBlock* AddTextBlock(Quarlo::Widget::Widget& parent, float size, Quarlo::Widget::TextTone tone, bool wrap,
                        int32_t weight = 400);

}  // namespace App
