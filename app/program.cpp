#include "app/program.h"

#include <optional>
#include <string_view>

#include "core/env_switches.h"
#include "core/strings.h"
#include "core/trace.h"
#include "widget/application.h"
#include "widget/theme.h"
#include "widget/toolkit_language.h"

namespace App {

using Quarlo::Widget::Application;

namespace {

constexpr std::string_view kOpenPrefix = "open:";
constexpr std::string_view kCommandPrefix = "command:";

Quarlo::Widget::ThemeMode ThemeModeOf(Quarlo::View::ThemeChoice choice) {
  switch (choice) {
    case Quarlo::View::ThemeChoice::Light:
      return Quarlo::Widget::ThemeMode::Light;
    case Quarlo::View::ThemeChoice::Dark:
      return Quarlo::Widget::ThemeMode::Dark;
    default:
      return Quarlo::Widget::ThemeMode::System;
  }
}

void ApplyLanguageAndThemeOf(const Quarlo::View::Settings& settings) {
  Quarlo::View::ApplyLanguage(settings.language);
  Quarlo::Widget::SetToolkitLanguage(Quarlo::View::KoreanStrings()
                                         ? Quarlo::Widget::ToolkitLanguageId::Korean
                                         : Quarlo::Widget::ToolkitLanguageId::English);
  Application::Instance().SetThemeMode(ThemeModeOf(settings.theme));
}

// The window controller takes its texts as it builds its frame, so the language is chosen before it.
Quarlo::View::Settings LoadAndApplySettings() {
  Quarlo::View::Settings settings = Quarlo::View::Settings::Load();
  ApplyLanguageAndThemeOf(settings);
  return settings;
}

}  // namespace

Program::Program() : settings_(LoadAndApplySettings()), window_(settings_, MakeHooks()) {}

MainWindow::Hooks Program::MakeHooks() {
  MainWindow::Hooks hooks;
  hooks.settingsChanged = [this] {
    Application::Instance().Post([this] {
      ApplyLanguageAndTheme();
      window_.Rebuild();
    });
  };
  hooks.quit = [] { Application::Instance().Quit(0); };
  return hooks;
}

void Program::ApplyLanguageAndTheme() { ApplyLanguageAndThemeOf(settings_); }

void Program::OnCommand(const std::string& text) {
  Quarlo::View::Trace("instance " + text);
  // Automation messages count only for a primary in test mode; to any other they are a plain "show".
  const bool automation = !Quarlo::View::Env().settingsKey.empty();
  if (text.starts_with(kOpenPrefix)) {
    window_.Show();
    Application::Instance().Post([this, path = text.substr(kOpenPrefix.size())] { window_.Open(path); });
  } else if (automation && text.starts_with(kCommandPrefix)) {
    const std::string_view name = std::string_view(text).substr(kCommandPrefix.size());
    if (const std::optional<CommandId> id = CommandByName(name)) {
      Application::Instance().Post([this, command = *id] { window_.RunCommand(command); });
    } else if (const std::optional<int32_t> item = MainWindow::SortMenuItemNamed(name)) {
      Application::Instance().Post([this, item = *item] { window_.RunSortMenuItem(item); });
    }
  } else if (automation && text == "quit") {
    Application::Instance().Post([this] { window_.RunCommand(CommandId::Exit); });
  } else {
    window_.Show();
  }
}

}  // namespace App
