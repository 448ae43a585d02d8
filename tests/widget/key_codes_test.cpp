// GDK key symbols and positions to virtual-key codes, and the key name table.

#include "widget/detail/key_codes.h"

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

namespace Quarlo::Widget::Detail {
namespace {

// X11 keycodes are evdev codes + 8.
constexpr uint32_t Keycode(uint32_t evdev) { return evdev + 8; }

TEST(KeyCodes, MapsSymbolsAndPositionsToVirtualKeys) {
  struct Case {
    uint32_t keyval;
    uint32_t keycode;
    uint32_t vk;
  };
  const Case cases[] = {
      {GDK_KEY_a, Keycode(30), 'A'},
      {GDK_KEY_Z, Keycode(44), 'Z'},
      {GDK_KEY_7, Keycode(8), '7'},
      {GDK_KEY_F1, Keycode(59), 0x70},
      {GDK_KEY_F24, 0, 0x87},
      {GDK_KEY_Escape, Keycode(1), 0x1B},
      {GDK_KEY_Return, Keycode(28), 0x0D},
      {GDK_KEY_KP_Enter, Keycode(96), 0x0D},
      {GDK_KEY_Page_Down, Keycode(109), 0x22},
      {GDK_KEY_Left, Keycode(105), 0x25},
      {GDK_KEY_Delete, Keycode(111), 0x2E},
      {GDK_KEY_KP_3, Keycode(81), 0x63},          // keypad with Num Lock on
      {GDK_KEY_KP_Page_Down, Keycode(81), 0x22},  // the same key with Num Lock off
      {GDK_KEY_KP_Add, Keycode(78), 0x6B},
      {GDK_KEY_Control_R, Keycode(97), 0xA3},
      {GDK_KEY_Super_L, Keycode(125), 0x5B},
      {GDK_KEY_minus, Keycode(12), 0xBD},
      {GDK_KEY_slash, Keycode(53), 0xBF},
      {GDK_KEY_bracketleft, Keycode(26), 0xDB},
      // Punctuation follows the US position whatever the layout prints on the key (German ß on minus).
      {GDK_KEY_ssharp, Keycode(12), 0xBD},
      {GDK_KEY_udiaeresis, Keycode(26), 0xDB},
      // Letters follow the layout: AZERTY's M sits where US has the semicolon.
      {GDK_KEY_m, Keycode(39), 'M'},
      {GDK_KEY_Hangul, Keycode(122), 0x15},
      {GDK_KEY_dead_acute, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualKeyFor(c.keyval, c.keycode), c.vk) << "keyval 0x" << std::hex << c.keyval;
  }
}

TEST(KeyCodes, NavigationAndRightHandKeysAreExtended) {
  EXPECT_TRUE(IsExtendedKeyval(GDK_KEY_Home));
  EXPECT_TRUE(IsExtendedKeyval(GDK_KEY_Control_R));
  EXPECT_TRUE(IsExtendedKeyval(GDK_KEY_KP_Divide));
  EXPECT_FALSE(IsExtendedKeyval(GDK_KEY_KP_Home));
  EXPECT_FALSE(IsExtendedKeyval(GDK_KEY_a));
}

TEST(KeyCodes, NamesKeysAndFallsBackToHex) {
  const std::pair<uint32_t, const char*> cases[] = {
      {'A', "A"},      {'5', "5"},      {0x11, "Ctrl"},    {0x10, "Shift"}, {0x12, "Alt"},
      {0x74, "F5"},    {0x87, "F24"},   {0x21, "Page Up"}, {0x1B, "Esc"},   {0x20, "Space"},
      {0x63, "Num 3"}, {0x6B, "Num +"}, {0xBA, ";"},       {0xDE, "'"},     {0x2C, "Prnt Scrn"},
      {0xE8, "0xE8"},  {0x07, "0x07"},  {0x1E8, "0xE8"},
  };
  for (const auto& [vk, name] : cases) EXPECT_EQ(KeyName(vk), name) << vk;
}

}  // namespace
}  // namespace Quarlo::Widget::Detail
