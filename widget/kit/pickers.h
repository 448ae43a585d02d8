#pragma once
// The system folder and open-file pickers: a path and a flag, whatever the desktop's chooser looks like.

#include <string>
#include <vector>

#include "widget/file_picker.h"

namespace Quarlo::Widget::Kit {

struct PickerResult {
  std::string path;
  bool ok = false;  // a path was chosen
};

// What the caller sees of a chooser's reply: ok only for an accepted reply that carries a path.
PickerResult ResultOf(const PickerReply& reply);

// Chooses an existing folder, starting at initialFolder when it is not empty. The owner takes no input while
// the chooser is open.
PickerResult PickFolder(NativeHandle owner, const std::string& title, const std::string& initialFolder);
// Chooses an existing file; filters (name, patterns) fill the chooser's type list, the first one chosen.
PickerResult PickFile(NativeHandle owner, const std::string& title, const std::vector<FileFilter>& filters);

}  // namespace Quarlo::Widget::Kit
