// A small program that exercises the dialog helpers under Xvfb for the end-to-end tests: a main window that
// takes dropped files, and keys that open the question and message dialogs and the Open file and folder
// pickers, each outcome written as a trace line (QUARLO_VIEW_TRACE). Keys in the main window: A asks a
// question, M shows a message, O picks a file, F picks a folder, Q quits. With QUARLO_VIEW_SHOTS naming a
// folder it instead pictures the question and the message dialog in both languages, both themes and at
// 100 % and 200 %, and exits.

#include <fmt/format.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/env_switches.h"
#include "core/trace.h"
#include "widget/application.h"
#include "widget/canvas.h"
#include "widget/gallery.h"
#include "widget/input/events.h"
#include "widget/kit/file_drop_target.h"
#include "widget/kit/kit_settings.h"
#include "widget/kit/message_dialogs.h"
#include "widget/kit/pickers.h"
#include "widget/theme.h"
#include "widget/toolkit_language.h"
#include "widget/window.h"
#include "widget/window_image.h"

namespace {

using namespace Quarlo::Widget;
using Quarlo::View::Trace;

// The main window's content: a plain panel that takes the keyboard.
class KeyPanel : public Widget {
 public:
  std::function<bool(const KeyEvent&)> onKey;

  bool IsFocusable() const override { return true; }
  bool OnKeyDown(const KeyEvent& event) override { return onKey && onKey(event); }
  void Paint(Canvas& canvas) override {
    canvas.FillRect(Rect{0, 0, ActualSize().width, ActualSize().height},
                    GetTheme().Get(ThemeColor::LayerFill));
  }
};

struct QuestionTexts {
  std::string title;
  std::string message;
  std::vector<std::string> buttons;
  std::string error;
};

QuestionTexts TextsFor(ToolkitLanguageId language) {
  if (language == ToolkitLanguageId::Korean) {
    return {"삭제",
            "‘해변 노을 2024.jpg’을(를) 휴지통으로 옮길까요? 휴지통에서 다시 꺼낼 수 있습니다.",
            {"휴지통으로 이동(&M)", "영구 삭제(&D)", ToolkitString(ToolkitText::Cancel)},
            "‘해변 노을 2024.jpg’을(를) 열 수 없습니다. 파일이 손상되었거나 지원하지 않는 형식입니다."};
  }
  return {"Delete",
          "Move ‘Sunset at the beach 2024.jpg’ to the Trash? You can restore it from there.",
          {"&Move to Trash", "&Delete permanently", ToolkitString(ToolkitText::Cancel)},
          "‘Sunset at the beach 2024.jpg’ could not be opened. The file is damaged or its format is not "
          "supported."};
}

class Probe {
 public:
  bool Start() {
    WindowOptions options;
    options.title = "Kit Main";
    options.size = Size{500, 360};
    options.hasPosition = true;
    options.position = Point{100, 100};
    KeyPanel* panel = main_.SetRoot(std::make_unique<KeyPanel>());
    panel->onKey = [this](const KeyEvent& event) { return OnKey(event); };
    main_.SetOnDestroyed([] { Application::Instance().Quit(0); });
    if (!main_.Create(options)) return false;
    main_.Show(true);
    panel->Focus(FocusReason::Programmatic);
    const bool registered = drop_.Register(main_.Handle(), [](std::vector<std::string> paths) {
      Trace(Application::Instance().IsUiThread() ? "drop on ui thread" : "drop elsewhere");
      for (const std::string& path : paths) Trace("drop " + path);
    });
    Trace(registered ? "drop target registered" : "drop target not registered");
    // Each dialog traces its title once its window exists.
    Kit::SettingsRecord().onDialogShown = [](Window&, const std::string& title) {
      Trace("dialog shown " + title);
    };
    Trace("main ready");
    return true;
  }

 private:
  bool OnKey(const KeyEvent& event) {
    const QuestionTexts texts = TextsFor(ToolkitLanguage());
    switch (event.key) {
      case 'A': {
        const int answer = Kit::AskChoice(main_.Handle(), texts.title, texts.message, texts.buttons, 0,
                                          Kit::MessageKind::Question);
        Trace(fmt::format("question result {}", answer));
        return true;
      }
      case 'M':
        Kit::ShowMessage(main_.Handle(), "QuarloView", texts.error);
        Trace("message closed");
        return true;
      case 'O':
        TracePick(Kit::PickFile(main_.Handle(), "Open Picture",
                                {{"Pictures", "*.jpg;*.png;*.webp"}, {"Archives", "*.zip;*.cbz"}}));
        return true;
      case 'F':
        TracePick(Kit::PickFolder(main_.Handle(), "Choose Folder", "/tmp"));
        return true;
      case 'Q':
        Application::Instance().Quit(0);
        return true;
      default:
        return false;
    }
  }

  static void TracePick(const Kit::PickerResult& result) {
    Trace(result.ok ? "picked " + result.path : std::string("pick cancelled"));
  }

  Window main_;
  Kit::FileDropTarget drop_;
};

// Pictures the dialog the hook reports in both themes at two scales, then ends it.
void PictureAndEnd(Window& dialog, const std::string& folder, const std::string& name) {
  const std::pair<const char*, Theme> themes[] = {{"light", Theme::Light(kDefaultAccent)},
                                                  {"dark", Theme::Dark(kDefaultAccent)}};
  // The height the content asks for: the desktop may not have confirmed the window's new size yet.
  const float width = dialog.ClientSize().width;
  for (const auto& [themeName, theme] : themes) {
    for (const float dpi : {96.0f, 192.0f}) {
      WindowImageOptions options;
      options.size = Size{width, 0};
      options.dpi = dpi;
      options.theme = theme;
      const std::string path = fmt::format("{}/{}-{}-{}.png", folder, name, themeName, dpi > 96 ? 200 : 100);
      Trace(Detail::WritePngFile(RenderWindowToImage(dialog, options), path) ? "shot " + path
                                                                             : "shot failed " + path);
    }
  }
  dialog.EndModal(2);
}

int RunShots(const std::string& folder) {
  std::filesystem::create_directories(folder);
  const std::pair<const char*, ToolkitLanguageId> languages[] = {{"en", ToolkitLanguageId::English},
                                                                 {"ko", ToolkitLanguageId::Korean}};
  std::string current;
  Kit::SettingsRecord().onDialogShown = [&](Window& dialog, const std::string&) {
    Window* shown = &dialog;
    // Posted: the dialog is sized to its content and shown by the time the loop runs this.
    Application::Instance().Post([shown, &folder, &current] { PictureAndEnd(*shown, folder, current); });
  };
  for (const auto& [code, language] : languages) {
    SetToolkitLanguage(language);
    const QuestionTexts texts = TextsFor(language);
    current = fmt::format("kit-question-{}", code);
    Kit::AskChoice(nullptr, texts.title, texts.message, texts.buttons, 0, Kit::MessageKind::Question);
    current = fmt::format("kit-message-{}", code);
    Kit::ShowMessage(nullptr, "QuarloView", texts.error);
  }
  Trace("shots written");
  return 0;
}

}  // namespace

int main() {
  AppOptions options;
  options.name = "QuarloKitProbe";
  options.parkWindows = Quarlo::View::Env().parkWindows;
  if (!Application::Instance().Initialize(options)) {
    Trace("no display");
    return 1;
  }
  if (!Quarlo::View::Env().shots.empty()) return RunShots(Quarlo::View::Env().shots);
  Probe probe;
  if (!probe.Start()) {
    Trace("window failed");
    return 1;
  }
  return Application::Instance().Run();
}
