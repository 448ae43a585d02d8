#pragma once
// The read-only list of every command with its shortcuts, grouped as the menus group them, and what the
// mouse does; from it the user can go on to change the shortcuts.

#include <memory>

#include "widget/links.h"

namespace Quarlo::Widget::Kit {
class DialogBuilder;
}

namespace App {

class KeyMap;

// How the list was left.
enum class ShortcutListChoice { Close, ChangeShortcuts };

// offerChange adds the "Change shortcuts…" button (where there is a settings dialog to go on to).
std::unique_ptr<Quarlo::Widget::Kit::DialogBuilder> BuildShortcutListDialog(const KeyMap& keys,
                                                                            bool offerChange);
ShortcutListChoice ShowShortcutListDialog(Quarlo::Widget::NativeHandle owner, const KeyMap& keys,
                                          bool offerChange);

}  // namespace App
