#include "app/key_dispatch.h"

#include "app/key_map.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"

namespace App {
namespace {

namespace Vk = Quarlo::Widget::Vk;
using Quarlo::Widget::KeyEvent;
namespace Modifier = Quarlo::Widget::Modifier;

// The dispatch looks at Shift, Ctrl and Alt only.
constexpr uint8_t kChordModifiers = Modifier::Shift | Modifier::Ctrl | Modifier::Alt;

// The keys the image list takes for itself while it is shown.
bool IsListKey(uint32_t key) {
  switch (key) {
    case Vk::Enter:
    case Vk::Space:
    case Vk::PageUp:
    case Vk::PageDown:
    case Vk::End:
    case Vk::Home:
    case Vk::Left:
    case Vk::Up:
    case Vk::Right:
    case Vk::Down:
      return true;
    default:
      return false;
  }
}

// Holding a key repeats only paging and zooming; anything else runs once per press.
bool Repeats(CommandId id) {
  switch (id) {
    case CommandId::Next:
    case CommandId::Previous:
    case CommandId::Forward10:
    case CommandId::Back10:
    case CommandId::ZoomIn:
    case CommandId::ZoomOut:
      return true;
    default:
      return false;
  }
}

// Right-to-left two-page reading turns the arrow keys around: Left goes forward.
CommandId MangaSwap(CommandId found, uint32_t key, const KeyContext& context) {
  if (!context.rightToLeft || context.pageMode != Quarlo::View::PageMode::TwoPages) return found;
  if (key != Vk::Left && key != Vk::Right) return found;
  if (found == CommandId::Next) return CommandId::Previous;
  if (found == CommandId::Previous) return CommandId::Next;
  return found;
}

}  // namespace

KeyDecision DecideKey(const KeyEvent& event, const KeyContext& context, const KeyMap& keys) {
  const uint8_t modifiers = event.modifiers & kChordModifiers;
  const bool plain = modifiers == 0;
  if (context.focusTakesText) return {};
  if (event.key == Vk::Escape && plain) return {KeyAction::EscRule};
  if (event.key == Vk::Tab) return {};
  if (context.imageListShown && plain && IsListKey(event.key)) return {};
  if (context.buttonFocusShown && plain && (event.key == Vk::Space || event.key == Vk::Enter)) return {};
  if (plain && context.listOpen && !context.imageListShown) {
    if (event.key == Vk::Up) return {KeyAction::ScrollUp};
    if (event.key == Vk::Down) return {KeyAction::ScrollDown};
  }
  const std::optional<CommandId> found = keys.FindCommand(HotkeyChord{modifiers, event.key});
  if (!found) return {};
  const CommandId command = MangaSwap(*found, event.key, context);
  if (event.repeat && !Repeats(command)) return {KeyAction::Swallow, command};
  return {KeyAction::Run, command};
}

}  // namespace App
