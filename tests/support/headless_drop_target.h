#pragma once
// The headless drop target: a test drops paths on a registered window as a drag source would, and sees
// which windows are registered.

#include <string>
#include <vector>

#include "widget/links.h"

namespace Quarlo::Widget::Testing {

// Drops the paths on the window's registration, as the native side delivers them; false when the window
// has none.
bool DropPaths(NativeHandle window, std::vector<std::string> paths);
// Whether the window is registered for drops.
bool IsDropTarget(NativeHandle window);

}  // namespace Quarlo::Widget::Testing
