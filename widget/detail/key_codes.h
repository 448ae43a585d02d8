#pragma once
// GDK key events to the Windows virtual-key codes that the toolkit and the viewer's shortcuts keep, as a
// Windows keyboard would report the same key:
// - letters follow the active layout where it types Latin letters (the key marked Z on a German keyboard
//   gives Z) and the key's US-layout position where it does not (Russian, Greek), so Ctrl+C works in
//   every layout;
// - digits and the punctuation keys follow their US-layout position, whatever the layout prints on them;
// - function, navigation, modifier and keypad keys follow their symbol (keypad digits under Num Lock,
//   navigation codes without it).
// No GDK type appears here; the native window passes plain numbers.

#include <cstdint>
#include <functional>

namespace Quarlo::Widget::Detail {

// What the native window knows of a key press.
struct KeyPress {
  uint32_t keyval = 0;     // the key's symbol at level 0 of the active group, with the Num Lock state applied
  uint32_t keycode = 0;    // X11 hardware keycode (evdev code + 8); 0 when unknown
  bool latinGroup = true;  // the active group types Latin letters (TypesLatinLetters)
};

// The key as a Windows key message describes it.
struct WindowsKey {
  uint32_t vk = 0;        // virtual-key code; 0 when the key has none and is not reported
  uint32_t scanCode = 0;  // set-1 scan code without its E0 prefix; 0 when unknown
  bool extended = false;  // the extended-key flag (E0-prefixed keys and Num Lock)
};

WindowsKey TranslateKey(const KeyPress& press);

// Whether a keyboard group puts Latin letters on its letter keys: levelZeroKeyval gives the symbol a
// hardware keycode has at level 0 of that group. True when most of the 26 US letter positions type a to z
// (AZERTY, QWERTZ, Dvorak); false for Cyrillic, Greek, Hebrew and other scripts.
bool TypesLatinLetters(const std::function<uint32_t(uint32_t keycode)>& levelZeroKeyval);

}  // namespace Quarlo::Widget::Detail
