// Key symbol to virtual-key mapping and the key name table.

#include "widget/detail/key_codes.h"

#include <gdk/gdkkeysyms.h>

#include <array>
#include <cstdio>
#include <utility>

namespace Quarlo::Widget::Detail {
namespace {

struct KeyvalCode {
  uint32_t keyval;
  uint32_t vk;
};

// Keys whose code does not depend on the layout. Keypad keys map by their function under Num Lock (the
// symbol GDK reports already reflects the lock), as Windows does.
constexpr KeyvalCode kKeyvalCodes[] = {
    {GDK_KEY_BackSpace, 0x08},
    {GDK_KEY_Tab, 0x09},
    {GDK_KEY_ISO_Left_Tab, 0x09},
    {GDK_KEY_Clear, 0x0C},
    {GDK_KEY_Return, 0x0D},
    {GDK_KEY_KP_Enter, 0x0D},
    {GDK_KEY_Shift_L, 0xA0},
    {GDK_KEY_Shift_R, 0xA1},
    {GDK_KEY_Control_L, 0xA2},
    {GDK_KEY_Control_R, 0xA3},
    {GDK_KEY_Alt_L, 0xA4},
    {GDK_KEY_Alt_R, 0xA5},
    {GDK_KEY_ISO_Level3_Shift, 0xA5},
    {GDK_KEY_Meta_L, 0xA4},
    {GDK_KEY_Meta_R, 0xA5},
    {GDK_KEY_Pause, 0x13},
    {GDK_KEY_Caps_Lock, 0x14},
    {GDK_KEY_Escape, 0x1B},
    {GDK_KEY_space, 0x20},
    {GDK_KEY_KP_Space, 0x20},
    {GDK_KEY_Page_Up, 0x21},
    {GDK_KEY_KP_Page_Up, 0x21},
    {GDK_KEY_Page_Down, 0x22},
    {GDK_KEY_KP_Page_Down, 0x22},
    {GDK_KEY_End, 0x23},
    {GDK_KEY_KP_End, 0x23},
    {GDK_KEY_Home, 0x24},
    {GDK_KEY_KP_Home, 0x24},
    {GDK_KEY_Left, 0x25},
    {GDK_KEY_KP_Left, 0x25},
    {GDK_KEY_Up, 0x26},
    {GDK_KEY_KP_Up, 0x26},
    {GDK_KEY_Right, 0x27},
    {GDK_KEY_KP_Right, 0x27},
    {GDK_KEY_Down, 0x28},
    {GDK_KEY_KP_Down, 0x28},
    {GDK_KEY_Print, 0x2C},
    {GDK_KEY_Insert, 0x2D},
    {GDK_KEY_KP_Insert, 0x2D},
    {GDK_KEY_Delete, 0x2E},
    {GDK_KEY_KP_Delete, 0x2E},
    {GDK_KEY_KP_Begin, 0x0C},
    {GDK_KEY_Super_L, 0x5B},
    {GDK_KEY_Super_R, 0x5C},
    {GDK_KEY_Menu, 0x5D},
    {GDK_KEY_KP_Multiply, 0x6A},
    {GDK_KEY_KP_Add, 0x6B},
    {GDK_KEY_KP_Separator, 0x6C},
    {GDK_KEY_KP_Subtract, 0x6D},
    {GDK_KEY_KP_Decimal, 0x6E},
    {GDK_KEY_KP_Divide, 0x6F},
    {GDK_KEY_Num_Lock, 0x90},
    {GDK_KEY_Scroll_Lock, 0x91},
    // Hangul and Hanja keys of Korean keyboards (VK_HANGUL, VK_HANJA).
    {GDK_KEY_Hangul, 0x15},
    {GDK_KEY_Hangul_Hanja, 0x19},
};

constexpr KeyvalCode kExtended[] = {
    {GDK_KEY_Page_Up, 0},  {GDK_KEY_Page_Down, 0}, {GDK_KEY_End, 0},       {GDK_KEY_Home, 0},
    {GDK_KEY_Left, 0},     {GDK_KEY_Up, 0},        {GDK_KEY_Right, 0},     {GDK_KEY_Down, 0},
    {GDK_KEY_Print, 0},    {GDK_KEY_Insert, 0},    {GDK_KEY_Delete, 0},    {GDK_KEY_Super_L, 0},
    {GDK_KEY_Super_R, 0},  {GDK_KEY_Menu, 0},      {GDK_KEY_KP_Divide, 0}, {GDK_KEY_KP_Enter, 0},
    {GDK_KEY_Num_Lock, 0}, {GDK_KEY_Control_R, 0}, {GDK_KEY_Alt_R, 0},     {GDK_KEY_ISO_Level3_Shift, 0},
};

// evdev key codes (X11 keycode - 8) of the punctuation keys and their US-layout virtual-key codes.
constexpr std::pair<uint32_t, uint32_t> kPositions[] = {
    {12, 0xBD},  // minus
    {13, 0xBB},  // equal
    {26, 0xDB},  // left bracket
    {27, 0xDD},  // right bracket
    {39, 0xBA},  // semicolon
    {40, 0xDE},  // apostrophe
    {41, 0xC0},  // grave
    {43, 0xDC},  // backslash
    {51, 0xBC},  // comma
    {52, 0xBE},  // period
    {53, 0xBF},  // slash
    {86, 0xE2},  // the extra key of ISO keyboards
};
constexpr uint32_t kEvdevOffset = 8;

struct CodeName {
  uint32_t vk;
  const char* name;
};

constexpr CodeName kNames[] = {
    {0x08, "Backspace"},
    {0x09, "Tab"},
    {0x0C, "Num 5"},
    {0x0D, "Enter"},
    {0x10, "Shift"},
    {0x11, "Ctrl"},
    {0x12, "Alt"},
    {0x13, "Pause"},
    {0x14, "Caps Lock"},
    {0x1B, "Esc"},
    {0x20, "Space"},
    {0x21, "Page Up"},
    {0x22, "Page Down"},
    {0x23, "End"},
    {0x24, "Home"},
    {0x25, "Left"},
    {0x26, "Up"},
    {0x27, "Right"},
    {0x28, "Down"},
    {0x2C, "Prnt Scrn"},
    {0x2D, "Insert"},
    {0x2E, "Delete"},
    {0x5B, "Left Windows"},
    {0x5C, "Right Windows"},
    {0x5D, "Application"},
    {0x6A, "Num *"},
    {0x6B, "Num +"},
    {0x6D, "Num -"},
    {0x6E, "Num Del"},
    {0x6F, "Num /"},
    {0x90, "Num Lock"},
    {0x91, "Scroll Lock"},
    {0xA0, "Shift"},
    {0xA1, "Right Shift"},
    {0xA2, "Ctrl"},
    {0xA3, "Right Ctrl"},
    {0xA4, "Alt"},
    {0xA5, "Right Alt"},
    {0xBA, ";"},
    {0xBB, "="},
    {0xBC, ","},
    {0xBD, "-"},
    {0xBE, "."},
    {0xBF, "/"},
    {0xC0, "`"},
    {0xDB, "["},
    {0xDC, "\\"},
    {0xDD, "]"},
    {0xDE, "'"},
    {0xE2, "\\"},
};

}  // namespace

uint32_t VirtualKeyFromKeyval(uint32_t keyval) {
  if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return 'A' + (keyval - GDK_KEY_a);
  if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return 'A' + (keyval - GDK_KEY_A);
  if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return '0' + (keyval - GDK_KEY_0);
  if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) return 0x60 + (keyval - GDK_KEY_KP_0);
  if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return 0x70 + (keyval - GDK_KEY_F1);
  for (const KeyvalCode& entry : kKeyvalCodes) {
    if (entry.keyval == keyval) return entry.vk;
  }
  return 0;
}

