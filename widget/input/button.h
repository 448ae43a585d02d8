#pragma once
// Push buttons: Button (text and/or an icon, an optional trailing glyph such as a drop-down chevron, three
// looks, a default-button look, a dialog result) and ToggleButton, which stays pressed in until pushed again.

#include <cstdint>
#include <functional>
#include <string>

#include "widget/input/button_base.h"

namespace Quarlo::Widget::Input {

enum class ButtonStyle : int32_t { Standard = 0, Accent = 1, Subtle = 2 };

class Button : public ButtonBase {
 public:
  explicit Button(const std::string& text = {}, ButtonStyle style = ButtonStyle::Standard);

  // Whether the button is on (only a ToggleButton can be).
  virtual bool IsChecked() const;

  // An icon-font code point drawn before the text (0 none).
  void SetIcon(char32_t codePoint);
  // The icon's size in DIPs; 0 or less means the theme's button icon size.
  void SetIconSize(float size);
  // A small glyph at the right end (0 none), as split and drop-down buttons show.
  void SetTrailingGlyph(char32_t codePoint);
  // A Standard button marked default looks like an Accent one.
  void SetDefault(bool value);
  void SetStyle(ButtonStyle value);

  char32_t IconGlyph() const { return iconGlyph_; }
  float IconSize() const;
  char32_t TrailingGlyph() const { return trailingGlyph_; }
  bool IsDefault() const { return isDefault_; }
  ButtonStyle Style() const { return style_; }

  void Click() override;
  bool ActivatesOnEnter() const override;
  const char* ClassName() const override;
  Size MeasureOverride(Size available) override;
  void Paint(Canvas& canvas) override;

  // Runs on every push, before the dialog (if any) ends; it may replace itself.
  std::function<void()> onClick;
  // Not 0: a push ends the modal loop of the button's window with this result, after onClick.
  int32_t dialogResult = 0;

 protected:
  ControlColors ColorTargets() const override;
  void FormatText(ControlText& text) const override;

 private:
  struct ContentWidths {
    float icon = 0;
    float gap = 0;
    float trailing = 0;
  };
  ContentWidths Widths() const;
  // Width left to the text inside a button of this width.
  float TextRoom(float width) const;

  char32_t iconGlyph_ = 0;
  char32_t trailingGlyph_ = 0;
  float iconSize_ = 0;
  ButtonStyle style_;
  bool isDefault_ = false;
};

class ToggleButton : public Button {
 public:
  explicit ToggleButton(const std::string& text = {}, ButtonStyle style = ButtonStyle::Standard);

  // Turns the button on or off from code: onToggled runs, onClick does not.
  void SetChecked(bool value);

  bool IsChecked() const override;
  void Click() override;
  int32_t ToggleState() const override;
  bool SupportsInvoke() const override;
  bool Toggle() override;
  const char* ClassName() const override;

  // Runs with the new state whenever it changes.
  std::function<void(bool)> onToggled;

 private:
  bool checked_ = false;
};

}  // namespace Quarlo::Widget::Input
