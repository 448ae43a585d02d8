// TextBox: keys and typed characters, with the caret moves across lines of a multi-line field.

#include <algorithm>
#include <cmath>

#include "widget/input/events.h"
#include "widget/input/text_box.h"
#include "widget/input/text_line_breaks.h"
#include "widget/input/virtual_keys.h"

namespace Quarlo::Widget::Input {
namespace {

// The key an input method reports while it takes a key press for itself.
constexpr uint32_t kProcessKey = 229;
constexpr uint32_t kF10 = Vk::F1 + 9;
constexpr uint32_t kKeyC = Vk::A + 2;
constexpr uint32_t kKeyV = Vk::A + 21;
constexpr uint32_t kKeyX = Vk::A + 23;
constexpr uint32_t kKeyY = Vk::A + 24;
// Hit tests far left and right of a line find its two ends.
constexpr float kFarAway = 1e6f;

bool Has(const KeyEvent& event, uint8_t modifier) { return (event.modifiers & modifier) != 0; }

}  // namespace

bool TextBox::OnChar(const CharEvent& event) {
  const char32_t c = event.codePoint;
  if (event.system || c < 0x20 || c == 0x7F) return false;
  if (model_.readOnly) return true;
  if (c <= 0xFFFF && charFilter && !charFilter(c)) return true;
  CommitComposition();
  Apply(model_.TypeCharacter(c, NowMs()));
  return true;
}

bool TextBox::OnKeyDown(const KeyEvent& event) {
  if (event.key == kProcessKey) return false;
  if (event.key == Vk::CapsLock) {
    if (model_.masked && capsLockWarning) InvalidateVisual();
    return false;
  }
  if (Has(event, Modifier::Alt) && !Has(event, Modifier::Ctrl)) return false;
  if (NavigationKey(event) || EditingKey(event)) return true;
  return Has(event, Modifier::Ctrl) && CtrlKey(event);
}

void TextBox::MoveCaret(size_t position, bool extend) {
  CommitComposition();
  Apply(model_.MoveTo(position, extend));
}

bool TextBox::NavigationKey(const KeyEvent& event) {
  const bool ctrl = Has(event, Modifier::Ctrl);
  const bool shift = Has(event, Modifier::Shift);
  const bool lines = multiLine_ && !ctrl;
  const size_t caret = model_.Caret();
  switch (event.key) {
    case Vk::Left:
      if (!shift && model_.HasSelection()) {
        MoveCaret(model_.SelectionStart(), false);
      } else {
        MoveCaret(ctrl ? model_.PreviousWordMove(caret) : model_.PreviousCharacter(caret), shift);
      }
      return true;
    case Vk::Right:
      if (!shift && model_.HasSelection()) {
        MoveCaret(model_.SelectionEnd(), false);
      } else {
        MoveCaret(ctrl ? model_.NextWordMove(caret) : model_.NextCharacter(caret), shift);
      }
      return true;
    case Vk::Home:
      MoveCaret(lines ? LineEdge(false) : 0, shift);
      return true;
    case Vk::End:
      MoveCaret(lines ? LineEdge(true) : model_.Text().size(), shift);
      return true;
    case Vk::Up:
    case Vk::Down:
    case Vk::PageUp:
    case Vk::PageDown: {
      if (!lines) return false;
      const int count = event.key == Vk::Up || event.key == Vk::Down ? 1 : PageLines();
      const int direction = event.key == Vk::Up || event.key == Vk::PageUp ? -1 : 1;
      CommitComposition();
      verticalMove_ = true;
      MoveCaret(VerticalTarget(count * direction), shift);
      verticalMove_ = false;
      return true;
    }
    default:
      return false;
  }
}

bool TextBox::EditingKey(const KeyEvent& event) {
  const bool ctrl = Has(event, Modifier::Ctrl);
  const bool shift = Has(event, Modifier::Shift);
  switch (event.key) {
    case Vk::Backspace:
      if (!model_.readOnly) {
        CommitComposition();
        Apply(model_.DeleteBackward(ctrl, NowMs()));
      }
      return true;
    case Vk::Delete:
      if (shift && !ctrl) {
        Cut();
      } else if (!model_.readOnly) {
        CommitComposition();
        Apply(model_.DeleteForward(ctrl, NowMs()));
      }
      return true;
    case Vk::Enter:
      if (multiLine_ && !ctrl && (acceptsReturn || shift)) {
        if (!model_.readOnly) {
          CommitComposition();
          Apply(model_.Insert(kLineSeparator, Models::EditKind::Other, NowMs()));
        }
        return true;
      }
      if (!onSubmit) return false;
      CommitComposition();
      if (auto callback = onSubmit) callback();
      return true;
    case Vk::Escape:
      if (!model_.IsComposing()) return false;
      Apply(model_.CancelComposition());
      ForgetImeComposition();
      return true;
    case Vk::Insert:
      if (ctrl) Copy();
      if (shift && !ctrl) Paste();
      return ctrl || shift;
    case Vk::Applications:
      ShowContextMenu(Point{CaretRect().x, CaretRect().Bottom()}, true);
      return true;
    case kF10:
      if (!shift || ctrl) return false;
      ShowContextMenu(Point{CaretRect().x, CaretRect().Bottom()}, true);
      return true;
    default:
      return false;
  }
}

bool TextBox::CtrlKey(const KeyEvent& event) {
  const bool shift = Has(event, Modifier::Shift);
  switch (event.key) {
    case Vk::A:
      SelectAll();
      return true;
    case kKeyC:
      Copy();
      return true;
    case kKeyV:
      Paste();
      return true;
    case kKeyX:
      Cut();
      return true;
    case kKeyY:
      Redo();
      return true;
    case Vk::Z:
      if (shift) {
        Redo();
      } else {
        Undo();
      }
      return true;
    default:
      return false;
  }
}

int TextBox::PageLines() {
  const TextLayout& layout = Layout();
  const int count = std::max(layout ? layout.LineCount() : 1, 1);
  const float lineHeight = layout ? layout.Metrics().height / static_cast<float>(count) : 0;
  if (lineHeight <= 0) return 1;
  const int visible = static_cast<int>(ContentRect().height / lineHeight);
  return std::max(visible - 1, 1);
}

// The caret's target a number of lines up (negative) or down, keeping the column of the last horizontal
// move.
size_t TextBox::VerticalTarget(int lines) {
  const TextLayout& layout = Layout();
  if (!layout) return model_.Caret();
  const TextLayout::CaretHit hit = CaretHit();
  if (desiredX_ < 0) desiredX_ = hit.point.x;
  const float height = hit.lineHeight > 0 ? hit.lineHeight : layout.Metrics().height;
  const float y = hit.point.y + height * 0.5f + static_cast<float>(lines) * height;
  if (y < 0) return 0;
  if (y > std::max(hit.point.y + height, layout.Metrics().height)) return model_.Text().size();
  const TextLayout::PointHit found = layout.HitTestPoint(Point{desiredX_, y});
  size_t position = model_.FromDisplay(found.position);
  const bool atBreak = model_.Text().compare(position, kLineSeparator.size(), kLineSeparator) == 0;
  if (found.trailing && !atBreak) position = model_.NextCharacter(position);
  return position;
}

size_t TextBox::LineEdge(bool end) {
  const TextLayout& layout = Layout();
  if (!layout) return end ? model_.Text().size() : 0;
  const TextLayout::CaretHit hit = CaretHit();
  const float y = hit.point.y + hit.lineHeight * 0.5f;
  const TextLayout::PointHit found = layout.HitTestPoint(Point{end ? kFarAway : -kFarAway, y});
  size_t position = model_.FromDisplay(found.position);
  const bool atBreak = model_.Text().compare(position, kLineSeparator.size(), kLineSeparator) == 0;
  if (end && found.trailing && !atBreak) position = model_.NextCharacter(position);
  return position;
}

}  // namespace Quarlo::Widget::Input
