#pragma once
// A field that records one key chord: the user focuses it and presses the shortcut. While modifiers are
// held it shows them ("Ctrl + ..."); a key that completes a chord is taken, Backspace or Delete clears
// it, and the strip at its right end is a clear button while a chord is set. Enter, Escape, Space and Tab
// keep their usual meaning in the dialog around it.

#include <cstdint>
#include <functional>
#include <string>

#include "widget/canvas.h"
#include "widget/input/hotkey_chord.h"
#include "widget/widget.h"

namespace Quarlo::Widget::Input {

class HotkeyBox : public Widget {
 public:
  HotkeyBox();

  // Shows a chord from code: repaints and tells accessibility when it changed, never calls onChanged.
  void SetChord(const HotkeyChord& chord);
  const HotkeyChord& Chord() const { return chord_; }
  // Clears the chord as the user does (Backspace, the clear button): onChanged runs when one was set.
  void Clear();
  // When set (the default), a key without Ctrl, Alt or Win is taken only if it is Pause, Print Screen,
  // Scroll Lock or a function key, so plain letters never become shortcuts.
  void SetRequireModifier(bool value) { requireModifier_ = value; }
  // Shown while no chord is set, instead of the toolkit's "None" / "Press a shortcut".
  void SetPlaceholder(const std::string& text);
  // Called after the user took or cleared a chord, with the new chord.
  void SetOnChanged(std::function<void(const HotkeyChord&)> callback) { changed_ = std::move(callback); }
  // Called after the box gained (true) or lost (false) keyboard focus.
  void SetOnFocusChanged(std::function<void(bool)> callback) { focusChanged_ = std::move(callback); }

  // What the box shows: the held modifiers while a chord is being built, else the chord text, else the
  // placeholder or the toolkit's text for an empty box.
  std::string DisplayText() const;
  // The right-hand strip that clears the chord, in local coordinates (empty while it is not offered).
  Rect ClearButtonRect() const;

  bool IsFocusable() const override;
  std::string ValueText() const override;
  std::string AcceleratorKey() const override;
  bool IsReadOnly() const override;
  const char* ClassName() const override;
  bool OnPointerDown(const PointerEvent& event) override;
  bool OnPointerUp(const PointerEvent& event) override;
  void OnCaptureLost() override;
  bool OnKeyDown(const KeyEvent& event) override;
  bool OnKeyUp(const KeyEvent& event) override;
  void OnFocusChanged(bool focused) override;
  bool WantsSystemKeys() const override;
  Size MeasureOverride(Size available) override;
  void Paint(Canvas& canvas) override;
  void PaintOverlay(Canvas& canvas) override;
  void OnVisualStateChanged() override;
  void OnThemeChanged() override;
  void OnScaleChanged() override;

 private:
  // Stores the chord and resets the held-modifier display; tells listeners when the chord changed.
  void Apply(HotkeyChord next, bool notifyChanged);
  void SetHeldModifiers(uint8_t modifiers);
  bool Accepts(uint32_t key, uint8_t modifiers) const;
  void PaintClearButton(Canvas& canvas, const Theme& theme);
  const TextLayout& LayoutFor(const std::string& text, Size maximum);
  // The body text size and the resolution shape the text: a change of either lays it out again.
  void DropTextLayout();

  HotkeyChord chord_;
  uint8_t heldModifiers_ = 0;
  bool requireModifier_ = true;
  std::string placeholder_;
  std::function<void(const HotkeyChord&)> changed_;
  std::function<void(bool)> focusChanged_;
  bool clearArmed_ = false;
  // Print Screen is taken on its release where the platform reports no press; here it does, so a release
  // after a press already taken is ignored.
  bool printScreenPressed_ = false;
  TextLayout layout_;
  std::string layoutText_;
  Size layoutMaximum_{-1, -1};
};

}  // namespace Quarlo::Widget::Input
