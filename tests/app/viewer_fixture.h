#pragma once
// The fixture of the viewer window controller's tests on the headless window and loop: a temporary home for
// the hive and the trace file, pictures made on disk, a controller on the test's settings, and the loop run
// until the controller no longer waits for the cache. Each test program includes it from one file only.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/info_panel.h"
#include "app/main_window.h"
#include "app/viewer_window.h"
#include "core/settings.h"
#include "core/strings.h"
#include "support/fixture_pictures.h"
#include "support/headless_window.h"
#include "support/temp_folder.h"
#include "support/zip_builder.h"
#include "widget/application.h"
#include "widget/input/button.h"
#include "widget/input/events.h"
#include "widget/input/label.h"
#include "widget/input/virtual_keys.h"
#include "widget/kit/kit_settings.h"
#include "widget/stack.h"

// Each test program includes this once: the names stay in its own translation unit.
// NOLINTNEXTLINE(google-build-namespaces)
namespace {

using App::CommandId;
using App::MainWindow;
using Quarlo::Test::TempFolder;
using Quarlo::View::FormatText;
using Quarlo::View::Settings;
using Quarlo::View::Text;
using Quarlo::Widget::Application;
using Quarlo::Widget::KeyEvent;
using Quarlo::Widget::PointerButton;
using Quarlo::Widget::Rect;
using Quarlo::Widget::Testing::HeadlessWindow;
namespace Vk = Quarlo::Widget::Vk;

// The hive, the trace file and every settings save of this test program live in one temporary home.
TempFolder& Home() {
  static TempFolder home;
  return home;
}

std::string TracePath() { return Home().At("trace.txt"); }

class ViewerHome : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", Home().Path().c_str(), 1);
    setenv("QUARLO_VIEW_TRACE", TracePath().c_str(), 1);
    setenv("QUARLO_VIEW_SETTINGS_KEY", "Software\\QuarloTest", 1);
    Quarlo::View::SetKoreanStrings(false);
    // No font-warming thread: a test that ends while it still shapes text would have its text library's
    // exit handlers free what the thread reads.
    Quarlo::Widget::AppOptions options;
    options.prewarm = false;
    Application::Instance().Initialize(options);
  }
};

const auto* const kHome = ::testing::AddGlobalTestEnvironment(new ViewerHome);

std::vector<uint8_t> Png(uint32_t width, uint32_t height) {
  return Quarlo::Test::EncodePng(Quarlo::Test::RgbaImage::Filled(width, height, 40, 120, 200));
}

Quarlo::Test::ZipTestEntry Entry(std::string name, std::vector<uint8_t> data) {
  Quarlo::Test::ZipTestEntry entry;
  entry.name = std::move(name);
  entry.data = std::move(data);
  return entry;
}

KeyEvent Key(uint32_t key, uint8_t modifiers = 0) {
  KeyEvent event;
  event.key = key;
  event.modifiers = modifiers;
  return event;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(TracePath(), std::ios::trunc).close();
    settings.endAction = Quarlo::View::EndAction::Stop;
  }

  // Builds the controller and its window on the settings as the test left them.
  void Start() {
    viewer = std::make_unique<MainWindow>(settings, MainWindow::Hooks{{}, [this] { ++quits; }});
    ASSERT_TRUE(viewer->Create());
  }

  // A folder of count portrait pictures named p01.png, p02.png, ...
  std::string PictureFolder(size_t count, const std::string& name = "pics") {
    for (size_t i = 1; i <= count; ++i) {
      const std::string file = (i < 10 ? "p0" : "p") + std::to_string(i) + ".png";
      folder.AddFile(name + "/" + file, Png(30, 40));
    }
    return folder.At(name);
  }

  // Runs the loop until the controller no longer waits for the cache.
  void Settle() {
    Application::Instance().RunUntil([this] { return !viewer->IsWaiting(); });
  }

  bool OpenAndSettle(const std::string& path) {
    const bool opened = viewer->Open(path);
    Settle();
    return opened;
  }

  HeadlessWindow& Native() { return HeadlessWindow::Of(*viewer->Window()); }

  static std::vector<std::string> TraceLines() {
    std::ifstream in(TracePath());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  // The info panel's rows as "caption: value" lines, or the lone hint.
  std::vector<std::string> InfoLines() const {
    std::vector<std::string> lines;
    for (const auto& row : viewer->InfoWidget().Rows().Children()) {
      std::string line;
      for (const auto& part : row->Children()) {
        line += (line.empty() ? "" : ": ") + static_cast<const Quarlo::Widget::Input::Label&>(*part).Text();
      }
      if (row->Children().empty()) line = static_cast<const Quarlo::Widget::Input::Label&>(*row).Text();
      lines.push_back(line);
    }
    return lines;
  }

  bool InfoPanelOnScreen() const { return viewer->InfoWidget().IsVisible(); }

  static bool Traced(const std::string& line) {
    const std::vector<std::string> lines = TraceLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  TempFolder folder;
  Settings settings;
  int quits = 0;
  std::unique_ptr<MainWindow> viewer;
};

// The texts of a tree's labels and buttons, in tree order.
inline void CollectTexts(const Quarlo::Widget::Widget& widget, std::vector<std::string>& texts) {
  if (const auto* label = dynamic_cast<const Quarlo::Widget::Input::Label*>(&widget))
    texts.push_back(label->Text());
  if (const auto* button = dynamic_cast<const Quarlo::Widget::Input::Button*>(&widget)) {
    texts.push_back(button->Text());
  }
  for (const auto& child : widget.Children()) CollectTexts(*child, texts);
}

// Answers every dialog the controller runs with a key, once its loop runs, and keeps what each showed.
class DialogAnswers {
 public:
  struct Shown {
    std::string title;
    std::vector<std::string> texts;
  };

  // act, when set, runs on the running dialog before the answer key.
  explicit DialogAnswers(uint32_t key = Vk::Escape, std::function<void(Quarlo::Widget::Window&)> act = {}) {
    Quarlo::Widget::Kit::SettingsRecord().onDialogShown = [this, key, act](Quarlo::Widget::Window& dialog,
                                                                           const std::string& title) {
      Shown entry{title, {}};
      if (dialog.Root()) CollectTexts(*dialog.Root(), entry.texts);
      shown.push_back(std::move(entry));
      Quarlo::Widget::Window* running = &dialog;
      Application::Instance().Post([running, key, act] {
        if (act) act(*running);
        KeyEvent event;
        event.key = key;
        HeadlessWindow::Of(*running).KeyDown(event);
      });
    };
  }
  ~DialogAnswers() { Quarlo::Widget::Kit::SettingsRecord().onDialogShown = {}; }
  DialogAnswers(const DialogAnswers&) = delete;
  DialogAnswers& operator=(const DialogAnswers&) = delete;

  std::vector<Shown> shown;
};

}  // namespace
