#pragma once
// Dropped files, as the portable toolkit sees them: the backend makes a native window accept file drags and
// hands each drop's paths to a sink on the user-interface thread. Defined by the backend the build compiles:
// GTK drag and drop (text/uri-list) for the program, a headless one for tests.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widget/links.h"

namespace Quarlo::Widget {

// A window's registration for drops; destroying it undoes the registration when the window still exists.
class INativeDropTarget {
 public:
  virtual ~INativeDropTarget() = default;
};

// The backend calls the sink inside the drop with the dropped paths in the order the source gave them
// (never with an empty list).
using DropSink = std::function<void(std::vector<std::string> paths)>;

// Makes the native window accept dropped files; null when it cannot (no such window).
std::unique_ptr<INativeDropTarget> RegisterNativeDropTarget(NativeHandle window, DropSink sink);

}  // namespace Quarlo::Widget
