#pragma once
// A window's drop target for files: every drop that carries file paths reaches the callback, later, on the
// user-interface thread, never inside the drop itself.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widget/links.h"

namespace Quarlo::Widget {
class INativeDropTarget;
}

namespace Quarlo::Widget::Kit {

class FileDropTarget {
 public:
  using Callback = std::function<void(std::vector<std::string> paths)>;

  FileDropTarget();
  ~FileDropTarget();
  FileDropTarget(const FileDropTarget&) = delete;
  FileDropTarget& operator=(const FileDropTarget&) = delete;

  // Registers window for dropped files, replacing an earlier registration; false when the window cannot
  // take drops (the caller reports it in its own words).
  bool Register(NativeHandle window, Callback callback);
  // Undoes the registration; drops still waiting for the loop are dropped with it.
  void Revoke();
  bool IsRegistered() const { return native_ != nullptr; }

 private:
  std::unique_ptr<INativeDropTarget> native_;
  // Posted deliveries hold it weakly, so that none reaches a callback revoked in the meantime.
  std::shared_ptr<Callback> callback_;
};

}  // namespace Quarlo::Widget::Kit
