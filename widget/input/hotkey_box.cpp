// HotkeyBox: taking chords from key presses, the clear strip, and its text-field look.

#include "widget/input/hotkey_box.h"

#include <algorithm>
#include <cmath>

#include "widget/control_paint.h"
#include "widget/input/control_text.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"
#include "widget/toolkit_language.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr uint8_t kModifierBits = Modifier::Shift | Modifier::Ctrl | Modifier::Alt | Modifier::Win;
// Modifiers that make a chord out of any key; Shift alone only selects a key's second symbol.
constexpr uint8_t kCommandModifiers = Modifier::Ctrl | Modifier::Alt | Modifier::Win;

constexpr float kUnboundedWidth = 200;
constexpr float kClearButtonWidth = 28;
constexpr float kClearGlyphSize = 10;
constexpr char32_t kClearGlyph = 0xE711;
constexpr float kClearHighlightInset = 4;
constexpr float kTextLeft = 10;
constexpr float kTextRightGap = 8;
constexpr const char* kHeldSuffix = " + ...";

// Keys that type a character: pressed alone they are swallowed so that they neither type nor act.
bool IsTypingKey(uint32_t key) {
  return (key >= Vk::Digit0 && key <= Vk::Z) || (key >= Vk::Oem1 && key <= Vk::Oem8);
}

}  // namespace

HotkeyBox::HotkeyBox() { role = Quarlo::Widget::Role::Edit; }

void HotkeyBox::SetChord(const HotkeyChord& chord) { Apply(chord, false); }

void HotkeyBox::Clear() { Apply(HotkeyChord{}, true); }

void HotkeyBox::SetPlaceholder(const std::string& text) {
  placeholder_ = text;
  InvalidateVisual();
}

std::string HotkeyBox::DisplayText() const {
  if (heldModifiers_ != 0) return ModifiersText(heldModifiers_) + kHeldSuffix;
  if (!chord_.IsEmpty()) return HotkeyChord::Text(chord_);
  if (!placeholder_.empty()) return placeholder_;
  return ToolkitString(IsFocused() ? ToolkitText::ChordPrompt : ToolkitText::ChordNone);
}

Rect HotkeyBox::ClearButtonRect() const {
  if (chord_.IsEmpty() || !IsEnabledInTree()) return {};
  const Size size = ActualSize();
  const float width = std::min(kClearButtonWidth, size.width);
  return Rect{size.width - width, 0, width, size.height};
}

void HotkeyBox::Apply(HotkeyChord next, bool notifyChanged) {
  if (next.IsEmpty()) next = HotkeyChord{};
  if (heldModifiers_ != 0) {
    heldModifiers_ = 0;
    InvalidateVisual();
  }
  if (next == chord_) return;
  chord_ = next;
  InvalidateVisual();
  RaiseAutomationEvent(AutomationEvent::ValueChanged);
  if (notifyChanged && changed_) {
    // Copies, so that the handler may replace the callback or destroy the box.
    auto callback = changed_;
    const HotkeyChord taken = chord_;
    callback(taken);
  }
}

void HotkeyBox::SetHeldModifiers(uint8_t modifiers) {
  if (modifiers == heldModifiers_) return;
  heldModifiers_ = modifiers;
  InvalidateVisual();
}

bool HotkeyBox::Accepts(uint32_t key, uint8_t modifiers) const {
  if (!requireModifier_ || (modifiers & kCommandModifiers) != 0) return true;
  return key == Vk::Pause || key == Vk::PrintScreen || key == Vk::ScrollLock ||
         (key >= Vk::F1 && key <= Vk::F24);
}

bool HotkeyBox::IsFocusable() const { return true; }
std::string HotkeyBox::ValueText() const { return DisplayText(); }
std::string HotkeyBox::AcceleratorKey() const { return HotkeyChord::Text(chord_); }
bool HotkeyBox::IsReadOnly() const { return true; }
const char* HotkeyBox::ClassName() const { return "HotkeyBox"; }
bool HotkeyBox::WantsSystemKeys() const { return true; }

bool HotkeyBox::OnKeyDown(const KeyEvent& event) {
  const uint8_t modifiers = event.modifiers & kModifierBits;
  if (const uint8_t own = Vk::ModifierOfKey(event.key)) {
    SetHeldModifiers(modifiers | own);
    return true;
  }
  if ((event.key == Vk::Backspace || event.key == Vk::Delete) && modifiers == 0) {
    Clear();
    return true;
  }
  const bool command = (modifiers & kCommandModifiers) != 0;
  if ((event.key == Vk::Enter || event.key == Vk::Escape || event.key == Vk::Space) && !command) return false;
  if (event.repeat) return true;
  if (event.key == Vk::PrintScreen) printScreenPressed_ = true;
  if (event.key != 0 && Accepts(event.key, modifiers)) {
    Apply(HotkeyChord{modifiers, event.key}, true);
    return true;
  }
  return IsTypingKey(event.key);
}