uint32_t VirtualKeyFromPosition(uint32_t keycode) {
  if (keycode < kEvdevOffset) return 0;
  for (const auto& [evdev, vk] : kPositions) {
    if (evdev + kEvdevOffset == keycode) return vk;
  }
  return 0;
}

uint32_t VirtualKeyFor(uint32_t keyval, uint32_t keycode) {
  // Letters and digits follow the layout (AZERTY's M key gives M); punctuation follows the key's position,
  // because its symbol differs between layouts while a shortcut belongs to the physical key.
  const uint32_t byKeyval = VirtualKeyFromKeyval(keyval);
  if ((byKeyval >= '0' && byKeyval <= '9') || (byKeyval >= 'A' && byKeyval <= 'Z')) return byKeyval;
  if (uint32_t vk = VirtualKeyFromPosition(keycode)) return vk;
  return byKeyval;
}

bool IsExtendedKeyval(uint32_t keyval) {
  for (const KeyvalCode& entry : kExtended) {
    if (entry.keyval == keyval) return true;
  }
  return false;
}

std::string KeyName(uint32_t vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
  if (vk >= 0x60 && vk <= 0x69) return "Num " + std::to_string(vk - 0x60);
  if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x70 + 1);
  for (const CodeName& entry : kNames) {
    if (entry.vk == vk) return entry.name;
  }
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "0x%02X", vk & 0xFF);
  return text.data();
}

}  // namespace Quarlo::Widget::Detail
