// Headless drop registrations, keyed by window handle.

#include "support/headless_drop_target.h"

#include <algorithm>

#include "widget/native_drop_target.h"
#include "widget/window.h"

namespace Quarlo::Widget {
namespace Testing {
namespace {

class HeadlessDropTarget;

std::vector<HeadlessDropTarget*>& Targets() {
  static std::vector<HeadlessDropTarget*> targets;
  return targets;
}

class HeadlessDropTarget : public INativeDropTarget {
 public:
  HeadlessDropTarget(NativeHandle window, DropSink sink) : window(window), sink(std::move(sink)) {
    Targets().push_back(this);
  }
  ~HeadlessDropTarget() override { std::erase(Targets(), this); }

  NativeHandle window;
  DropSink sink;
};

HeadlessDropTarget* TargetOf(NativeHandle window) {
  // A handle of a window that is gone no longer names a registration, as a destroyed native window's does
  // not.
  if (!window || !Window::FromHandle(window)) return nullptr;
  auto found = std::find_if(Targets().begin(), Targets().end(),
                            [&](const HeadlessDropTarget* t) { return t->window == window; });
  return found == Targets().end() ? nullptr : *found;
}

}  // namespace

bool DropPaths(NativeHandle window, std::vector<std::string> paths) {
  HeadlessDropTarget* target = TargetOf(window);
  if (!target) return false;
  if (!paths.empty()) target->sink(std::move(paths));
  return true;
}

bool IsDropTarget(NativeHandle window) { return TargetOf(window) != nullptr; }

}  // namespace Testing

std::unique_ptr<INativeDropTarget> RegisterNativeDropTarget(NativeHandle window, DropSink sink) {
  if (!window || !Window::FromHandle(window) || !sink) return nullptr;
  return std::make_unique<Testing::HeadlessDropTarget>(window, std::move(sink));
}

}  // namespace Quarlo::Widget