bool HotkeyBox::OnKeyUp(const KeyEvent& event) {
  const uint8_t modifiers = event.modifiers & kModifierBits;
  if (const uint8_t own = Vk::ModifierOfKey(event.key)) {
    SetHeldModifiers(modifiers & ~own);
    return true;
  }
  if (event.key != Vk::PrintScreen) return false;
  if (printScreenPressed_) {
    printScreenPressed_ = false;
  } else {
    Apply(HotkeyChord{modifiers, event.key}, true);
  }
  return true;
}

bool HotkeyBox::OnPointerDown(const PointerEvent& event) {
  if (event.button != PointerButton::Left || !ClearButtonRect().Contains(event.position)) return false;
  clearArmed_ = true;
  InvalidateVisual();
  return true;
}

bool HotkeyBox::OnPointerUp(const PointerEvent& event) {
  if (!clearArmed_) return false;
  if (event.button != PointerButton::Left) return true;
  clearArmed_ = false;
  InvalidateVisual();
  if (ClearButtonRect().Contains(event.position)) Clear();
  return true;
}

void HotkeyBox::OnCaptureLost() {
  if (!clearArmed_) return;
  clearArmed_ = false;
  InvalidateVisual();
}

void HotkeyBox::OnFocusChanged(bool focused) {
  heldModifiers_ = 0;
  printScreenPressed_ = false;
  InvalidateVisual();
  if (focusChanged_) {
    auto callback = focusChanged_;
    callback(focused);
  }
}

void HotkeyBox::OnVisualStateChanged() { InvalidateVisual(); }

void HotkeyBox::OnThemeChanged() { DropTextLayout(); }
void HotkeyBox::OnScaleChanged() { DropTextLayout(); }

void HotkeyBox::DropTextLayout() {
  layout_ = TextLayout{};
  layoutMaximum_ = Size{-1, -1};
}

Size HotkeyBox::MeasureOverride(Size available) {
  const float width = std::isinf(available.width) ? kUnboundedWidth : available.width;
  return Size{width, GetTheme().controlHeight};
}

const TextLayout& HotkeyBox::LayoutFor(const std::string& text, Size maximum) {
  if (text != layoutText_ || maximum != layoutMaximum_) {
    const TextStyle style = BodyTextStyle(GetTheme());
    TextOptions options;
    options.trimming = TextTrimming::CharacterEllipsis;
    layout_ = TextLayout::Create(text, style, maximum, options);
    layoutText_ = text;
    layoutMaximum_ = maximum;
  }
  return layout_;
}

void HotkeyBox::Paint(Canvas& canvas) {
  const Theme& theme = GetTheme();
  const Size size = ActualSize();
  const bool enabled = IsEnabledInTree();
  const bool focused = IsFocused() && enabled;
  PaintFieldFrame(canvas, theme, size, FieldState{enabled, focused, IsHovered(), false});

  const Rect clear = ClearButtonRect();
  const float textRight = (clear.width > 0 ? clear.x : size.width - kTextRightGap);
  const Rect content{kTextLeft, 0, std::max(textRight - kTextLeft, 0.0f), size.height};
  const bool showsChord = heldModifiers_ != 0 || !chord_.IsEmpty();
  const Color textColour = theme.Get(!enabled     ? ThemeColor::TextDisabled
                                     : showsChord ? ThemeColor::TextPrimary
                                                  : ThemeColor::TextSecondary);
  const TextLayout& text = LayoutFor(DisplayText(), Size{content.width, size.height});
  if (text && content.width > 0) {
    canvas.PushClip(content);
    const float top = std::floor((size.height - text.Metrics().height) * 0.5f);
    canvas.DrawText(text, Point{content.x, top}, textColour);
    canvas.PopClip();
  }
  if (clear.width > 0) PaintClearButton(canvas, theme);
}

void HotkeyBox::PaintClearButton(Canvas& canvas, const Theme& theme) {
  const Rect strip = ClearButtonRect();
  if (clearArmed_) {
    const Rect pressed{strip.x + kClearHighlightInset, strip.y + kClearHighlightInset,
                       std::max(strip.width - 2 * kClearHighlightInset, 0.0f),
                       std::max(strip.height - 2 * kClearHighlightInset, 0.0f)};
    canvas.FillRoundedRect(pressed, theme.cornerRadius, theme.Get(ThemeColor::SubtleFillPressed));
  }
  canvas.DrawIcon(kClearGlyph, strip, kClearGlyphSize, theme.Get(ThemeColor::TextSecondary));
}

void HotkeyBox::PaintOverlay(Canvas& canvas) { PaintFocusRing(canvas, *this); }

}  // namespace Quarlo::Widget::Input
