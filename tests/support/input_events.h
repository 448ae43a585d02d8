#pragma once
// Input records for control tests: keys with modifiers, pointer presses, releases and moves, wheel notches.

#include <cstdint>

#include "widget/input/events.h"

namespace Quarlo::Widget::Testing {

inline KeyEvent Key(uint32_t vk, uint8_t modifiers = 0, bool repeat = false) {
  KeyEvent e;
  e.key = vk;
  e.modifiers = modifiers;
  e.repeat = repeat;
  e.system = (modifiers & Modifier::Alt) != 0;
  return e;
}

inline PointerEvent Pointer(Point at, PointerButton button = PointerButton::Left) {
  PointerEvent e;
  e.position = at;
  e.button = button;
  e.clicks = button == PointerButton::None ? 0 : 1;
  return e;
}

inline WheelEvent Notches(Point at, float deltaY) {
  WheelEvent e;
  e.position = at;
  e.deltaY = deltaY;
  return e;
}

// Alt+character as the desktop sends it to access keys.
inline CharEvent AltChar(char32_t c) {
  CharEvent e;
  e.codePoint = c;
  e.modifiers = Modifier::Alt;
  e.system = true;
  return e;
}

}  // namespace Quarlo::Widget::Testing
