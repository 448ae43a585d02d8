#include "app/key_dispatch.h"

#include <gtest/gtest.h>

#include "app/key_map.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"

namespace {

using App::CommandId;
using App::DecideKey;
using App::KeyAction;
using App::KeyContext;
using App::KeyDecision;
using Quarlo::View::PageMode;
using Quarlo::Widget::KeyEvent;
namespace Vk = Quarlo::Widget::Vk;
namespace Modifier = Quarlo::Widget::Modifier;

KeyEvent Key(uint32_t key, uint8_t modifiers = 0, bool repeat = false) {
  KeyEvent event;
  event.key = key;
  event.modifiers = modifiers;
  event.repeat = repeat;
  return event;
}

KeyDecision Runs(CommandId id) { return {KeyAction::Run, id}; }
constexpr KeyDecision kPassOn{};

struct Case {
  const char* what;
  KeyEvent event;
  KeyContext context;
  KeyDecision expected;
};

KeyContext Open() {
  KeyContext context;
  context.listOpen = true;
  return context;
}

KeyContext With(void (*change)(KeyContext&)) {
  KeyContext context = Open();
  change(context);
  return context;
}

TEST(KeyDispatchTest, DecidesEachKeyByTheRulesInOrder) {
  const KeyContext rtlTwoPages = With([](KeyContext& c) {
    c.rightToLeft = true;
    c.pageMode = PageMode::TwoPages;
  });
  const KeyContext rtlSinglePage = With([](KeyContext& c) { c.rightToLeft = true; });
  const KeyContext textFocus = With([](KeyContext& c) { c.focusTakesText = true; });
  const KeyContext listShown = With([](KeyContext& c) { c.imageListShown = true; });
  const KeyContext buttonFocus = With([](KeyContext& c) { c.buttonFocusShown = true; });
  const Case cases[] = {
      {"a default chord runs its command", Key(Vk::Right), Open(), Runs(CommandId::Next)},
      {"a second default chord of the same command", Key(Vk::PageDown), Open(), Runs(CommandId::Next)},
      {"modifiers choose another command", Key(Vk::PageDown, Modifier::Ctrl), Open(),
       Runs(CommandId::Forward10)},
      {"the Win key is not part of a chord", Key(Vk::Right, Modifier::Win), Open(), Runs(CommandId::Next)},
      {"an unbound key goes on", Key(Vk::F1 + 11), Open(), kPassOn},
      {"Esc follows the Esc rule", Key(Vk::Escape), Open(), {KeyAction::EscRule}},
      {"Shift+Esc is no Esc rule", Key(Vk::Escape, Modifier::Shift), Open(), kPassOn},
      {"Tab is never a command", Key(Vk::Tab), Open(), kPassOn},
      {"manga order: Left goes forward", Key(Vk::Left), rtlTwoPages, Runs(CommandId::Next)},
      {"manga order: Right goes back", Key(Vk::Right), rtlTwoPages, Runs(CommandId::Previous)},
      {"manga order keeps Page Down forward", Key(Vk::PageDown), rtlTwoPages, Runs(CommandId::Next)},
      {"right-to-left alone does not swap in single pages", Key(Vk::Left), rtlSinglePage,
       Runs(CommandId::Previous)},
      {"holding Right repeats Next", Key(Vk::Right, 0, true), Open(), Runs(CommandId::Next)},
      {"holding Ctrl+Page Up repeats Back10", Key(Vk::PageUp, Modifier::Ctrl, true), Open(),
       Runs(CommandId::Back10)},
      {"holding Ctrl+Plus repeats ZoomIn", Key(Vk::OemPlus, Modifier::Ctrl, true), Open(),
       Runs(CommandId::ZoomIn)},
      {"holding Delete deletes once",
       Key(Vk::Delete, 0, true),
       Open(),
       {KeyAction::Swallow, CommandId::Delete}},
      {"holding F11 does not flip full screen",
       Key(Vk::F1 + 10, 0, true),
       Open(),
       {KeyAction::Swallow, CommandId::Fullscreen}},
      {"text input takes every key", Key(Vk::Right), textFocus, kPassOn},
      {"text input takes Esc too", Key(Vk::Escape), textFocus, kPassOn},
      {"the image list takes arrows", Key(Vk::Right), listShown, kPassOn},
      {"the image list takes Enter", Key(Vk::Enter), listShown, kPassOn},
      {"the image list leaves chords with modifiers", Key(Vk::PageDown, Modifier::Ctrl), listShown,
       Runs(CommandId::Forward10)},
      {"a focused button takes Space", Key(Vk::Space), buttonFocus, kPassOn},
      {"a focused button takes Enter", Key(Vk::Enter), buttonFocus, kPassOn},
      {"a focused button leaves arrows", Key(Vk::Right), buttonFocus, Runs(CommandId::Next)},
      {"Up scrolls an open list", Key(Vk::Up), Open(), {KeyAction::ScrollUp}},
      {"Down scrolls an open list", Key(Vk::Down), Open(), {KeyAction::ScrollDown}},
      {"Up without a list is no scroll", Key(Vk::Up), KeyContext{}, kPassOn},
      {"Down goes to the shown image list", Key(Vk::Down), listShown, kPassOn},
      {"Shift+Down is no scroll", Key(Vk::Down, Modifier::Shift), Open(), kPassOn},
  };
  const App::KeyMap keys;
  for (const Case& c : cases) {
    const KeyDecision got = DecideKey(c.event, c.context, keys);
    EXPECT_EQ(got.action, c.expected.action) << c.what;
    if (c.expected.action == KeyAction::Run || c.expected.action == KeyAction::Swallow) {
      EXPECT_EQ(got.command, c.expected.command) << c.what;
    }
  }
}

TEST(KeyDispatchTest, FollowsReassignedChords) {
  App::KeyMap keys;
  keys.LoadOverrides({{"Next", "0:78"}});
  EXPECT_EQ(DecideKey(Key('N'), Open(), keys), Runs(CommandId::Next));
  EXPECT_EQ(DecideKey(Key(Vk::Right), Open(), keys).action, KeyAction::PassOn);
}

}  // namespace
