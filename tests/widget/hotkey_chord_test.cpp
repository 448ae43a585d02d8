// Key chords and key names as shortcut texts show them.

#include "widget/input/hotkey_chord.h"

#include <gtest/gtest.h>

#include <utility>

#include "widget/input/events.h"
#include "widget/input/key_names.h"
#include "widget/input/virtual_keys.h"

namespace Quarlo::Widget::Input {
namespace {

TEST(KeyNames, NamesKeysAsAUsKeyboardDoes) {
  const std::pair<uint32_t, const char*> cases[] = {
      {'A', "A"},
      {'Z', "Z"},
      {'5', "5"},
      {Vk::Ctrl, "Ctrl"},
      {Vk::Shift, "Shift"},
      {Vk::Alt, "Alt"},
      {Vk::RightCtrl, "Right Ctrl"},
      {Vk::F1 + 4, "F5"},
      {Vk::F24, "F24"},
      {Vk::PageUp, "Page Up"},
      {Vk::Escape, "Esc"},
      {Vk::Space, "Space"},
      {Vk::Enter, "Enter"},
      {Vk::Delete, "Delete"},
      {Vk::Numpad0 + 7, "Num 7"},
      {Vk::Add, "Num +"},
      {Vk::Decimal, "Num Del"},
      {Vk::Clear, "Num 5"},
      {Vk::Oem1, ";"},
      {Vk::Oem4, "["},
      {Vk::Oem7, "'"},
      {Vk::PrintScreen, "Prnt Scrn"},
      {Vk::Pause, "Pause"},
      {Vk::LeftWin, "Left Windows"},
  };
  for (const auto& [vk, name] : cases) EXPECT_EQ(KeyName(vk), name) << vk;
}

TEST(KeyNames, KeysWithoutANameShowTheirCode) {
  const std::pair<uint32_t, const char*> cases[] = {
      {0xE8, "0xE8"},
      {0x07, "0x07"},
      {Vk::Separator, "0x6C"},
      {Vk::Oem8, "0xDF"},
      // Only the low byte is shown, and a code above 255 never borrows the name of its low byte.
      {0x1E8, "0xE8"},
      {0x141, "0x41"},
  };
  for (const auto& [vk, name] : cases) EXPECT_EQ(KeyName(vk), name) << vk;
}

TEST(HotkeyChord, TextJoinsModifiersInFixedOrderBeforeTheKey) {
  struct Case {
    HotkeyChord chord;
    const char* text;
  };
  const Case cases[] = {
      {{Modifier::Ctrl | Modifier::Shift, Vk::F1 + 4}, "Ctrl + Shift + F5"},
      {{Modifier::Win, 'A'}, "Win + A"},
      {{Modifier::Ctrl, 0xE8}, "Ctrl + 0xE8"},
      {{0, Vk::F1 + 1}, "F2"},
      {{Modifier::Win | Modifier::Alt | Modifier::Shift | Modifier::Ctrl, Vk::Delete},
       "Ctrl + Shift + Alt + Win + Delete"},
      {{Modifier::Alt, Vk::Oem4}, "Alt + ["},
      // No key, no chord, whatever the modifiers say.
      {{Modifier::Ctrl, 0}, ""},
      {{}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(HotkeyChord::Text(c.chord), c.text);
}

TEST(HotkeyChord, ModifiersTextNamesOnlyTheHeldModifiers) {
  EXPECT_EQ(ModifiersText(0), "");
  EXPECT_EQ(ModifiersText(Modifier::Alt | Modifier::Ctrl), "Ctrl + Alt");
  EXPECT_EQ(ModifiersText(Modifier::Shift), "Shift");
  EXPECT_EQ(ModifiersText(Modifier::Win | Modifier::Shift), "Shift + Win");
}

TEST(HotkeyChord, ChordsAreEqualWhenBothMembersAre) {
  EXPECT_EQ((HotkeyChord{Modifier::Ctrl, 'O'}), (HotkeyChord{Modifier::Ctrl, 'O'}));
  EXPECT_NE((HotkeyChord{Modifier::Ctrl, 'O'}), (HotkeyChord{Modifier::Ctrl | Modifier::Shift, 'O'}));
  EXPECT_NE((HotkeyChord{Modifier::Ctrl, 'O'}), (HotkeyChord{Modifier::Ctrl, 'P'}));
}

}  // namespace
}  // namespace Quarlo::Widget::Input
