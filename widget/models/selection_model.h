#pragma once
// The selection of a list of many items, kept as sorted, disjoint, non-adjacent index ranges so that
// select-all and Shift ranges over millions of items cost a few ranges. It also holds the keyboard focus
// item and the anchor that Shift ranges start from, and reports every change as the ranges that were
// added and removed. User-interface thread only.

#include <cstdint>
#include <functional>
#include <vector>

namespace Quarlo::Widget::Models {

// Half-open [begin, end); stored ranges always have begin < end.
struct IndexRange {
  int64_t begin = 0;
  int64_t end = 0;
  friend bool operator==(const IndexRange&, const IndexRange&) = default;
};

enum class SelectionMode : int32_t { None = 0, Single = 1, Multiple = 2 };

// What one operation changed: only indexes whose state really changed appear in added and removed.
struct SelectionChange {
  std::vector<IndexRange> added;
  std::vector<IndexRange> removed;
  int64_t previousFocus = -1;
  int64_t focus = -1;
  int64_t previousAnchor = -1;
  int64_t anchor = -1;
};

// Keyboard moves of the focus item, one per navigation key.
enum class FocusMove : int32_t {
  Previous = 0,  // Left
  Next = 1,      // Right
  Up = 2,
  Down = 3,
  First = 4,  // Home
  Last = 5,   // End
  PageUp = 6,
  PageDown = 7,
};

// Modifier bits of MoveFocus and SelectFocused.
inline constexpr uint32_t kSelectShift = 1u << 0;
inline constexpr uint32_t kSelectCtrl = 1u << 8;

// Where a grid of items stands in its viewport, for the keyboard moves.
struct FocusGeometry {
  int64_t columns = 1;
  int64_t firstVisibleRow = 0;
  int64_t wholeRowsInView = 1;
  bool wrap = false;
};

struct FocusMoveResult {
  bool moved = false;
  int64_t focus = -1;
};

class SelectionModel {
 public:
  SelectionModel(int64_t count, SelectionMode mode);

  // Each operation returns the change it made and then notifies onChanged (when the selection, the
  // focus or the anchor changed). Indexes outside [0, count) make the index operations no-ops.
  SelectionChange SelectOnly(int64_t index);
  SelectionChange ToggleIndex(int64_t index);
  SelectionChange ExtendTo(int64_t index);
  SelectionChange AddExtendTo(int64_t index);
  SelectionChange AddRange(IndexRange range);
  SelectionChange RemoveRange(IndexRange range);
  SelectionChange ClearSelection();
  SelectionChange SelectAll();
  SelectionChange SetFocus(int64_t index);
  // Clears the selection, focus and anchor and takes the new count (negative counts become 0).
  SelectionChange SetCount(int64_t count);
  SelectionChange ToggleFocused();
  bool IsSelected(int64_t index) const;

  // Moves the focus as a navigation key does in a grid, then selects as the modifiers ask (none: only the
  // target; Ctrl: focus only; Shift: the range from the anchor; Ctrl+Shift: adds that range).
  FocusMoveResult MoveFocus(FocusMove move, uint32_t modifiers, const FocusGeometry& geometry);
  // Space: Ctrl toggles the focus item, otherwise selects only it.
  SelectionChange SelectFocused(uint32_t modifiers);

  const std::vector<IndexRange>& Ranges() const { return ranges_; }
  int64_t SelectedCount() const { return selectedCount_; }
  int64_t Count() const { return count_; }
  int64_t Anchor() const { return anchor_; }
  int64_t Focus() const { return focus_; }
  SelectionMode Mode() const { return mode_; }

  std::function<void(const SelectionChange&)> onChanged;

 private:
  SelectionChange Begin() const;
  SelectionChange Finish(SelectionChange change) const;
  bool Valid(int64_t index) const { return index >= 0 && index < count_; }
  IndexRange Clamp(IndexRange range) const;
  void Add(IndexRange range, SelectionChange& change);
  void Remove(IndexRange range, SelectionChange& change);
  void SelectOnlyInto(int64_t index, SelectionChange& change);
  void RangeFromAnchor(int64_t index, bool replace, SelectionChange& change);
  int64_t MoveTarget(FocusMove move, const FocusGeometry& geometry, bool wrap) const;

  std::vector<IndexRange> ranges_;
  int64_t selectedCount_ = 0;
  int64_t count_ = 0;
  int64_t anchor_ = -1;
  int64_t focus_ = -1;
  SelectionMode mode_;
};

}  // namespace Quarlo::Widget::Models
