// TileView: the pointer rules (click, Ctrl, Shift, press on a multiple selection, drag, context press)
// and the keyboard table.

#include <cmath>

#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"
#include "widget/list/tile_view.h"

namespace Quarlo::Widget::List {

namespace {

constexpr uint32_t kF10 = Vk::F1 + 9;
// Where a keyboard context menu opens: this far right of the focus tile's left edge, at its bottom; or
// at this local point when nothing has the focus.
constexpr float kKeyboardMenuInset = 24;
constexpr Point kKeyboardMenuFallback{24, 8};

uint32_t SelectionModifiers(uint8_t modifiers) {
  uint32_t bits = 0;
  if (modifiers & Modifier::Shift) bits |= Models::kSelectShift;
  if (modifiers & Modifier::Ctrl) bits |= Models::kSelectCtrl;
  return bits;
}

}  // namespace

// --- Pointer ---

bool TileView::OnPointerDown(const PointerEvent& event) {
  OnScrollActivity();
  Focus(FocusReason::Pointer);
  const int64_t index = IndexAtPoint(event.position);
  if (event.button == PointerButton::Right) {
    if (index >= 0 && !selection.IsSelected(index)) selection.SelectOnly(index);
    contextPending_ = true;
    return true;
  }
  if (event.button != PointerButton::Left) return false;
  PressLeft(event, index);
  return true;
}

void TileView::PressLeft(const PointerEvent& event, int64_t index) {
  const bool shift = (event.modifiers & Modifier::Shift) != 0;
  const bool ctrl = (event.modifiers & Modifier::Ctrl) != 0;
  if (index < 0) {
    if (!shift && !ctrl) selection.ClearSelection();
    return;
  }
  if (event.clicks >= 2) {
    if (onItemInvoked) onItemInvoked(index);
    return;
  }
  if (shift && ctrl) {
    selection.AddExtendTo(index);
  } else if (shift) {
    selection.ExtendTo(index);
  } else if (ctrl) {
    selection.ToggleIndex(index);
  } else if (selection.IsSelected(index) && selection.SelectedCount() > 1) {
    // The press may start a drag of the whole selection; only a release without one narrows it.
    selection.SetFocus(index);
    collapseOnRelease_ = true;
  } else {
    selection.SelectOnly(index);
  }
  ScrollRowIntoView(index / Columns(), ScrollAlignment::Nearest, false);
  pressedIndex_ = index;
  pressPoint_ = event.position;
  dragArmed_ = onDragStart && selection.IsSelected(index);
}

bool TileView::OnPointerMove(const PointerEvent& event) {
  lastPointer_ = event.position;
  OnScrollActivity();
  if (pressedIndex_ < 0) {
    SetHoverIndex(IndexAtPoint(event.position));
    return false;
  }
  const bool far = std::fabs(event.position.x - pressPoint_.x) > kTileDragThreshold ||
                   std::fabs(event.position.y - pressPoint_.y) > kTileDragThreshold;
  if (dragArmed_ && far) {
    TileDragInfo info{selection.Ranges(), pressedIndex_, LocalToWindow(pressPoint_)};
    pressedIndex_ = -1;
    collapseOnRelease_ = false;
    dragArmed_ = false;
    ReleasePointerCapture();
    onDragStart(info);
  }
  return true;
}

bool TileView::OnPointerUp(const PointerEvent& event) {
  if (event.button == PointerButton::Left && collapseOnRelease_ &&
      IndexAtPoint(event.position) == pressedIndex_) {
    selection.SelectOnly(pressedIndex_);
  }
  pressedIndex_ = -1;
  collapseOnRelease_ = false;
  dragArmed_ = false;
  if (event.button == PointerButton::Right && contextPending_) {
    contextPending_ = false;
    ContextStep(IndexAtPoint(event.position), event.position, false);
  }
  return true;
}

void TileView::OnPointerLeave() {
  SetHoverIndex(-1);
  VirtualRowsView::OnPointerLeave();
}

void TileView::OnCaptureLost() {
  pressedIndex_ = -1;
  collapseOnRelease_ = false;
  dragArmed_ = false;
  contextPending_ = false;
}

void TileView::ContextStep(int64_t index, Point local, bool byKeyboard) {
  if (onContextMenu) onContextMenu(index, LocalToWindow(local), byKeyboard);
}

void TileView::KeyboardContext() {
  const int64_t focus = selection.Focus();
  if (focus < 0 || focus >= ItemCount()) {
    ContextStep(-1, kKeyboardMenuFallback, true);
    return;
  }
  const Rect tile = TileRect(focus);
  ContextStep(focus, Point{tile.x + kKeyboardMenuInset, tile.Bottom()}, true);
}

// --- Keys ---

bool TileView::MoveFocusByKey(Models::FocusMove move, uint8_t modifiers) {
  const Models::FocusGeometry grid{Columns(), std::max<int64_t>(Rows().FirstVisibleRow(), 0),
                                   Rows().WholeRowsInView(), false};
  const Models::FocusMoveResult result = selection.MoveFocus(move, SelectionModifiers(modifiers), grid);
  if (result.moved && result.focus >= 0) {
    ScrollRowIntoView(result.focus / Columns(), ScrollAlignment::Nearest, true);
  }
  return true;
}

bool TileView::OnKeyDown(const KeyEvent& event) {
  const bool shift = (event.modifiers & Modifier::Shift) != 0;
  const bool ctrl = (event.modifiers & Modifier::Ctrl) != 0;
  using Models::FocusMove;
  switch (event.key) {
    case Vk::Enter:
      if (selection.Focus() != -1 && onItemInvoked) onItemInvoked(selection.Focus());
      return true;
    case Vk::Space:
      selection.SelectFocused(SelectionModifiers(event.modifiers));
      return true;
    case Vk::PageUp:
      return MoveFocusByKey(FocusMove::PageUp, event.modifiers);
    case Vk::PageDown:
      return MoveFocusByKey(FocusMove::PageDown, event.modifiers);
    case Vk::End:
      return MoveFocusByKey(FocusMove::Last, event.modifiers);
    case Vk::Home:
      return MoveFocusByKey(FocusMove::First, event.modifiers);
    case Vk::Left:
      return MoveFocusByKey(FocusMove::Previous, event.modifiers);
    case Vk::Up:
      return MoveFocusByKey(FocusMove::Up, event.modifiers);
    case Vk::Right:
      return MoveFocusByKey(FocusMove::Next, event.modifiers);
    case Vk::Down:
      return MoveFocusByKey(FocusMove::Down, event.modifiers);
    case Vk::A:
      if (!ctrl) return false;
      selection.SelectAll();
      return true;
    case Vk::Applications:
      KeyboardContext();
      return true;
    case kF10:
      if (!shift) return false;
      KeyboardContext();
      return true;
    default:
      return false;
  }
}

}  // namespace Quarlo::Widget::List
