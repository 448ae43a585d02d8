// A small program for the text fields' end-to-end tests under Xvfb: a window with a single-line and a
// multi-line text box that traces (QUARLO_VIEW_TRACE) every change of their text, what they display while
// an input method composes, and whether the edit menu opened. Ctrl+Q quits. With QUARLO_VIEW_SHOTS naming
// a folder it instead pictures a text box with a selection and one with a pre-edit, and the "Go to number"
// dialog, in both languages and themes, and exits.

#include <fmt/format.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/picture_number_dialog.h"
#include "core/env_switches.h"
#include "core/strings.h"
#include "core/trace.h"
#include "widget/application.h"
#include "widget/gallery.h"
#include "widget/input/events.h"
#include "widget/input/ime_composition.h"
#include "widget/input/text_box.h"
#include "widget/input/virtual_keys.h"
#include "widget/kit/kit_settings.h"
#include "widget/stack.h"
#include "widget/theme.h"
#include "widget/toolkit_language.h"
#include "widget/window.h"
#include "widget/window_image.h"

namespace {

using namespace Quarlo::Widget;
using Quarlo::View::Trace;

// One trace line per text: line breaks are written as "\\n".
std::string OneLine(std::string_view text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

// A text box that tells the trace what it displays during a composition and when its edit menu opens.
class TracedBox : public Input::TextBox {
 public:
  explicit TracedBox(std::string name) : name_(std::move(name)) {
    onTextChanged = [this] { Trace(fmt::format("{} text '{}'", name_, OneLine(GetText()))); };
  }
  bool OnIme(const ImeEvent& event) override {
    const bool handled = TextBox::OnIme(event);
    Trace(fmt::format("{} display '{}'", name_, OneLine(Model().DisplayText())));
    return handled;
  }
  bool OnPointerUp(const PointerEvent& event) override {
    const bool handled = TextBox::OnPointerUp(event);
    if (event.button == PointerButton::Right)
      Trace(fmt::format("{} menu {}", name_, IsEditMenuOpen() ? "open" : "closed"));
    return handled;
  }

 private:
  std::string name_;
};

std::unique_ptr<Stack> MakeContent(TracedBox*& single, TracedBox*& multi) {
  auto stack = std::make_unique<Stack>(true, 12);
  stack->SetMargin(16, 16, 16, 16);
  single = stack->AddChild(std::make_unique<TracedBox>("single"));
  single->SetPlaceholder("Type here");
  multi = stack->AddChild(std::make_unique<TracedBox>("multi"));
  multi->SetMultiLine(true);
  return stack;
}

int RunProbe() {
  Window window;
  WindowOptions options;
  options.title = "Text Probe";
  options.size = Size{400, 200};
  options.hasPosition = true;
  options.position = Point{100, 100};
  TracedBox* single = nullptr;
  TracedBox* multi = nullptr;
  window.SetRoot(MakeContent(single, multi));
  window.SetOnDestroyed([] { Application::Instance().Quit(0); });
  window.SetKeyDownPreview([](const KeyEvent& event) {
    if (event.key != 'Q' || event.modifiers != Modifier::Ctrl) return false;
    Application::Instance().Quit(0);
    return true;
  });
  if (!window.Create(options)) return 1;
  window.Show(true);
  single->Focus(FocusReason::Programmatic);
  Trace("text probe ready");
  return Application::Instance().Run();
}

// --- Pictures ---

void Picture(Host& host, const std::string& path, const Theme& theme, Size size) {
  WindowImageOptions options;
  options.size = size;
  options.theme = theme;
  options.finishAnimations = true;
  Trace(Detail::WritePngFile(RenderWindowToImage(host, options), path) ? "shot " + path
                                                                       : "shot failed " + path);
}

void PictureBoxes(const std::string& folder, const std::string& language,
                  const std::pair<const char*, Theme>& theme) {
  Window window;
  WindowOptions options;
  options.size = Size{400, 200};
  options.hasPosition = true;
  options.position = Point{-30000, 0};
  TracedBox* single = nullptr;
  TracedBox* multi = nullptr;
  window.SetRoot(MakeContent(single, multi));
  if (!window.Create(options)) return;
  const bool korean = language == "ko";
  single->SetText(korean ? "사진 이름 바꾸기" : "Rename the picture");
  multi->SetText(korean ? "첫째 줄\n둘째 줄에서 한글을 입력" : "First line\nSecond line, typing Hangul ");
  single->Focus(FocusReason::Programmatic);
  single->Model().Select(korean ? 7 : 7, korean ? 13 : 10);
  Picture(window, fmt::format("{}/text-selection-{}-{}.png", folder, language, theme.first), theme.second,
          Size{400, 200});
  multi->Focus(FocusReason::Programmatic);
  window.Composition(Input::CompositionUpdate("한", 1, {Input::ImeAttribute::TargetConverted}));
  Picture(window, fmt::format("{}/text-preedit-{}-{}.png", folder, language, theme.first), theme.second,
          Size{400, 200});
  window.Destroy();
}

int RunShots(const std::string& folder) {
  std::filesystem::create_directories(folder);
  const std::pair<const char*, Theme> themes[] = {{"light", Theme::Light(kDefaultAccent)},
                                                  {"dark", Theme::Dark(kDefaultAccent)}};
  std::string current;
  const Theme* theme = nullptr;
  Kit::SettingsRecord().adjustDialogOptions = [](WindowOptions& options) {
    options.hasPosition = true;
    options.position = Point{-30000, 0};
  };
  Kit::SettingsRecord().onDialogShown = [&](Window& dialog, const std::string&) {
    Window* shown = &dialog;
    Application::Instance().Post([shown, &current, &theme] {
      Picture(*shown, current, *theme, Size{shown->ClientSize().width, 0});
      shown->EndModal(2);
    });
  };
  for (const char* language : {"en", "ko"}) {
    const bool korean = std::string_view(language) == "ko";
    Quarlo::View::SetKoreanStrings(korean);
    SetToolkitLanguage(korean ? ToolkitLanguageId::Korean : ToolkitLanguageId::English);
    for (const auto& entry : themes) {
      PictureBoxes(folder, language, entry);
      theme = &entry.second;
      current = fmt::format("{}/goto-{}-{}.png", folder, language, entry.first);
      App::AskPictureNumber(nullptr, 1234, 57);
    }
  }
  Trace("shots written");
  return 0;
}

}  // namespace

int main() {
  AppOptions options;
  options.name = "QuarloTextProbe";
  options.parkWindows = Quarlo::View::Env().parkWindows;
  if (!Application::Instance().Initialize(options)) {
    Trace("no display");
    return 1;
  }
  if (!Quarlo::View::Env().shots.empty()) return RunShots(Quarlo::View::Env().shots);
  return RunProbe();
}
