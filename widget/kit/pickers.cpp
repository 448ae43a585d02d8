// Folder and file pickers over the backend's chooser; the owner is held still while it runs.

#include "widget/kit/pickers.h"

#include "widget/window.h"

namespace Quarlo::Widget::Kit {
namespace {

PickerResult Run(const PickerRequest& request) {
  // Desktop choosers block only the windows they know of; ours draw themselves, so the owner is disabled
  // here as a modal dialog disables it.
  Window* owner = Window::FromHandle(request.owner);
  const bool ownerWasEnabled = owner && owner->IsInputEnabled();
  if (ownerWasEnabled) owner->SetInputEnabled(false);
  const PickerReply reply = RunNativePicker(request);
  // The owner may have been destroyed while the chooser ran.
  if (ownerWasEnabled && (owner = Window::FromHandle(request.owner))) owner->SetInputEnabled(true);
  return ResultOf(reply);
}

PickerRequest RequestOf(PickerKind kind, NativeHandle owner, const std::string& title) {
  PickerRequest request;
  request.kind = kind;
  request.owner = owner;
  request.title = title;
  return request;
}

}  // namespace

PickerResult ResultOf(const PickerReply& reply) {
  if (reply.outcome != PickerOutcome::Accepted || reply.path.empty()) return {};
  return PickerResult{reply.path, true};
}

PickerResult PickFolder(NativeHandle owner, const std::string& title, const std::string& initialFolder) {
  PickerRequest request = RequestOf(PickerKind::Folder, owner, title);
  request.initialFolder = initialFolder;
  return Run(request);
}

PickerResult PickFile(NativeHandle owner, const std::string& title, const std::vector<FileFilter>& filters) {
  PickerRequest request = RequestOf(PickerKind::File, owner, title);
  request.filters = filters;
  return Run(request);
}

}  // namespace Quarlo::Widget::Kit
