// A small program that exercises the toolkit's windows under Xvfb for the end-to-end tests. It opens a
// main window and reports what happens through trace lines (QUARLO_VIEW_TRACE); the test scripts drive
// it with xdotool. Keys in the main window: D opens a modal dialog, P opens a light-dismiss popup, F toggles
// full screen, C asks the window to close (refused once), Q quits. Escape ends the dialog. With --ime the
// main panel takes input-method composition and traces it, and a side panel beside it does not. The menu
// keys and the right click are MenuProbe's (toolkit_probe_menus.h).

#include <fmt/format.h>

#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "core/env_switches.h"
#include "core/trace.h"
#include "toolkit_probe_menus.h"
#include "widget/animator.h"
#include "widget/application.h"
#include "widget/canvas.h"
#include "widget/input/events.h"
#include "widget/input/key_names.h"
#include "widget/stack.h"
#include "widget/theme.h"
#include "widget/window.h"

namespace {

using namespace Quarlo::Widget;
using Quarlo::View::Trace;

// A widget that fills its area, names itself in a line of text, and traces the input it receives.
class TracingPanel : public Widget {
 public:
  TracingPanel(std::string name, Size content) : name_(std::move(name)), content_(content) {}

  std::function<bool(const KeyEvent&)> onKey;
  std::function<void(const PointerEvent&)> onPress;

  bool IsFocusable() const override { return true; }
  Size MeasureOverride(Size) override { return content_; }
  void ArrangeOverride(Size final) override {
    if (final == arranged_) return;
    arranged_ = final;
    Trace(fmt::format("{} layout {}x{}", name_, std::lround(final.width), std::lround(final.height)));
  }
  void Paint(Canvas& canvas) override {
    const Size size = ActualSize();
    canvas.FillRect(Rect{0, 0, size.width, size.height}, GetTheme().Get(ThemeColor::LayerFill));
    canvas.FillRoundedRect(Rect{10, 10, 60, 30}, 6, GetTheme().Get(ThemeColor::Accent));
    TextLayout text = TextLayout::Create(name_, TextStyle{}, Size{size.width, size.height}, TextOptions{});
    canvas.DrawText(text, Point{10, 50}, GetTheme().Get(ThemeColor::TextPrimary));
    Trace(fmt::format("{} paint {}x{}", name_, std::lround(size.width), std::lround(size.height)));
  }
  void OnThemeChanged() override {
    Trace(fmt::format("{} theme {}", name_, GetTheme().mode == ThemeKind::Light ? "light" : "dark"));
  }
  bool OnPointerDown(const PointerEvent& event) override {
    Trace(fmt::format("{} pointer down {} {} button {} clicks {}", name_, std::lround(event.position.x),
                      std::lround(event.position.y), static_cast<int>(event.button), event.clicks));
    if (onPress) onPress(event);
    return true;
  }
  // Moves are traced only while this panel holds the pointer (a drag), so hovering writes nothing.
  bool OnPointerMove(const PointerEvent& event) override {
    if (GetHost() && GetHost()->Captured() == this) {
      Trace(
          fmt::format("{} drag {} {}", name_, std::lround(event.position.x), std::lround(event.position.y)));
    }
    return true;
  }
  bool OnPointerUp(const PointerEvent& event) override {
    Trace(fmt::format("{} pointer up {} {} button {}", name_, std::lround(event.position.x),
                      std::lround(event.position.y), static_cast<int>(event.button)));
    return true;
  }
  bool OnWheel(const WheelEvent& event) override {
    Trace(fmt::format("{} wheel {}", name_, event.deltaY));
    return true;
  }
  bool OnKeyDown(const KeyEvent& event) override {
    Trace(fmt::format("{} key {} {}", name_, Input::KeyName(event.key), event.modifiers));
    Trace(fmt::format("{} vk 0x{:02X} mods {} extended {} repeat {}", name_, event.key, event.modifiers,
                      event.extended ? 1 : 0, event.repeat ? 1 : 0));
    return onKey && onKey(event);
  }
  bool OnChar(const CharEvent& event) override {
    if (event.codePoint < 0x80) {
      Trace(fmt::format("{} char {}", name_, static_cast<char>(event.codePoint)));
    } else {
      Trace(fmt::format("{} char U+{:04X}", name_, static_cast<uint32_t>(event.codePoint)));
    }
    return false;
  }

  // With takesIme set the panel stands in for a text field: it takes compositions, traces each step, and
  // reports a caret that moves one 10-DIP cell per UTF-16 unit of the composition.
  bool takesIme = false;
  bool AcceptsIme() const override { return takesIme; }
  Rect CaretRect() const override { return Rect{kCaretLeft + 10.0f * caret_, kCaretTop, 0, kCaretHeight}; }
  bool OnIme(const ImeEvent& event) override {
    caret_ = event.kind == ImeEventKind::Updated ? event.caret : 0;
    Trace(fmt::format("{} ime {} '{}' caret {} attrs {}", name_, KindName(event.kind), event.text,
                      event.caret, fmt::join(event.attributes, "")));
    return true;
  }

 private:
  static constexpr float kCaretLeft = 120;
  static constexpr float kCaretTop = 40;
  static constexpr float kCaretHeight = 20;

