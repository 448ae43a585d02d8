// TextBox: the pointer (caret placement, drag and double-click selection, the reveal button), the wheel,
// and the edit menu.

#include <algorithm>

#include "widget/input/events.h"
#include "widget/input/text_box.h"
#include "widget/toolkit_language.h"
#include "widget/window.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr float kWheelLines = 3;

}  // namespace

bool TextBox::OnPointerDown(const PointerEvent& event) {
  if (event.button == PointerButton::Left && ShowsRevealButton() &&
      RevealButtonRect().Contains(event.position)) {
    revealPressed_ = true;
    SetRevealed(true);
    CapturePointer();
    return true;
  }
  if (event.button == PointerButton::Left) {
    Focus(FocusReason::Pointer);
    CommitComposition();
    const size_t position = HitPosition(event.position);
    if (event.clicks == 2) {
      const auto [first, last] = model_.WordAt(position);
      Apply(model_.Select(first, last));
    } else {
      Apply(model_.MoveTo(position, (event.modifiers & Modifier::Shift) != 0));
      selectingWithPointer_ = true;
      CapturePointer();
    }
    return true;
  }
  if (event.button == PointerButton::Right) {
    Focus(FocusReason::Pointer);
    const size_t position = HitPosition(event.position);
    const bool insideSelection =
        model_.HasSelection() && position >= model_.SelectionStart() && position <= model_.SelectionEnd();
    if (!insideSelection) {
      CommitComposition();
      Apply(model_.MoveTo(position, false));
    }
    rightPressed_ = true;
    return true;
  }
  return false;
}

bool TextBox::OnPointerMove(const PointerEvent& event) {
  if (!selectingWithPointer_ || !IsPressed()) return false;
  Apply(model_.MoveTo(HitPosition(event.position), true));
  return true;
}

bool TextBox::OnPointerUp(const PointerEvent& event) {
  if (event.button == PointerButton::Left) {
    const bool handled = revealPressed_ || selectingWithPointer_;
    if (revealPressed_) SetRevealed(false);
    revealPressed_ = false;
    selectingWithPointer_ = false;
    ReleasePointerCapture();
    return handled;
  }
  if (event.button == PointerButton::Right && rightPressed_) {
    rightPressed_ = false;
    ShowContextMenu(event.position, false);
    return true;
  }
  return false;
}

void TextBox::OnCaptureLost() {
  selectingWithPointer_ = false;
  if (revealPressed_) SetRevealed(false);
  revealPressed_ = false;
}

bool TextBox::OnWheel(const WheelEvent& event) {
  if (!multiLine_) return false;
  const TextLayout& layout = Layout();
  if (!layout) return false;
  const int lines = std::max(layout.LineCount(), 1);
  const float lineHeight = std::max(layout.Metrics().height / static_cast<float>(lines), 1.0f);
  const float limit = std::max(layout.Metrics().height - ContentRect().height, 0.0f);
  const float next = std::clamp(scrollY_ - event.deltaY * kWheelLines * lineHeight, 0.0f, limit);
  if (next == scrollY_) return false;
  scrollY_ = next;
  InvalidateVisual();
  return true;
}

// --- The edit menu ---

std::vector<MenuItem> TextBox::EditMenuItems() const {
  const bool writable = !model_.readOnly;
  const bool selection = model_.HasSelection();
  const bool visible = !model_.masked;
  auto item = [](EditCommand command, ToolkitText text, const char* accelerator, bool enabled) {
    MenuItem entry = MenuItem::Command(static_cast<int32_t>(command), ToolkitString(text), accelerator);
    entry.enabled = enabled;
    return entry;
  };
  return {
      item(EditCommand::Undo, ToolkitText::Undo, "Ctrl+Z", model_.CanUndo() && writable),
      MenuItem::Separator(),
      item(EditCommand::Cut, ToolkitText::Cut, "Ctrl+X", visible && selection && writable),
      item(EditCommand::Copy, ToolkitText::Copy, "Ctrl+C", visible && selection),
      item(EditCommand::Paste, ToolkitText::Paste, "Ctrl+V", writable),
      item(EditCommand::Delete, ToolkitText::Delete, "Del", selection && writable),
      MenuItem::Separator(),
      item(EditCommand::SelectAll, ToolkitText::SelectAll, "Ctrl+A", !model_.Text().empty()),
  };
}

void TextBox::RunEditCommand(EditCommand command) {
  switch (command) {
    case EditCommand::Undo:
      Undo();
      break;
    case EditCommand::Cut:
      Cut();
      break;
    case EditCommand::Copy:
      Copy();
      break;
    case EditCommand::Paste:
      Paste();
      break;
    case EditCommand::Delete:
      CommitComposition();
      Apply(model_.DeleteSelection(Models::EditKind::Delete, NowMs()));
      break;
    case EditCommand::SelectAll:
      SelectAll();
      break;
  }
}

void TextBox::ShowContextMenu(Point local, bool fromKeyboard) {
  auto* window = dynamic_cast<Window*>(GetHost());
  if (!contextMenuEnabled || !window) return;
  if (!editMenu_) editMenu_ = std::make_unique<ContextMenu>();
  editMenu_->items = EditMenuItems();
  editMenu_->onInvoked = [this](const MenuItem& item) { RunEditCommand(static_cast<EditCommand>(item.id)); };
  const Rect screen = RectToScreen(Rect{local.x, local.y, 0, 0});
  editMenu_->ShowAt(*window, static_cast<int>(screen.x), static_cast<int>(screen.y), fromKeyboard);
}

bool TextBox::IsEditMenuOpen() const { return editMenu_ && editMenu_->IsOpen(); }

}  // namespace Quarlo::Widget::Input
