#pragma once
// The undo and redo stacks of a text field. Runs of typing, Backspace or Delete made within the merge
// window of each other become one record, so one Undo takes back a typed word, not a letter.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace Quarlo::Widget::Models {

enum class EditKind : int32_t { Other = 0, Typing = 1, Backspace = 2, Delete = 3 };

// One change: at position, removed was replaced by inserted. Positions are byte offsets; times in ms.
struct EditRecord {
  size_t position = 0;
  std::string removed;
  std::string inserted;
  size_t caretBefore = 0;
  size_t anchorBefore = 0;
  size_t caretAfter = 0;
  size_t anchorAfter = 0;
  EditKind kind = EditKind::Other;
  double time = 0;
};

class UndoHistory {
 public:
  // Records a change and clears redo. The record joins the top one when mergeable is set and the two
  // continue each other (same kind, within the merge window, adjoining); mergeable then says whether the
  // next change may join this one.
  void Record(EditRecord record, bool& mergeable);
  // The record to take back (moved to redo), or nothing.
  std::optional<EditRecord> PopUndo();
  // The record to apply again (moved to undo), or nothing.
  std::optional<EditRecord> PopRedo();
  void Clear();
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  size_t UndoCount() const { return undo_.size(); }

  double mergeWindowMs = 1000;
  size_t limit = 1000;

 private:
  bool Merge(const EditRecord& record);

  std::deque<EditRecord> undo_;
  std::deque<EditRecord> redo_;
};

}  // namespace Quarlo::Widget::Models
