// Recording and merging edit records.

#include "widget/models/undo_history.h"

namespace Quarlo::Widget::Models {

bool UndoHistory::Merge(const EditRecord& next) {
  EditRecord& top = undo_.back();
  if (next.kind != top.kind || next.time < top.time || next.time - top.time > mergeWindowMs) return false;
  switch (next.kind) {
    case EditKind::Typing:
      if (!next.removed.empty() || next.position != top.position + top.inserted.size()) return false;
      top.inserted += next.inserted;
      break;
    case EditKind::Backspace:
      if (!next.inserted.empty() || next.position + next.removed.size() != top.position) return false;
      top.removed.insert(0, next.removed);
      top.position = next.position;
      break;
    case EditKind::Delete:
      if (!next.inserted.empty() || next.position != top.position) return false;
      top.removed += next.removed;
      break;
    case EditKind::Other:
      return false;
  }
  top.caretAfter = next.caretAfter;
  top.anchorAfter = next.anchorAfter;
  top.time = next.time;
  return true;
}

void UndoHistory::Record(EditRecord record, bool& mergeable) {
  redo_.clear();
  if (mergeable && !undo_.empty() && Merge(record)) return;
  mergeable = record.kind != EditKind::Other;
  undo_.push_back(std::move(record));
  while (undo_.size() > limit) undo_.pop_front();
}

namespace {

// Moves the newest record of one stack onto the other and returns it.
std::optional<EditRecord> MoveTop(std::deque<EditRecord>& from, std::deque<EditRecord>& to) {
  if (from.empty()) return std::nullopt;
  to.push_back(std::move(from.back()));
  from.pop_back();
  return to.back();
}

}  // namespace

std::optional<EditRecord> UndoHistory::PopUndo() { return MoveTop(undo_, redo_); }

std::optional<EditRecord> UndoHistory::PopRedo() { return MoveTop(redo_, undo_); }

void UndoHistory::Clear() {
  undo_.clear();
  redo_.clear();
}

}  // namespace Quarlo::Widget::Models
