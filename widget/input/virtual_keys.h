#pragma once
// Windows virtual-key codes, which key events, shortcuts and the stored key map keep on every platform,
// under the names the toolkit uses for them.

#include <cstdint>

#include "widget/input/events.h"

namespace Quarlo::Widget::Vk {

inline constexpr uint32_t Backspace = 0x08;
inline constexpr uint32_t Tab = 0x09;
inline constexpr uint32_t Clear = 0x0C;  // keypad 5 with Num Lock off
inline constexpr uint32_t Enter = 0x0D;
inline constexpr uint32_t Shift = 0x10;
inline constexpr uint32_t Ctrl = 0x11;
inline constexpr uint32_t Alt = 0x12;
inline constexpr uint32_t Pause = 0x13;
inline constexpr uint32_t CapsLock = 0x14;
inline constexpr uint32_t Hangul = 0x15;
inline constexpr uint32_t Hanja = 0x19;
inline constexpr uint32_t Escape = 0x1B;
inline constexpr uint32_t Space = 0x20;
inline constexpr uint32_t PageUp = 0x21;
inline constexpr uint32_t PageDown = 0x22;
inline constexpr uint32_t End = 0x23;
inline constexpr uint32_t Home = 0x24;
inline constexpr uint32_t Left = 0x25;
inline constexpr uint32_t Up = 0x26;
inline constexpr uint32_t Right = 0x27;
inline constexpr uint32_t Down = 0x28;
inline constexpr uint32_t PrintScreen = 0x2C;
inline constexpr uint32_t Insert = 0x2D;
inline constexpr uint32_t Delete = 0x2E;
inline constexpr uint32_t Digit0 = 0x30;  // '0' to '9' follow in order
inline constexpr uint32_t Digit9 = 0x39;
inline constexpr uint32_t A = 0x41;  // 'A' to 'Z' follow in order
inline constexpr uint32_t Z = 0x5A;
inline constexpr uint32_t LeftWin = 0x5B;
inline constexpr uint32_t RightWin = 0x5C;
inline constexpr uint32_t Applications = 0x5D;
inline constexpr uint32_t Numpad0 = 0x60;  // keypad digits with Num Lock on, in order
inline constexpr uint32_t Numpad9 = 0x69;
inline constexpr uint32_t Multiply = 0x6A;
inline constexpr uint32_t Add = 0x6B;
inline constexpr uint32_t Separator = 0x6C;
inline constexpr uint32_t Subtract = 0x6D;
inline constexpr uint32_t Decimal = 0x6E;
inline constexpr uint32_t Divide = 0x6F;
inline constexpr uint32_t F1 = 0x70;  // F1 to F24 follow in order
inline constexpr uint32_t F24 = 0x87;
inline constexpr uint32_t NumLock = 0x90;
inline constexpr uint32_t ScrollLock = 0x91;
// The left and right forms of Shift, Ctrl and Alt, which keyboard-state queries report.
inline constexpr uint32_t LeftShift = 0xA0;
inline constexpr uint32_t RightShift = 0xA1;
inline constexpr uint32_t LeftCtrl = 0xA2;
inline constexpr uint32_t RightCtrl = 0xA3;
inline constexpr uint32_t LeftAlt = 0xA4;
inline constexpr uint32_t RightAlt = 0xA5;
// Punctuation keys, named after what they type on a US keyboard.
inline constexpr uint32_t Oem1 = 0xBA;     // ;
inline constexpr uint32_t OemPlus = 0xBB;  // =
inline constexpr uint32_t OemComma = 0xBC;
inline constexpr uint32_t OemMinus = 0xBD;
inline constexpr uint32_t OemPeriod = 0xBE;
inline constexpr uint32_t Oem2 = 0xBF;  // /
inline constexpr uint32_t Oem3 = 0xC0;  // `
inline constexpr uint32_t Oem4 = 0xDB;  // [
inline constexpr uint32_t Oem5 = 0xDC;  // backslash
inline constexpr uint32_t Oem6 = 0xDD;  // ]
inline constexpr uint32_t Oem7 = 0xDE;  // '
inline constexpr uint32_t Oem8 = 0xDF;
inline constexpr uint32_t Oem102 = 0xE2;  // the extra key beside left Shift on ISO keyboards

// The modifier bit a modifier key stands for (Shift, Ctrl and Alt in any form, the Windows keys), else 0.
constexpr uint8_t ModifierOfKey(uint32_t vk) {
  switch (vk) {
    case Shift:
    case LeftShift:
    case RightShift:
      return Modifier::Shift;
    case Ctrl:
    case LeftCtrl:
    case RightCtrl:
      return Modifier::Ctrl;
    case Alt:
    case LeftAlt:
    case RightAlt:
      return Modifier::Alt;
    case LeftWin:
    case RightWin:
      return Modifier::Win;
    default:
      return 0;
  }
}

}  // namespace Quarlo::Widget::Vk
