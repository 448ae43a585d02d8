// The key name table. The names are those a Windows US keyboard reports for each key, so a shortcut reads
// the same on Linux and Windows and whatever the active layout prints on the key: users of other layouts
// find their keys by position, as the key codes themselves are kept.

#include "widget/input/key_names.h"

#include <fmt/format.h>

#include "widget/input/virtual_keys.h"

namespace Quarlo::Widget::Input {
namespace {

struct CodeName {
  uint32_t vk;
  const char* name;
};

constexpr CodeName kNames[] = {
    {Vk::Backspace, "Backspace"},
    {Vk::Tab, "Tab"},
    {Vk::Clear, "Num 5"},
    {Vk::Enter, "Enter"},
    {Vk::Shift, "Shift"},
    {Vk::Ctrl, "Ctrl"},
    {Vk::Alt, "Alt"},
    {Vk::Pause, "Pause"},
    {Vk::CapsLock, "Caps Lock"},
    {Vk::Escape, "Esc"},
    {Vk::Space, "Space"},
    {Vk::PageUp, "Page Up"},
    {Vk::PageDown, "Page Down"},
    {Vk::End, "End"},
    {Vk::Home, "Home"},
    {Vk::Left, "Left"},
    {Vk::Up, "Up"},
    {Vk::Right, "Right"},
    {Vk::Down, "Down"},
    {Vk::PrintScreen, "Prnt Scrn"},
    {Vk::Insert, "Insert"},
    {Vk::Delete, "Delete"},
    {Vk::LeftWin, "Left Windows"},
    {Vk::RightWin, "Right Windows"},
    {Vk::Applications, "Application"},
    {Vk::Multiply, "Num *"},
    {Vk::Add, "Num +"},
    {Vk::Subtract, "Num -"},
    {Vk::Decimal, "Num Del"},
    {Vk::Divide, "Num /"},
    {Vk::NumLock, "Num Lock"},
    {Vk::ScrollLock, "Scroll Lock"},
    {Vk::LeftShift, "Shift"},
    {Vk::RightShift, "Right Shift"},
    {Vk::LeftCtrl, "Ctrl"},
    {Vk::RightCtrl, "Right Ctrl"},
    {Vk::LeftAlt, "Alt"},
    {Vk::RightAlt, "Right Alt"},
    {Vk::Oem1, ";"},
    {Vk::OemPlus, "="},
    {Vk::OemComma, ","},
    {Vk::OemMinus, "-"},
    {Vk::OemPeriod, "."},
    {Vk::Oem2, "/"},
    {Vk::Oem3, "`"},
    {Vk::Oem4, "["},
    {Vk::Oem5, "\\"},
    {Vk::Oem6, "]"},
    {Vk::Oem7, "'"},
    {Vk::Oem102, "\\"},
};

}  // namespace

std::string KeyName(uint32_t vk) {
  if ((vk >= Vk::Digit0 && vk <= Vk::Digit9) || (vk >= Vk::A && vk <= Vk::Z)) {
    return std::string(1, static_cast<char>(vk));
  }
  if (vk >= Vk::Numpad0 && vk <= Vk::Numpad9) return fmt::format("Num {}", vk - Vk::Numpad0);
  if (vk >= Vk::F1 && vk <= Vk::F24) return fmt::format("F{}", vk - Vk::F1 + 1);
  for (const CodeName& entry : kNames) {
    if (entry.vk == vk) return entry.name;
  }
  return fmt::format("0x{:02X}", vk & 0xFFu);
}

}  // namespace Quarlo::Widget::Input
