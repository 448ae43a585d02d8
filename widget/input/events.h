#pragma once
// The input records the window layer builds from native events and routes through the widget tree.
// Positions are in DIPs, in the local space of the widget that receives the record.

#include <cstdint>
#include <string>
#include <vector>

#include "widget/geometry.h"

namespace Quarlo::Widget {

// Modifier bits carried by every input record, read from the keyboard state when the event is handled.
namespace Modifier {
inline constexpr uint8_t Shift = 1;
inline constexpr uint8_t Ctrl = 2;
inline constexpr uint8_t Alt = 4;
inline constexpr uint8_t Win = 8;
}  // namespace Modifier

// Back and Forward are the mouse's side buttons; only the window sees them (WindowInput), never the tree.
enum class PointerButton : uint8_t { None = 0, Left = 1, Right = 2, Middle = 3, Back = 4, Forward = 5 };

enum class PointerDevice : uint8_t { Mouse = 0, Pen = 1, Touch = 2 };

struct PointerEvent {
  Point position;
  PointerButton button = PointerButton::None;
  uint8_t modifiers = 0;
  int32_t clicks = 0;  // 1 press or release, 2 second press of a double click, 0 move
  PointerDevice device = PointerDevice::Mouse;
};

struct WheelEvent {
  Point position;
  float deltaX = 0;      // notches, positive to the right
  float deltaY = 0;      // notches, positive away from the user
  bool precise = false;  // less than one notch at a time, as from a touchpad
  uint8_t modifiers = 0;
};

struct KeyEvent {
  uint32_t key = 0;  // Windows virtual-key code; the native layer maps its own key symbols to these
  uint32_t scanCode = 0;
  uint8_t modifiers = 0;
  bool repeat = false;  // the key was already down
  bool extended = false;
  bool system = false;  // Alt was part of the key press (the Windows "system key" messages)
};

struct CharEvent {
  char32_t codePoint = 0;
  uint8_t modifiers = 0;
  bool system = false;
};

enum class ImeEventKind : uint8_t { Started = 0, Updated = 1, Committed = 2, Ended = 3 };

struct ImeEvent {
  ImeEventKind kind = ImeEventKind::Started;
  std::string text;                 // UTF-8
  int32_t caret = 0;                // caret position inside the composition, in UTF-16 code units
  std::vector<uint8_t> attributes;  // one per composition character
};

}  // namespace Quarlo::Widget
