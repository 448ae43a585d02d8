// Key symbols and positions to virtual-key codes and scan codes.

#include "widget/detail/key_codes.h"

#include <gdk/gdkkeysyms.h>

#include <utility>

#include "widget/input/virtual_keys.h"

namespace Quarlo::Widget::Detail {
namespace {

constexpr uint32_t kEvdevOffset = 8;

struct KeyvalCode {
  uint32_t keyval;
  uint32_t vk;
};

// Keys whose code does not depend on the layout. Modifiers give the generic Shift, Ctrl and Alt codes, as
// Windows key messages do (the extended flag tells the right-hand keys apart). Keypad keys map by what
// they do under the current Num Lock state, which the symbol already reflects.
constexpr KeyvalCode kFixedKeys[] = {
    {GDK_KEY_BackSpace, Vk::Backspace},
    {GDK_KEY_Tab, Vk::Tab},
    {GDK_KEY_ISO_Left_Tab, Vk::Tab},
    {GDK_KEY_Clear, Vk::Clear},
    {GDK_KEY_Return, Vk::Enter},
    {GDK_KEY_KP_Enter, Vk::Enter},
    {GDK_KEY_Shift_L, Vk::Shift},
    {GDK_KEY_Shift_R, Vk::Shift},
    {GDK_KEY_Control_L, Vk::Ctrl},
    {GDK_KEY_Control_R, Vk::Ctrl},
    {GDK_KEY_Alt_L, Vk::Alt},
    {GDK_KEY_Alt_R, Vk::Alt},
    {GDK_KEY_Meta_L, Vk::Alt},
    {GDK_KEY_Meta_R, Vk::Alt},
    // AltGr: Windows reports right Alt for it.
    {GDK_KEY_ISO_Level3_Shift, Vk::Alt},
    {GDK_KEY_Super_L, Vk::LeftWin},
    {GDK_KEY_Super_R, Vk::RightWin},
    {GDK_KEY_Menu, Vk::Applications},
    {GDK_KEY_Pause, Vk::Pause},
    {GDK_KEY_Caps_Lock, Vk::CapsLock},
    {GDK_KEY_Escape, Vk::Escape},
    {GDK_KEY_space, Vk::Space},
    {GDK_KEY_KP_Space, Vk::Space},
    {GDK_KEY_Page_Up, Vk::PageUp},
    {GDK_KEY_KP_Page_Up, Vk::PageUp},
    {GDK_KEY_Page_Down, Vk::PageDown},
    {GDK_KEY_KP_Page_Down, Vk::PageDown},
    {GDK_KEY_End, Vk::End},
    {GDK_KEY_KP_End, Vk::End},
    {GDK_KEY_Home, Vk::Home},
    {GDK_KEY_KP_Home, Vk::Home},
    {GDK_KEY_Left, Vk::Left},
    {GDK_KEY_KP_Left, Vk::Left},
    {GDK_KEY_Up, Vk::Up},
    {GDK_KEY_KP_Up, Vk::Up},
    {GDK_KEY_Right, Vk::Right},
    {GDK_KEY_KP_Right, Vk::Right},
    {GDK_KEY_Down, Vk::Down},
    {GDK_KEY_KP_Down, Vk::Down},
    {GDK_KEY_KP_Begin, Vk::Clear},
    {GDK_KEY_Print, Vk::PrintScreen},
    {GDK_KEY_Insert, Vk::Insert},
    {GDK_KEY_KP_Insert, Vk::Insert},
    {GDK_KEY_Delete, Vk::Delete},
    {GDK_KEY_KP_Delete, Vk::Delete},
    {GDK_KEY_KP_Multiply, Vk::Multiply},
    {GDK_KEY_KP_Add, Vk::Add},
    {GDK_KEY_KP_Subtract, Vk::Subtract},
    {GDK_KEY_KP_Decimal, Vk::Decimal},
    {GDK_KEY_KP_Divide, Vk::Divide},
    {GDK_KEY_Num_Lock, Vk::NumLock},
    {GDK_KEY_Scroll_Lock, Vk::ScrollLock},
    {GDK_KEY_Hangul, Vk::Hangul},
    {GDK_KEY_Hangul_Hanja, Vk::Hanja},
};

// Keys Windows marks as extended, for key presses whose hardware keycode is unknown.
constexpr uint32_t kExtendedKeyvals[] = {
    GDK_KEY_Page_Up,  GDK_KEY_Page_Down, GDK_KEY_End,       GDK_KEY_Home,  GDK_KEY_Left,
    GDK_KEY_Up,       GDK_KEY_Right,     GDK_KEY_Down,      GDK_KEY_Print, GDK_KEY_Insert,
    GDK_KEY_Delete,   GDK_KEY_Super_L,   GDK_KEY_Super_R,   GDK_KEY_Menu,  GDK_KEY_KP_Divide,
    GDK_KEY_KP_Enter, GDK_KEY_Num_Lock,  GDK_KEY_Control_R, GDK_KEY_Alt_R, GDK_KEY_ISO_Level3_Shift,
};

// US-layout positions (evdev codes) of the digit row and the punctuation keys.
constexpr std::pair<uint32_t, uint32_t> kPositionalKeys[] = {
    {2, '1'},           {3, '2'},          {4, '3'},       {5, '4'},           {6, '5'},
    {7, '6'},           {8, '7'},          {9, '8'},       {10, '9'},          {11, '0'},
    {12, Vk::OemMinus}, {13, Vk::OemPlus}, {26, Vk::Oem4}, {27, Vk::Oem6},     {39, Vk::Oem1},
    {40, Vk::Oem7},     {41, Vk::Oem3},    {43, Vk::Oem5}, {51, Vk::OemComma}, {52, Vk::OemPeriod},
    {53, Vk::Oem2},     {86, Vk::Oem102},
};

// US-layout positions (evdev codes) of the letter keys.
constexpr std::pair<uint32_t, uint32_t> kLetterPositions[] = {
    {16, 'Q'}, {17, 'W'}, {18, 'E'}, {19, 'R'}, {20, 'T'}, {21, 'Y'}, {22, 'U'}, {23, 'I'}, {24, 'O'},
    {25, 'P'}, {30, 'A'}, {31, 'S'}, {32, 'D'}, {33, 'F'}, {34, 'G'}, {35, 'H'}, {36, 'J'}, {37, 'K'},
    {38, 'L'}, {44, 'Z'}, {45, 'X'}, {46, 'C'}, {47, 'V'}, {48, 'B'}, {49, 'N'}, {50, 'M'},
};

// The punctuation a Latin layout may put on a letter key (AZERTY's comma where US has M; Dvorak's
// apostrophe where US has Q), by the US key that types it.
constexpr KeyvalCode kPunctuation[] = {
    {GDK_KEY_semicolon, Vk::Oem1},    {GDK_KEY_equal, Vk::OemPlus},    {GDK_KEY_comma, Vk::OemComma},
    {GDK_KEY_minus, Vk::OemMinus},    {GDK_KEY_period, Vk::OemPeriod}, {GDK_KEY_slash, Vk::Oem2},
    {GDK_KEY_grave, Vk::Oem3},        {GDK_KEY_bracketleft, Vk::Oem4}, {GDK_KEY_backslash, Vk::Oem5},
    {GDK_KEY_bracketright, Vk::Oem6}, {GDK_KEY_apostrophe, Vk::Oem7},
};

// The keypad's decimal key; layouts that type a comma there report KP_Separator, Windows VK_DECIMAL.
constexpr uint32_t kKeypadDecimalEvdev = 83;

// Set-1 scan codes. Evdev codes up to F12 are the scan codes of the same keys (two codes there are not
// keys); the rest are listed with the E0 prefix Windows reports as the extended flag.
constexpr uint32_t kLastScanCodeEvdev = 88;
constexpr uint32_t kNotKeyEvdev[] = {84, 85};
constexpr uint32_t kNumLockEvdev = 69;  // a plain scan code, yet flagged as extended

struct ScanEntry {
  uint32_t evdev;
  uint32_t scanCode;
  bool extended;
};

constexpr ScanEntry kScanCodes[] = {
    {96, 0x1C, true},    // keypad Enter
    {97, 0x1D, true},    // right Ctrl
    {98, 0x35, true},    // keypad divide
    {99, 0x37, true},    // Print Screen
    {100, 0x38, true},   // right Alt
    {102, 0x47, true},   // Home
    {103, 0x48, true},   // Up
    {104, 0x49, true},   // Page Up
    {105, 0x4B, true},   // Left
    {106, 0x4D, true},   // Right
    {107, 0x4F, true},   // End
    {108, 0x50, true},   // Down
    {109, 0x51, true},   // Page Down
    {110, 0x52, true},   // Insert
    {111, 0x53, true},   // Delete
    {119, 0x45, false},  // Pause
    {125, 0x5B, true},   // left Windows
    {126, 0x5C, true},   // right Windows
    {127, 0x5D, true},   // Applications
    {194, 0x76, false},  // F24
};
constexpr uint32_t kF13Evdev = 183;
constexpr uint32_t kF23Evdev = 193;
constexpr uint32_t kF13ScanCode = 0x64;

// Of the 26 letter keys, more than this many type a to z in a Latin layout.
constexpr int kLatinLetterMajority = 13;

template <typename Table>
uint32_t Lookup(const Table& table, uint32_t key) {
  for (const auto& [from, to] : table) {
    if (from == key) return to;
  }
  return 0;
}

uint32_t EvdevOf(uint32_t keycode) { return keycode >= kEvdevOffset ? keycode - kEvdevOffset : 0; }

uint32_t LatinLetterOf(uint32_t keyval) {
  if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return Vk::A + (keyval - GDK_KEY_a);
  if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return Vk::A + (keyval - GDK_KEY_A);
  return 0;
}

uint32_t DigitOf(uint32_t keyval) {
  return keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9 ? Vk::Digit0 + (keyval - GDK_KEY_0) : 0;
}

// Function, navigation, modifier and keypad keys.
uint32_t FixedKeyOf(uint32_t keyval, uint32_t evdev) {
  if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return Vk::F1 + (keyval - GDK_KEY_F1);
  if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) return Vk::Numpad0 + (keyval - GDK_KEY_KP_0);
  if (keyval == GDK_KEY_KP_Separator) return evdev == kKeypadDecimalEvdev ? Vk::Decimal : Vk::Separator;
  return Lookup(kFixedKeys, keyval);
}

uint32_t VirtualKeyOf(const KeyPress& press) {
  const uint32_t evdev = EvdevOf(press.keycode);
  if (const uint32_t vk = FixedKeyOf(press.keyval, evdev)) return vk;
  const uint32_t typedLetter = LatinLetterOf(press.keyval);
  if (press.latinGroup && typedLetter != 0) return typedLetter;
  if (const uint32_t vk = Lookup(kPositionalKeys, evdev)) return vk;
  const uint32_t letterHere = Lookup(kLetterPositions, evdev);
  if (letterHere != 0 && !press.latinGroup) return letterHere;
  // A Latin layout's letter key that types punctuation acts as that punctuation key; one that types
  // another letter (Turkish dotless i) or a dead key keeps the US letter of its position.
  if (const uint32_t vk = Lookup(kPunctuation, press.keyval)) return vk;
  if (letterHere != 0) return letterHere;
  if (typedLetter != 0) return typedLetter;
  return DigitOf(press.keyval);
}

bool IsNotKey(uint32_t evdev) {
  for (uint32_t code : kNotKeyEvdev) {
    if (code == evdev) return true;
  }
  return false;
}

// The scan code and extended flag of a hardware key; false when the key is not known.
bool ScanCodeOf(uint32_t evdev, WindowsKey& key) {
  if (evdev >= 1 && evdev <= kLastScanCodeEvdev && !IsNotKey(evdev)) {
    key.scanCode = evdev;
    key.extended = evdev == kNumLockEvdev;
    return true;
  }
  if (evdev >= kF13Evdev && evdev <= kF23Evdev) {
    key.scanCode = kF13ScanCode + (evdev - kF13Evdev);
    return true;
  }
  for (const ScanEntry& entry : kScanCodes) {
    if (entry.evdev == evdev) {
      key.scanCode = entry.scanCode;
      key.extended = entry.extended;
      return true;
    }
  }
  return false;
}

// Keys without a known position (a keycode outside the table) take the extended flag by their symbol.
bool IsExtendedKeyval(uint32_t keyval) {
  for (uint32_t extended : kExtendedKeyvals) {
    if (extended == keyval) return true;
  }
  return false;
}

}  // namespace

WindowsKey TranslateKey(const KeyPress& press) {
  WindowsKey key;
  key.vk = VirtualKeyOf(press);
  if (!ScanCodeOf(EvdevOf(press.keycode), key)) key.extended = IsExtendedKeyval(press.keyval);
  return key;
}

bool TypesLatinLetters(const std::function<uint32_t(uint32_t keycode)>& levelZeroKeyval) {
  int latin = 0;
  for (const auto& [evdev, letter] : kLetterPositions) {
    if (LatinLetterOf(levelZeroKeyval(evdev + kEvdevOffset)) != 0) ++latin;
  }
  return latin > kLatinLetterMajority;
}

}  // namespace Quarlo::Widget::Detail
