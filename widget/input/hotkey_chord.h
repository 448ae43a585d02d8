#pragma once
// A key chord: the modifiers held and one key. Shortcuts are matched and stored as these records; the
// command catalogue keeps its own stored text form of them.

#include <cstdint>
#include <string>

namespace Quarlo::Widget::Input {

struct HotkeyChord {
  uint32_t modifiers = 0;  // Modifier bits: Shift, Ctrl, Alt, Win
  uint32_t key = 0;        // virtual-key code; 0 means no chord

  bool IsEmpty() const { return key == 0; }
  friend bool operator==(const HotkeyChord&, const HotkeyChord&) = default;

  // "Ctrl + Shift + F5", "Win + A", "F2"; empty when key is 0.
  static std::string Text(const HotkeyChord& chord);
};

// The held modifiers joined with " + " in the order Ctrl, Shift, Alt, Win ("Ctrl + Alt"); empty for none.
std::string ModifiersText(uint32_t modifiers);

}  // namespace Quarlo::Widget::Input
