// Display texts of key chords.

#include "widget/input/hotkey_chord.h"

#include "widget/input/events.h"
#include "widget/input/key_names.h"
#include "widget/input/virtual_keys.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr const char* kJoiner = " + ";

void Append(std::string& text, const std::string& part) {
  if (!text.empty()) text += kJoiner;
  text += part;
}

}  // namespace

std::string ModifiersText(uint32_t modifiers) {
  std::string text;
  if (modifiers & Modifier::Ctrl) Append(text, KeyName(Vk::Ctrl));
  if (modifiers & Modifier::Shift) Append(text, KeyName(Vk::Shift));
  if (modifiers & Modifier::Alt) Append(text, KeyName(Vk::Alt));
  if (modifiers & Modifier::Win) Append(text, "Win");
  return text;
}

std::string HotkeyChord::Text(const HotkeyChord& chord) {
  if (chord.IsEmpty()) return {};
  std::string text = ModifiersText(chord.modifiers);
  Append(text, KeyName(chord.key));
  return text;
}

}  // namespace Quarlo::Widget::Input
