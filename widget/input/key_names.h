#pragma once
// Display names of virtual-key codes, as shortcut texts show them.

#include <cstdint>
#include <string>

namespace Quarlo::Widget::Input {

// The English name a US keyboard gives the key ("Ctrl", "Page Up", "Num 7", "F5", "A", ";"), the same
// on every keyboard layout because shortcuts are kept by key position; "0x%02X" of the code's low byte
// for a key without a name (0xE8 gives "0xE8").
std::string KeyName(uint32_t vk);

}  // namespace Quarlo::Widget::Input
