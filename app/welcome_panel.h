#pragma once
// What the viewer window shows while nothing is open: the program's name, how to open something (two
// buttons and a hint about dropping) and the recently opened sources.

#include <functional>
#include <string>
#include <vector>

#include "widget/scroll_viewer.h"

namespace Quarlo::Widget {
class Stack;
}

namespace App {

class WelcomePanel : public Quarlo::Widget::ScrollViewer {
 public:
  struct Actions {
    std::function<void()> openFile;
    std::function<void()> openFolder;
    std::function<void(const std::string& path)> openRecent;
    std::function<void()> clearRecent;
  };

  // The tooltips name the Open and Open folder commands with their shortcuts.
  WelcomePanel(Actions actions, const std::string& openFileTip, const std::string& openFolderTip);

  // Rebuilds the recent section from these paths (newest first); at most the first 8 are shown.
  void FillRecent(const std::vector<std::string>& recent);
  // The buttons of the recent section, for tests.
  size_t RecentCount() const { return recentCount_; }

  const char* ClassName() const override { return "WelcomePanel"; }

 private:
  // Runs the action from the loop, and only while the panel exists: a click that refills or replaces the
  // panel must not destroy the button inside its own click.
  void PostAction(std::function<void()> action);

  Actions actions_;
  Quarlo::Widget::Stack* recent_ = nullptr;
  size_t recentCount_ = 0;
};

}  // namespace App
