#pragma once
// A text label in one of the theme's text styles and tones: on one line or wrapped at words, optionally cut
// with an ellipsis. With an access key it hands keyboard focus to its target (or the next control) on
// Alt+key.

#include <cstdint>
#include <memory>
#include <string>

#include "widget/canvas.h"
#include "widget/input/control_text.h"
#include "widget/theme.h"
#include "widget/widget.h"

namespace Quarlo::Widget::Input {

// Body 14, Caption 12, Subtitle 20 semibold, Title 28 semibold.
enum class LabelStyle : int32_t { Body = 0, Caption = 1, Subtitle = 2, Title = 3 };

class Label : public Widget {
 public:
  explicit Label(const std::string& text = {}, LabelStyle style = LabelStyle::Body);

  void SetText(const std::string& text);
  void SetTone(TextTone value);
  void SetWrap(bool value);
  void SetEllipsis(bool value);
  void SetTextAlignment(TextAlignment value);
  void SetStyle(LabelStyle value);
  void SetBold(bool value);
  // When set, "&" in the text marks the access key and the display text is drawn.
  void SetUseAccessKey(bool value);
  // The widget the access key focuses; without one, the next focusable widget after the label.
  void SetTarget(Widget* target);

  const std::string& Text() const { return text_.Text(); }
  const std::string& DisplayText() const { return text_.Display(); }
  TextTone Tone() const { return tone_; }
  LabelStyle Style() const { return style_; }
  // The style's text style from the theme.
  TextStyle TextStyleFor(const Theme& theme) const;

  char16_t AccessKey() const override;
  std::string AccessibleName() const override;
  const char* ClassName() const override;
  void OnAccessKey() override;
  void OnThemeChanged() override;
  void OnScaleChanged() override;
  Size MeasureOverride(Size available) override;
  void Paint(Canvas& canvas) override;

 private:
  // Applies the style and options to the text cache and lays the label out again.
  void Reformat();
  // The first widget after the label in its parent's subtree (pre-order) that can take keyboard focus.
  Widget* NextFocusable() const;

  ControlText text_;
  LabelStyle style_;
  TextTone tone_ = TextTone::Primary;
  bool wrap_ = false;
  bool ellipsis_ = false;
  bool bold_ = false;
  bool useAccessKey_ = false;
  TextAlignment alignment_ = TextAlignment::Leading;
  std::shared_ptr<Detail::WidgetLink> target_;
};

}  // namespace Quarlo::Widget::Input
