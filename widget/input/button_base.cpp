// ButtonBase: pushes by pointer, keyboard, access key and accessibility, and the fading state colours.

#include "widget/input/button_base.h"

#include "widget/control_paint.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

// Keys push controls only bare or with Shift; other chords belong to the window's shortcuts.
bool PlainOrShift(const KeyEvent& event) { return (event.modifiers & ~Modifier::Shift) == 0; }

}  // namespace

ButtonBase::ButtonBase(const std::string& text, Quarlo::Widget::Role accessibleRole) {
  role = accessibleRole;
  text_.SetText(text, true);
}

void ButtonBase::SetText(const std::string& text) {
  text_.SetText(text, true);
  InvalidateMeasure();
  RaiseAutomationEvent(AutomationEvent::NameChanged);
}

ControlColors ButtonBase::CurrentColors() const {
  return ControlColors{background_.Current(), border_.Current(), foreground_.Current()};
}

void ButtonBase::RefreshColors(bool animate) {
  const ControlColors targets = ColorTargets();
  const double seconds = animate ? GetTheme().transitionSeconds : 0;
  background_.AnimateTo(targets.background, seconds);
  border_.AnimateTo(targets.border, seconds);
  foreground_.AnimateTo(targets.foreground, seconds);
}

ControlText& ButtonBase::FormattedText() {
  FormatText(text_);
  return text_;
}

void ButtonBase::ShowToggleState() {
  RefreshColors(true);
  RaiseAutomationEvent(AutomationEvent::ToggleStateChanged);
}

bool ButtonBase::IsFocusable() const { return true; }
char16_t ButtonBase::AccessKey() const { return text_.AccessKey(); }

std::string ButtonBase::AccessibleName() const {
  std::string name = Widget::AccessibleName();
  return name.empty() ? text_.Display() : name;
}

bool ButtonBase::Invoke() {
  if (!IsEnabledInTree()) return false;
  Click();
  return true;
}

bool ButtonBase::OnPointerDown(const PointerEvent& event) { return event.button == PointerButton::Left; }

bool ButtonBase::OnPointerUp(const PointerEvent& event) {
  if (event.button != PointerButton::Left) return false;
  const Size size = ActualSize();
  if (IsPressed() && Rect{0, 0, size.width, size.height}.Contains(event.position)) Click();
  return true;
}

bool ButtonBase::OnKeyDown(const KeyEvent& event) {
  if (!PlainOrShift(event)) return false;
  if (event.key == Vk::Space) {
    spacePressed_ = true;
    return true;
  }
  if (event.key == Vk::Enter && ActivatesOnEnter()) {
    if (!event.repeat) Click();
    return true;
  }
  return false;
}

bool ButtonBase::OnKeyUp(const KeyEvent& event) {
  if (event.key != Vk::Space || !spacePressed_) return false;
  spacePressed_ = false;
  Click();
  return true;
}

void ButtonBase::OnCaptureLost() { spacePressed_ = false; }

void ButtonBase::OnAccessKey() {
  Focus(FocusReason::Keyboard);
  Click();
}

void ButtonBase::OnFocusChanged(bool) { InvalidateVisual(); }
void ButtonBase::OnVisualStateChanged() { RefreshColors(true); }
void ButtonBase::OnAttached() { RefreshColors(false); }

void ButtonBase::OnThemeChanged() {
  RefreshColors(false);
  InvalidateMeasure();
}

void ButtonBase::OnScaleChanged() { text_.Drop(); }

void ButtonBase::PaintOverlay(Canvas& canvas) { PaintFocusRing(canvas, *this); }

}  // namespace Quarlo::Widget::Input
