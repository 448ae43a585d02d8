#pragma once
// GDK key symbols to Windows virtual-key codes, which the toolkit and the viewer's shortcuts keep, and the
// display names of those codes. Letters and digits follow the key's unshifted symbol in the active layout;
// punctuation keys follow their US-layout position, so a shortcut stays on the same physical key.
// No GDK type appears here, so portable code may show key names.

#include <cstdint>
#include <string>

namespace Quarlo::Widget::Detail {

// The virtual-key code of a key press: keyval is the key's symbol at level 0 of the active group (no
// modifiers), keycode its X11 hardware keycode (evdev code + 8). 0 when the key has no code.
uint32_t VirtualKeyFor(uint32_t keyval, uint32_t keycode);
// The code for a symbol alone (letters, digits, function, navigation, keypad and modifier keys); 0 else.
uint32_t VirtualKeyFromKeyval(uint32_t keyval);
// The code of a punctuation key by its position on a US keyboard (X11 hardware keycode); 0 else.
uint32_t VirtualKeyFromPosition(uint32_t keycode);
// True for the keys Windows marks as extended (navigation cluster, right-hand modifiers, keypad Enter, ...).
bool IsExtendedKeyval(uint32_t keyval);

// The English name of a virtual-key code ("Ctrl", "Page Up", "F5", "A", ";"), or "0x%02X" of its low byte.
std::string KeyName(uint32_t vk);

}  // namespace Quarlo::Widget::Detail
