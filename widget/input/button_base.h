#pragma once
// What push buttons, check boxes and radio buttons share: a text with an access key, a push by pointer
// (press and release inside), by Space (down and up), by Enter where the control wants it, by its access key
// or by accessibility, and three colours that fade to new targets as the control's state changes.

#include <cstdint>
#include <string>

#include "widget/animator.h"
#include "widget/color.h"
#include "widget/input/control_text.h"
#include "widget/widget.h"

namespace Quarlo::Widget::Input {

// The colours a control draws its background (or box), its border and its text or glyph with.
struct ControlColors {
  Color background;
  Color border;
  Color foreground;
};

// The colour of table cells that draw nothing.
inline constexpr Color kNoColor{0, 0, 0, 0};

class ButtonBase : public Widget {
 public:
  // Performs the control's action; every push ends here.
  virtual void Click() = 0;
  // Whether Enter pushes the control (push buttons) or is left to the dialog around it.
  virtual bool ActivatesOnEnter() const = 0;

  // Stores text ("&" marks the access key), lays it out anew and tells layout and accessibility.
  void SetText(const std::string& text);
  // The text as given, and as shown.
  const std::string& Text() const { return text_.Text(); }
  const std::string& DisplayText() const { return text_.Display(); }
  // Byte offset in DisplayText of the underlined character, -1 when there is none.
  int32_t AccessKeyIndex() const { return text_.AccessKeyIndex(); }
  // The colours being drawn now (mid-fade while an animation runs).
  ControlColors CurrentColors() const;

  bool IsFocusable() const override;
  char16_t AccessKey() const override;
  std::string AccessibleName() const override;
  bool Invoke() override;
  bool OnPointerDown(const PointerEvent& event) override;
  bool OnPointerUp(const PointerEvent& event) override;
  bool OnKeyDown(const KeyEvent& event) override;
  bool OnKeyUp(const KeyEvent& event) override;
  void OnCaptureLost() override;
  void OnAccessKey() override;
  void OnFocusChanged(bool focused) override;
  void OnVisualStateChanged() override;
  void OnThemeChanged() override;
  void OnScaleChanged() override;
  void OnAttached() override;
  void PaintOverlay(Canvas& canvas) override;

 protected:
  ButtonBase(const std::string& text, Quarlo::Widget::Role accessibleRole);

  // The colours the control's present state asks for.
  virtual ControlColors ColorTargets() const = 0;
  // The control's on/off state changed: its colours fade to the new state and accessibility is told.
  void ShowToggleState();
  // Gives text the style and options it is laid out with in the present theme.
  virtual void FormatText(ControlText& text) const = 0;
  // Sets the colour targets (and any other state-driven look): fading over the theme's transition time, or
  // at once.
  virtual void RefreshColors(bool animate);
  // The text, formatted for the present theme: what measure and paint lay out.
  ControlText& FormattedText();
  // Space was pressed on the control and its release will push it.
  bool SpacePressed() const { return spacePressed_; }

 private:
  ControlText text_;
  bool spacePressed_ = false;
  AnimatedColor background_{this};
  AnimatedColor border_{this};
  AnimatedColor foreground_{this};
};

}  // namespace Quarlo::Widget::Input
