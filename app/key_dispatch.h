#pragma once
// How a key press in the viewer window becomes a command: the window's key-down preview asks this first,
// before the focused widget sees the key. Pure: it reads the press, what the window shows and the key map,
// and says what to do, so every rule is tested without a window.

#include <cstdint>

#include "app/commands.h"
#include "core/setting_choices.h"

namespace Quarlo::Widget {
struct KeyEvent;
}

namespace App {

class KeyMap;

// What the window shows and where the focus is, as far as the dispatch cares.
struct KeyContext {
  bool focusTakesText = false;  // the focused widget accepts composed text or wants system keys
  bool imageListShown = false;
  bool buttonFocusShown = false;  // focus cues are shown and a button has the focus
  bool listOpen = false;          // a picture list is open
  bool rightToLeft = false;
  Quarlo::View::PageMode pageMode = Quarlo::View::PageMode::SinglePage;
};

enum class KeyAction : int32_t {
  PassOn = 0,      // not a command: normal routing to the focused widget
  EscRule = 1,     // Esc without modifiers: the window's Esc rule; consumed
  ScrollUp = 2,    // Up without modifiers over an open list: scroll the view; consumed
  ScrollDown = 3,  // Down likewise
  Run = 4,         // run the command; consumed
  Swallow = 5,     // an automatic repeat of a command that does not repeat; consumed without effect
};

struct KeyDecision {
  KeyAction action = KeyAction::PassOn;
  CommandId command = CommandId::Open;  // for Run
  friend bool operator==(const KeyDecision&, const KeyDecision&) = default;
};

// The view scrolls this far (DIPs) for Up and Down.
inline constexpr float kKeyScrollStep = 80;

KeyDecision DecideKey(const Quarlo::Widget::KeyEvent& event, const KeyContext& context, const KeyMap& keys);

}  // namespace App
