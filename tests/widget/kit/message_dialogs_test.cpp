// Question and message dialogs run modally over a headless owner and answered by keyboard: Enter, Escape,
// access keys and Tab, the results by button, the hooks the application sees, and a layout in English and
// Korean at 100 % and 200 % in which every text fits.

#include "widget/kit/message_dialogs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "support/headless_window.h"
#include "support/input_events.h"
#include "widget/application.h"
#include "widget/input/button.h"
#include "widget/input/icon.h"
#include "widget/input/label.h"
#include "widget/input/virtual_keys.h"
#include "widget/kit/kit_settings.h"
#include "widget/toolkit_language.h"
#include "widget/window.h"

namespace Quarlo::Widget::Kit {
namespace {

using Testing::HeadlessWindow;
using Testing::Key;

std::vector<Input::Button*> ButtonsOf(Window& dialog) {
  std::vector<Input::Button*> buttons;
  ForEachInTree(dialog.Root(), [&](Widget* w) {
    if (auto* button = dynamic_cast<Input::Button*>(w)) buttons.push_back(button);
  });
  return buttons;
}

// Runs the test's steps on each dialog the helpers show, once it runs modally, and records what the hooks
// were given. The steps must end the dialog, as a user would.
class DialogScript {
 public:
  explicit DialogScript(std::function<void(Window&)> steps) : steps_(std::move(steps)) {
    SettingsRecord().adjustDialogOptions = [this](WindowOptions& options) { options_.push_back(options); };
    SettingsRecord().onDialogShown = [this](Window& dialog, const std::string& title) {
      titles_.push_back(title);
      if (before) before(dialog);
      Window* shown = &dialog;
      // Posted: it runs inside the modal loop, after the dialog was sized and shown.
      Application::Instance().Post([this, shown] { steps_(*shown); });
    };
  }
  ~DialogScript() {
    SettingsRecord() = KitSettings{};
    SetToolkitLanguage(std::nullopt);
  }

  std::function<void(Window&)> before;
  const std::vector<std::string>& Titles() const { return titles_; }
  const std::vector<WindowOptions>& Options() const { return options_; }

 private:
  std::function<void(Window&)> steps_;
  std::vector<std::string> titles_;
  std::vector<WindowOptions> options_;
};

void Press(Window& dialog, uint32_t key, uint8_t modifiers = 0, std::string_view text = {}) {
  HeadlessWindow::Of(dialog).KeyDown(Key(key, modifiers), text);
  HeadlessWindow::Of(dialog).KeyUp(Key(key, modifiers));
}

struct Owner {
  Owner() {
    window.Create(WindowOptions{});
    window.Show(true);
  }
  Window window;
};

const std::vector<std::string> kThree{"&Save", "Do&n't save", "Cancel"};

TEST(AskChoice, EnterPicksTheDefaultAndEscapeTheLastButton) {
  struct Case {
    const char* what;
    uint32_t key;
    int expected;
  };
  for (const Case& c : {Case{"Enter", Vk::Enter, 1}, Case{"Escape", Vk::Escape, 2}}) {
    SCOPED_TRACE(c.what);
    Owner owner;
    bool ownerTookInput = true;
    DialogScript script([&](Window& dialog) {
      ownerTookInput = owner.window.IsInputEnabled();
      const std::vector<Input::Button*> buttons = ButtonsOf(dialog);
      ASSERT_EQ(buttons.size(), 3u);
      // The middle one is the default: accent look and the keyboard focus.
      EXPECT_EQ(buttons[1]->Style(), Input::ButtonStyle::Accent);
      EXPECT_EQ(buttons[0]->Style(), Input::ButtonStyle::Standard);
      EXPECT_TRUE(buttons[1]->IsFocused());
      Press(dialog, c.key);
    });
    EXPECT_EQ(AskChoice(owner.window.Handle(), "Save", "Save the changes?", kThree, 1, MessageKind::Question),
              c.expected);
    EXPECT_FALSE(ownerTookInput);
    EXPECT_TRUE(owner.window.IsInputEnabled());
    EXPECT_EQ(script.Titles(), std::vector<std::string>{"Save"});
  }
}

TEST(AskChoice, ClosingTheWindowAnswersNothing) {
  Owner owner;
  DialogScript script([](Window& dialog) { HeadlessWindow::Of(dialog).RequestClose(); });
  EXPECT_EQ(AskChoice(owner.window.Handle(), "Save", "Save?", kThree, 1, MessageKind::Question), -1);
}

TEST(AskChoice, WithoutADefaultTheDialogLeavesEnterToTheFocusedButton) {
  Owner owner;
  std::vector<std::string> log;
  DialogScript script([&](Window& dialog) {
    for (Input::Button* button : ButtonsOf(dialog)) {
      if (button->Style() == Input::ButtonStyle::Accent) log.push_back("accent " + button->Text());
      if (button->IsFocused()) log.push_back("focused " + button->Text());
    }
    // The dialog itself has no default to push; Enter reaches only the button Tab entered at.
    if (!dialog.OnUnhandledKey(Key(Vk::Enter))) log.push_back("dialog passes enter on");
    Press(dialog, Vk::Enter);
  });
  EXPECT_EQ(AskChoice(owner.window.Handle(), "Save", "Save?", kThree, 7, MessageKind::Warning), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"focused &Save", "dialog passes enter on"}));
}

