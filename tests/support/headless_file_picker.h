#pragma once
// The headless chooser: it answers each request with the next reply a test queued, and with Unavailable when
// none is left, so that a test that forgot to answer sees a failed chooser rather than an invented choice.

#include <vector>

#include "widget/file_picker.h"

namespace Quarlo::Widget::Testing {

struct RecordedPicker {
  PickerRequest request;
  bool ownerInputEnabled = false;  // whether the owner window took input while the chooser was open
};

// The reply the next chooser gives.
void QueuePickerReply(PickerReply reply);
// The choosers shown since the last reset, oldest first.
const std::vector<RecordedPicker>& ShownPickers();
// Forgets the queued replies and the choosers shown.
void ResetPickers();

}  // namespace Quarlo::Widget::Testing