  static const char* KindName(ImeEventKind kind) {
    switch (kind) {
      case ImeEventKind::Started:
        return "started";
      case ImeEventKind::Updated:
        return "updated";
      case ImeEventKind::Committed:
        return "committed";
      default:
        return "ended";
    }
  }

  std::string name_;
  Size content_;
  Size arranged_{-1, -1};
  int32_t caret_ = 0;
};

class Probe {
 public:
  bool Start(bool takesIme) {
    WindowOptions options;
    options.title = "Probe Main";
    options.size = Size{400, 300};
    options.hasPosition = true;
    options.position = Point{100, 100};
    options.minSize = Size{200, 150};
    TracingPanel* panel =
        takesIme ? SetTextRoot() : main_.SetRoot(std::make_unique<TracingPanel>("main", Size{}));
    panel->onKey = [this](const KeyEvent& event) { return OnMainKey(event); };
    panel->onPress = [this](const PointerEvent& event) {
      if (event.button == PointerButton::Right) menus_.OnRightClick(main_.WindowToScreen(event.position));
    };
    main_.SetOnDestroyed([] {
      Trace("main destroyed");
      Application::Instance().Quit(0);
    });
    // The first close request is refused, the second one accepted.
    main_.SetCloseQuery([this] {
      Trace(closeRequests_++ == 0 ? "close refused" : "close accepted");
      return closeRequests_ > 1;
    });
    if (!main_.Create(options)) return false;
    main_.Show(true);
    panel->Focus(FocusReason::Programmatic);
    Trace(fmt::format("main dpi {}", std::lround(main_.Dpi())));
    StartTimerAndPost(panel);
    // Animations advance once per painted frame; finishing one shows that frames keep coming.
    main_.GetAnimator().Start(
        0, 1, 0.2, Easing::Linear, [](float) {}, [] { Trace("animation finished"); });
    return true;
  }

 private:
  // The main panel takes composed text; beside it, a "side" panel that does not, to take the focus from it.
  TracingPanel* SetTextRoot() {
    auto row = std::make_unique<Stack>(false, 0.0f);
    auto* panel = row->AddChild(std::make_unique<TracingPanel>("main", Size{300, 300}));
    panel->takesIme = true;
    row->AddChild(std::make_unique<TracingPanel>("side", Size{100, 300}));
    main_.SetRoot(std::move(row));
    return panel;
  }

  // A host timer on the main window and a task posted from a worker thread.
  void StartTimerAndPost(Widget* panel) {
    panel->StartTimer(
        0.05, [] { Trace("timer fired"); }, false);
    std::thread worker([] {
      Application::Instance().Post([] {
        Trace(Application::Instance().IsUiThread() ? "posted task ran on ui thread"
                                                   : "posted task ran elsewhere");
      });
    });
    worker.join();
  }

  bool OnMainKey(const KeyEvent& event) {
    switch (event.key) {
      case 'D':
        RunDialog();
        return true;
      case 'P':
        OpenPopup();
        return true;
      case 'F':
        main_.SetFullScreen(!main_.IsFullScreen());
        Trace(main_.IsFullScreen() ? "fullscreen on" : "fullscreen off");
        return true;
      case 'Q':
        Application::Instance().Quit(0);
        return true;
      case 'C':
        main_.RequestClose();
        return true;
      default:
        return menus_.OnKey(event.key);
    }
  }

  void RunDialog() {
    Dialog dialog;
    dialog.Options().title = "Probe Dialog";
    dialog.Options().size = Size{240, 120};
    dialog.SetRoot(std::make_unique<TracingPanel>("dialog", Size{240, 120}));
    Trace("dialog open");
    const int result = dialog.ShowModal(main_.Handle());
    Trace(fmt::format("dialog result {}", result));
  }

  void OpenPopup() {
    if (!popup_) {
      popup_ = std::make_unique<Popup>();
      popup_->Options().title = "Probe Popup";
      popup_->SetRoot(std::make_unique<TracingPanel>("popup", Size{120, 80}));
      popup_->SetOnClosed([] { Trace("popup closed"); });
    }
    const Rect client = main_.ClientScreenRect();
    popup_->ShowAt(static_cast<int>(client.x) + 20, static_cast<int>(client.y) + 20, 120);
    Trace("popup open");
  }

  Window main_;
  MenuProbe menus_{main_};
  std::unique_ptr<Popup> popup_;
  int closeRequests_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  AppOptions options;
  options.name = "QuarloProbe";
  options.parkWindows = Quarlo::View::Env().parkWindows;
  if (!Application::Instance().Initialize(options)) {
    Trace("no display");
    return 1;
  }
  // A second initialisation changes nothing and succeeds.
  Trace(Application::Instance().Initialize(AppOptions{}) &&
                Application::Instance().Options().name == "QuarloProbe"
            ? "initialize again kept the first options"
            : "initialize again changed something");
  Probe probe;
  if (!probe.Start(argc > 1 && std::string_view(argv[1]) == "--ime")) {
    Trace("window failed");
    return 1;
  }
  const int code = Application::Instance().Run();
  Trace("quit");
  return code;
}