TEST(AskChoice, AccessKeysAndTabReachEveryButton) {
  struct Case {
    const char* what;
    std::function<void(Window&)> steps;
    int expected;
  };
  const Case cases[] = {
      {"Alt+N", [](Window& d) { Press(d, 'N', Modifier::Alt, "n"); }, 1},
      {"Alt+S", [](Window& d) { Press(d, 'S', Modifier::Alt, "s"); }, 0},
      // Tab goes from the default (the middle button) to the last one; Enter pushes the focused button.
      {"Tab Enter", [](Window& d) { Press(d, Vk::Tab), Press(d, Vk::Enter); }, 2},
      // Shift+Tab twice wraps from the first button to the last; Space pushes it.
      {"Shift+Tab Shift+Tab Space",
       [](Window& d) {
         Press(d, Vk::Tab, Modifier::Shift);
         Press(d, Vk::Tab, Modifier::Shift);
         Press(d, Vk::Space);
       },
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Owner owner;
    DialogScript script(c.steps);
    EXPECT_EQ(AskChoice(owner.window.Handle(), "Save", "Save?", kThree, 1, MessageKind::Question),
              c.expected);
  }
}

TEST(AskChoice, ButtonsShowTheToolkitTextsInItsLanguage) {
  Owner owner;
  std::vector<std::string> shown;
  DialogScript script([&](Window& dialog) {
    for (Input::Button* button : ButtonsOf(dialog)) shown.push_back(button->DisplayText());
    Press(dialog, Vk::Enter);
  });
  SetToolkitLanguage(ToolkitLanguageId::Korean);
  const std::vector<std::string> buttons{ToolkitString(ToolkitText::Yes), ToolkitString(ToolkitText::No)};
  EXPECT_EQ(AskChoice(owner.window.Handle(), "질문", "계속할까요?", buttons, 0, MessageKind::Question), 0);
  EXPECT_EQ(shown, (std::vector<std::string>{"예", "아니요"}));
}

TEST(AskChoice, MessageRowShowsTheGlyphOfItsKind) {
  struct Case {
    MessageKind kind;
    char32_t glyph;
    TextTone tone;
  };
  const Case cases[] = {{MessageKind::Information, 0xE946, TextTone::Accent},
                        {MessageKind::Warning, 0xE7BA, TextTone::Caution},
                        {MessageKind::Error, 0xEA39, TextTone::Critical},
                        {MessageKind::Question, 0xE897, TextTone::Accent},
                        {MessageKind::None, 0, TextTone::Primary}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    Owner owner;
    std::vector<Input::Icon*> icons;
    std::string message;
    DialogScript script([&](Window& dialog) {
      ForEachInTree(dialog.Root(), [&](Widget* w) {
        if (auto* icon = dynamic_cast<Input::Icon*>(w)) icons.push_back(icon);
        if (auto* label = dynamic_cast<Input::Label*>(w)) message = label->Text();
      });
      if (!icons.empty()) {
        EXPECT_EQ(icons[0]->Glyph(), c.glyph);
        EXPECT_EQ(icons[0]->Tone(), c.tone);
        EXPECT_EQ(icons[0]->GlyphSize(), 32);
      }
      Press(dialog, Vk::Escape);
    });
    AskChoice(owner.window.Handle(), "Title", "The message", {"OK"}, 0, c.kind);
    EXPECT_EQ(icons.size(), c.glyph == 0 ? 0u : 1u);
    EXPECT_EQ(message, "The message");
  }
}

TEST(ShowMessage, OneOkButtonInTheToolkitLanguageAnswersEnterAndEscape) {
  for (uint32_t key : {Vk::Enter, Vk::Escape}) {
    Owner owner;
    std::vector<std::string> texts;
    DialogScript script([&](Window& dialog) {
      for (Input::Button* button : ButtonsOf(dialog)) texts.push_back(button->Text());
      Press(dialog, key);
    });
    SetToolkitLanguage(ToolkitLanguageId::Korean);
    ShowMessage(owner.window.Handle(), "QuarloView", "그림을 열 수 없습니다.");
    EXPECT_EQ(texts, std::vector<std::string>{"확인"});
    ASSERT_EQ(script.Options().size(), 1u);
    EXPECT_EQ(script.Options()[0].size.width, 420);
    EXPECT_EQ(script.Options()[0].size.height, 100);
    EXPECT_EQ(script.Options()[0].title, "QuarloView");
  }
}

// Every label and button of the dialog got at least the size its text measured, and lies inside the window.
void ExpectNothingClipped(Window& dialog) {
  dialog.UpdateLayout();
  const Size client = dialog.ClientSize();
  int texts = 0;
  ForEachInTree(dialog.Root(), [&](Widget* w) {
    if (!dynamic_cast<Input::Label*>(w) && !dynamic_cast<Input::Button*>(w)) return;
    ++texts;
    SCOPED_TRACE(w->AccessibleName());
    const Size desired = w->DesiredSize();
    EXPECT_GE(w->ActualSize().width + 0.01f, desired.width);
    EXPECT_GE(w->ActualSize().height + 0.01f, desired.height);
    const Point at = w->LocalToWindow(Point{0, 0});
    EXPECT_GE(at.x, 0);
    EXPECT_GE(at.y, 0);
    EXPECT_LE(at.x + w->ActualSize().width, client.width + 0.01f);
    EXPECT_LE(at.y + w->ActualSize().height, client.height + 0.01f);
  });
  EXPECT_GE(texts, 3);
}

TEST(AskChoice, TextsFitInEnglishAndKoreanAtTwoScales) {
  struct Texts {
    const char* message;
    std::vector<std::string> buttons;
  };
  const Texts english{
      "Album folder 1 is not chosen yet. Choose it now? The pictures you send there are copied "
      "and stay where they are.",
      {"Choose folder", "Open the folder in the file manager", "Cancel"}};
  const Texts korean{
      "앨범 폴더 1이 아직 정해지지 않았습니다. 지금 고를까요? 보낸 그림은 복사되고 원래 자리에 "
      "그대로 남습니다.",
      {"폴더 선택", "파일 관리자에서 폴더 열기", "취소"}};
  for (const Texts* texts : {&english, &korean}) {
    for (float dpi : {96.0f, 192.0f}) {
      SCOPED_TRACE(std::string(texts->message).substr(0, 12) + " at " + std::to_string(dpi));
      Owner owner;
      float clientWidth = 0;
      DialogScript script([&](Window& dialog) {
        EXPECT_EQ(dialog.Dpi(), dpi);
        clientWidth = dialog.ClientSize().width;
        ExpectNothingClipped(dialog);
        Press(dialog, Vk::Escape);
      });
      script.before = [dpi](Window& dialog) { HeadlessWindow::Of(dialog).ChangeDpi(dpi); };
      EXPECT_EQ(
          AskChoice(owner.window.Handle(), "Album", texts->message, texts->buttons, 0, MessageKind::Question),
          2);
      // The window is as wide as the question asks, or wider when its buttons need more.
      EXPECT_GE(clientWidth, 460);
    }
  }
}

}  // namespace
}  // namespace Quarlo::Widget::Kit
