#pragma once
// The program of a full start: the one settings record and the viewer window built on it, the hooks the
// window calls back through, the language and theme the settings choose, and the receiver of the messages
// a later start sends over the instance link. Lives on the stack of the start-up sequence for the whole
// run; everything here runs on the user-interface thread.

#include <string>

#include "app/main_window.h"
#include "core/settings.h"

namespace App {

class Program {
 public:
  // Loads the settings from SettingsKeyPath, applies their language and theme, and builds the window
  // controller on them (no window yet).
  Program();

  MainWindow& Window() { return window_; }
  Quarlo::View::Settings& Settings() { return settings_; }

  // The interface language, the toolkit's own language and the theme mode, as the settings choose them.
  void ApplyLanguageAndTheme();

  // The instance link's handler: a later start's "open:", "show", "command:" or "quit" message. Showing
  // the window happens at once; opening and commands are posted, so the sender has its answer first.
  void OnCommand(const std::string& text);

 private:
  MainWindow::Hooks MakeHooks();

  Quarlo::View::Settings settings_;
  MainWindow window_;
};

}  // namespace App
