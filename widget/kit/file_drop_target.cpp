// The file drop target: the backend's registration, with each drop's paths posted to the callback.

#include "widget/kit/file_drop_target.h"

#include "widget/application.h"
#include "widget/native_drop_target.h"

namespace Quarlo::Widget::Kit {

FileDropTarget::FileDropTarget() = default;

FileDropTarget::~FileDropTarget() { Revoke(); }

bool FileDropTarget::Register(NativeHandle window, Callback callback) {
  Revoke();
  auto held = std::make_shared<Callback>(std::move(callback));
  std::weak_ptr<Callback> weak = held;
  native_ = RegisterNativeDropTarget(window, [weak](std::vector<std::string> paths) {
    if (paths.empty()) return;
    // The drop's caller (the drag source's conversation) must not wait for what the application does.
    Application::Instance().Post([weak, paths = std::move(paths)]() mutable {
      if (auto target = weak.lock(); target && *target) (*target)(std::move(paths));
    });
  });
  if (!native_) return false;
  callback_ = std::move(held);
  return true;
}

void FileDropTarget::Revoke() {
  native_.reset();
  callback_.reset();
}

}  // namespace Quarlo::Widget::Kit
