// The headless chooser's queue of replies.

#include "support/headless_file_picker.h"

#include <deque>

#include "widget/window.h"

namespace Quarlo::Widget {
namespace Testing {
namespace {

struct PickerState {
  std::deque<PickerReply> replies;
  std::vector<RecordedPicker> shown;
};

PickerState& State() {
  static PickerState state;
  return state;
}

}  // namespace

void QueuePickerReply(PickerReply reply) { State().replies.push_back(std::move(reply)); }
const std::vector<RecordedPicker>& ShownPickers() { return State().shown; }

void ResetPickers() {
  State().replies.clear();
  State().shown.clear();
}

}  // namespace Testing

PickerReply RunNativePicker(const PickerRequest& request) {
  Testing::PickerState& state = Testing::State();
  const Window* owner = Window::FromHandle(request.owner);
  state.shown.push_back(Testing::RecordedPicker{request, owner && owner->IsInputEnabled()});
  if (state.replies.empty()) return {};
  PickerReply reply = std::move(state.replies.front());
  state.replies.pop_front();
  return reply;
}

}  // namespace Quarlo::Widget
