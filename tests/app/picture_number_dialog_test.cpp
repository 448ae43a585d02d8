// The "Go to number" dialog, run modally in a headless window and answered from the keyboard.

#include "app/picture_number_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/strings.h"
#include "support/headless_window.h"
#include "support/input_events.h"
#include "widget/application.h"
#include "widget/host.h"
#include "widget/input/label.h"
#include "widget/input/number_box.h"
#include "widget/input/virtual_keys.h"
#include "widget/kit/kit_settings.h"
#include "widget/window.h"

namespace App {
namespace {

using namespace Quarlo::Widget;
using Testing::HeadlessWindow;
using Testing::Key;

struct Seen {
  std::string title;
  std::string prompt;
  std::string shown;
  float width = 0;
};

// Runs the dialog over a window; once it shows, types text (replacing the selected number) and presses key.
std::optional<uint64_t> Answer(uint64_t count, uint64_t current, std::string text, uint32_t key, Seen& seen) {
  Window owner;
  owner.Create(WindowOptions{});
  Kit::SettingsRecord().onDialogShown = [&](Window& dialog, const std::string& title) {
    seen.title = title;
    seen.width = dialog.ClientSize().width;
    ForEachInTree(dialog.Root(), [&](Widget* w) {
      if (auto* label = dynamic_cast<Input::Label*>(w)) seen.prompt = label->Text();
      if (auto* box = dynamic_cast<Input::NumberBox*>(w)) seen.shown = box->ValueText();
    });
    Window* window = &dialog;
    Application::Instance().Post([window, text, key] {
      HeadlessWindow& native = HeadlessWindow::Of(*window);
      if (!text.empty()) native.Commit(text);
      native.KeyDown(Key(key));
    });
  };
  std::optional<uint64_t> result = AskPictureNumber(owner.Handle(), count, current);
  Kit::SettingsRecord() = Kit::KitSettings{};
  return result;
}

TEST(AskPictureNumber, EnterGoesToTheTypedNumber) {
  Quarlo::View::SetKoreanStrings(false);
  Seen seen;
  EXPECT_EQ(Answer(1234, 5, "7", Vk::Enter, seen), 7u);
  EXPECT_EQ(seen.title, "Go to number");
  EXPECT_EQ(seen.prompt, "Image number (1–1,234)");
  EXPECT_EQ(seen.shown, "5");
  EXPECT_EQ(seen.width, 360);
  Quarlo::View::SetKoreanStrings(true);
  EXPECT_EQ(Answer(12, 1, "2", Vk::Enter, seen), 2u);
  EXPECT_EQ(seen.title, "번호로 이동");
  EXPECT_EQ(seen.prompt, "이미지 번호(1–12)");
}

TEST(AskPictureNumber, NumbersOutsideTheListAreClamped) {
  Seen seen;
  EXPECT_EQ(Answer(12, 3, "99", Vk::Enter, seen), 12u);
  EXPECT_EQ(Answer(12, 3, "", Vk::Enter, seen), 3u);
}

TEST(AskPictureNumber, EscapeAnswersNothing) {
  Seen seen;
  EXPECT_EQ(Answer(12, 3, "9", Vk::Escape, seen), std::nullopt);
}

}  // namespace
}  // namespace App
