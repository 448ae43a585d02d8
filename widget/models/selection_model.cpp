// SelectionModel: merged index ranges, the selection rules of each mode, and the keyboard moves.

#include "widget/models/selection_model.h"

#include <algorithm>

namespace Quarlo::Widget::Models {

SelectionModel::SelectionModel(int64_t count, SelectionMode mode)
    : count_(std::max<int64_t>(count, 0)), mode_(mode) {}

// --- Primitives ---

SelectionChange SelectionModel::Begin() const {
  SelectionChange change;
  change.previousFocus = focus_;
  change.previousAnchor = anchor_;
  return change;
}

SelectionChange SelectionModel::Finish(SelectionChange change) const {
  change.focus = focus_;
  change.anchor = anchor_;
  const bool changed = !change.added.empty() || !change.removed.empty() ||
                       change.focus != change.previousFocus || change.anchor != change.previousAnchor;
  if (changed && onChanged) onChanged(change);
  return change;
}

IndexRange SelectionModel::Clamp(IndexRange range) const {
  return IndexRange{std::clamp<int64_t>(range.begin, 0, count_), std::clamp<int64_t>(range.end, 0, count_)};
}

// Merges [a, b) with every range it overlaps or touches; the added list gets only the gaps it filled.
void SelectionModel::Add(IndexRange range, SelectionChange& change) {
  if (range.begin >= range.end) return;
  auto first = std::lower_bound(ranges_.begin(), ranges_.end(), range.begin,
                                [](const IndexRange& r, int64_t begin) { return r.end < begin; });
  int64_t mergedBegin = range.begin;
  int64_t mergedEnd = range.end;
  int64_t cursor = range.begin;
  auto last = first;
  for (; last != ranges_.end() && last->begin <= range.end; ++last) {
    if (last->begin > cursor) change.added.push_back({cursor, last->begin});
    cursor = std::max(cursor, last->end);
    mergedBegin = std::min(mergedBegin, last->begin);
    mergedEnd = std::max(mergedEnd, last->end);
    selectedCount_ -= last->end - last->begin;
  }
  if (cursor < range.end) change.added.push_back({cursor, range.end});
  auto at = ranges_.erase(first, last);
  ranges_.insert(at, IndexRange{mergedBegin, mergedEnd});
  selectedCount_ += mergedEnd - mergedBegin;
}

void SelectionModel::Remove(IndexRange range, SelectionChange& change) {
  if (range.begin >= range.end) return;
  std::vector<IndexRange> kept;
  kept.reserve(ranges_.size() + 1);
  for (const IndexRange& r : ranges_) {
    const int64_t cutBegin = std::max(r.begin, range.begin);
    const int64_t cutEnd = std::min(r.end, range.end);
    if (cutBegin >= cutEnd) {
      kept.push_back(r);
      continue;
    }
    change.removed.push_back({cutBegin, cutEnd});
    selectedCount_ -= cutEnd - cutBegin;
    if (r.begin < cutBegin) kept.push_back({r.begin, cutBegin});
    if (cutEnd < r.end) kept.push_back({cutEnd, r.end});
  }
  ranges_ = std::move(kept);
}

bool SelectionModel::IsSelected(int64_t index) const {
  auto found = std::upper_bound(ranges_.begin(), ranges_.end(), index,
                                [](int64_t i, const IndexRange& r) { return i < r.end; });
  return found != ranges_.end() && found->begin <= index;
}

void SelectionModel::SelectOnlyInto(int64_t index, SelectionChange& change) {
  if (mode_ != SelectionMode::None) {
    Remove({0, index}, change);
    Remove({index + 1, count_}, change);
    Add({index, index + 1}, change);
  }
  focus_ = index;
  anchor_ = index;
}

// Shift ranges in Multiple mode; the other modes select only the index.
void SelectionModel::RangeFromAnchor(int64_t index, bool replace, SelectionChange& change) {
  if (mode_ != SelectionMode::Multiple) {
    SelectOnlyInto(index, change);
    return;
  }
  if (anchor_ == -1) anchor_ = index;
  const IndexRange range{std::min(anchor_, index), std::max(anchor_, index) + 1};
  if (replace) {
    Remove({0, range.begin}, change);
    Remove({range.end, count_}, change);
  }
  Add(range, change);
  focus_ = index;
}

// --- Operations ---

SelectionChange SelectionModel::SelectOnly(int64_t index) {
  SelectionChange change = Begin();
  if (Valid(index)) SelectOnlyInto(index, change);
  return Finish(std::move(change));
}

SelectionChange SelectionModel::ToggleIndex(int64_t index) {
  SelectionChange change = Begin();
  if (!Valid(index) || mode_ == SelectionMode::None) return Finish(std::move(change));
  if (IsSelected(index)) {
    Remove({index, index + 1}, change);
    focus_ = anchor_ = index;
  } else if (mode_ == SelectionMode::Single) {
    SelectOnlyInto(index, change);
  } else {
    Add({index, index + 1}, change);
    focus_ = anchor_ = index;
  }
  return Finish(std::move(change));
}

SelectionChange SelectionModel::ExtendTo(int64_t index) {
  SelectionChange change = Begin();
  if (Valid(index)) RangeFromAnchor(index, true, change);
  return Finish(std::move(change));
}

SelectionChange SelectionModel::AddExtendTo(int64_t index) {
  SelectionChange change = Begin();
  if (Valid(index)) RangeFromAnchor(index, false, change);
  return Finish(std::move(change));
}

SelectionChange SelectionModel::AddRange(IndexRange range) {
  SelectionChange change = Begin();
  const IndexRange clamped = Clamp(range);
  if (mode_ == SelectionMode::Multiple) {
    Add(clamped, change);
  } else if (mode_ == SelectionMode::Single && clamped.begin < clamped.end) {
    const int64_t focus = focus_;
    const int64_t anchor = anchor_;
    SelectOnlyInto(clamped.begin, change);
    focus_ = focus;
    anchor_ = anchor;
  }
  return Finish(std::move(change));
}

SelectionChange SelectionModel::RemoveRange(IndexRange range) {
  SelectionChange change = Begin();
  Remove(Clamp(range), change);
  return Finish(std::move(change));
}

SelectionChange SelectionModel::ClearSelection() {
  SelectionChange change = Begin();
  Remove({0, count_}, change);
  return Finish(std::move(change));
}

SelectionChange SelectionModel::SelectAll() {
  SelectionChange change = Begin();
  if (mode_ == SelectionMode::Multiple) Add({0, count_}, change);
  return Finish(std::move(change));
}

SelectionChange SelectionModel::SetFocus(int64_t index) {
  SelectionChange change = Begin();
  if (Valid(index)) focus_ = index;
  return Finish(std::move(change));
}

SelectionChange SelectionModel::SetCount(int64_t count) {
  SelectionChange change = Begin();
  Remove({0, count_}, change);
  count_ = std::max<int64_t>(count, 0);
  focus_ = anchor_ = -1;
  return Finish(std::move(change));
}

SelectionChange SelectionModel::ToggleFocused() {
  if (focus_ == -1) return Finish(Begin());
  return ToggleIndex(focus_);
}

SelectionChange SelectionModel::SelectFocused(uint32_t modifiers) {
  if (focus_ == -1) return Finish(Begin());
  return (modifiers & kSelectCtrl) ? ToggleFocused() : SelectOnly(focus_);
}

// --- Keyboard moves ---

int64_t SelectionModel::MoveTarget(FocusMove move, const FocusGeometry& geometry, bool wrap) const {
  const int64_t last = count_ - 1;
  const int64_t c = std::max<int64_t>(geometry.columns, 1);
  const int64_t f = focus_;
  if (!Valid(f)) {
    const bool forward = move == FocusMove::Next || move == FocusMove::Down || move == FocusMove::First ||
                         move == FocusMove::PageDown;
    return forward ? 0 : last;
  }
  const int64_t row = f / c;
  const int64_t column = f % c;
  const int64_t lastRow = (count_ + c - 1) / c - 1;
  const int64_t page = std::max<int64_t>(geometry.wholeRowsInView - 1, 1);
  switch (move) {
    case FocusMove::Previous:
      return f > 0 ? f - 1 : (wrap ? last : 0);
    case FocusMove::Next:
      return f < last ? f + 1 : (wrap ? 0 : last);
    case FocusMove::Up:
      if (row > 0) return f - c;
      return wrap ? std::min(lastRow * c + column, last) : f;
    case FocusMove::Down:
      if (f + c <= last) return f + c;
      if (row == lastRow) return wrap ? column : f;
      return last;  // the row before a shorter last row
    case FocusMove::First:
      return 0;
    case FocusMove::Last:
      return last;
    case FocusMove::PageUp: {
      const int64_t first = geometry.firstVisibleRow;
      return column + c * (row > first ? first : std::max<int64_t>(row - page, 0));
    }
    case FocusMove::PageDown: {
      const int64_t lastVisible =
          std::min(geometry.firstVisibleRow + std::max<int64_t>(geometry.wholeRowsInView, 1) - 1, lastRow);
      return column + c * (row < lastVisible ? lastVisible : std::min(row + page, lastRow));
    }
  }
  return f;
}

FocusMoveResult SelectionModel::MoveFocus(FocusMove move, uint32_t modifiers, const FocusGeometry& geometry) {
  if (count_ == 0) return {};
  const bool shift = (modifiers & kSelectShift) != 0;
  const bool ctrl = (modifiers & kSelectCtrl) != 0;
  const bool wrap = geometry.wrap && !shift && !ctrl;
  const int64_t target = std::clamp<int64_t>(MoveTarget(move, geometry, wrap), 0, count_ - 1);
  if (shift && ctrl) {
    AddExtendTo(target);
  } else if (shift) {
    ExtendTo(target);
  } else if (ctrl) {
    SetFocus(target);
  } else {
    SelectOnly(target);
  }
  return {true, focus_};
}

}  // namespace Quarlo::Widget::Models
