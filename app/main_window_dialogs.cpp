// What the viewer window asks the user through dialogs and receives from the desktop: the Open and folder
// dialogs, dropped files, the About and shortcut list dialogs, and open failures told over shown pictures.

#include <string>
#include <vector>

#include "app/about_dialog.h"
#include "app/main_window.h"
#include "app/shortcut_list_dialog.h"
#include "app/viewer_window.h"
#include "core/file_kinds.h"
#include "core/paths.h"
#include "core/strings.h"
#include "core/trace.h"
#include "widget/kit/file_drop_target.h"
#include "widget/kit/message_dialogs.h"
#include "widget/kit/pickers.h"

namespace App {

using namespace Quarlo::Widget;
using Quarlo::View::Text;
using Quarlo::View::Trace;

namespace {

constexpr int kOpenTitle = 11;
constexpr int kFolderTitle = 12;
constexpr int kPicturesFilter = 13;
constexpr int kAllFilter = 14;

std::vector<FileFilter> OpenFilters() {
  std::string pattern;
  for (const std::string& extension : Quarlo::View::PictureExtensions()) {
    pattern += (pattern.empty() ? "*." : ";*.") + extension;
  }
  pattern += ";*.zip;*.cbz";
  return {{Text(kPicturesFilter), pattern}, {Text(kAllFilter), "*.*"}};
}

}  // namespace

void MainWindow::ChooseFile() {
  const Kit::PickerResult chosen =
      Kit::PickFile(window_ ? window_->Handle() : nullptr, Text(kOpenTitle), OpenFilters());
  if (chosen.ok) Open(chosen.path);
}

void MainWindow::ChooseFolder() {
  // For an archive, its folder: the user most likely wants a neighbour of what is open.
  std::string start;
  if (HasList()) {
    start = list_.kind == Quarlo::View::SourceKind::Archive ? Quarlo::View::ParentOf(list_.location)
                                                            : list_.location;
  }
  const Kit::PickerResult chosen =
      Kit::PickFolder(window_ ? window_->Handle() : nullptr, Text(kFolderTitle), start);
  if (chosen.ok) Open(chosen.path);
}

void MainWindow::RegisterDropTarget() {
  dropTarget_ = std::make_unique<Kit::FileDropTarget>();
  if (!dropTarget_->Register(window_->Handle(),
                             [this](std::vector<std::string> paths) { OnDropped(paths); })) {
    Trace("drop target not registered");
  }
}

void MainWindow::OnDropped(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  Trace("drop " + paths.front());
  Open(paths.front());
}

void MainWindow::ShowAbout() { ShowAboutDialog(window_ ? window_->Handle() : nullptr); }

void MainWindow::ShowShortcutList() {
  // There is no settings dialog to go on to yet, so the list does not offer to change the shortcuts.
  ShowShortcutListDialog(window_ ? window_->Handle() : nullptr, keyMap_, false);
}

void MainWindow::ShowOpenFailure(const std::string& headline, const std::string& detail) {
  Trace("message " + headline + (detail.empty() ? "" : " | " + detail));
  Kit::ShowMessage(window_ ? window_->Handle() : nullptr, Text(0),
                   detail.empty() ? headline : headline + "\n\n" + detail);
}

}  // namespace App
