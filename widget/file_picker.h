#pragma once
// The desktop's folder and open-file choosers, as the portable toolkit sees them. The build compiles one
// backend file that defines RunNativePicker: the GTK one (GtkFileChooserNative, a portal where the desktop
// has one) for the program, a headless one for tests that answers from replies the test queued.

#include <cstdint>
#include <string>
#include <vector>

#include "widget/links.h"

namespace Quarlo::Widget {

enum class PickerKind : int32_t { Folder = 0, File = 1 };

// One entry of an open-file chooser's type list: a name and its patterns, separated by ";" ("*.jpg;*.png").
struct FileFilter {
  std::string name;
  std::string pattern;
};

struct PickerRequest {
  PickerKind kind = PickerKind::File;
  NativeHandle owner = nullptr;  // the chooser stays above this window
  std::string title;
  std::string initialFolder;        // folder choosers start here when it is not empty
  std::vector<FileFilter> filters;  // open-file choosers offer these, the first one chosen
};

// Accepted: the user chose something. Cancelled: every other answer of the chooser (its cancel button,
// Escape, the window closed). Unavailable: no chooser could be shown.
enum class PickerOutcome : int32_t { Accepted = 0, Cancelled = 1, Unavailable = 2 };

struct PickerReply {
  PickerOutcome outcome = PickerOutcome::Unavailable;
  std::string path;  // the chosen file or folder (native bytes); empty unless accepted
};

// Runs the desktop's chooser modally on the user-interface thread and returns what it answered.
PickerReply RunNativePicker(const PickerRequest& request);

}  // namespace Quarlo::Widget
