#include "app/shortcut_list_dialog.h"

#include <algorithm>
#include <string>

#include "app/commands.h"
#include "app/key_map.h"
#include "core/strings.h"
#include "widget/canvas.h"
#include "widget/grid.h"
#include "widget/input/label.h"
#include "widget/input/virtual_keys.h"
#include "widget/kit/dialog_builder.h"
#include "widget/scroll_viewer.h"
#include "widget/stack.h"
#include "widget/theme.h"

namespace App {

using namespace Quarlo::Widget;
using namespace Quarlo::Widget::Input;
using Quarlo::View::Text;

namespace {

constexpr float kWidth = 600;
constexpr float kListHeight = 460;
constexpr float kLineStep = 40;
constexpr float kListPaddingRight = 12;
constexpr int kTitle = 123;
constexpr int kChange = 124;
constexpr int kNone = 127;
constexpr int kMouse = 128;
constexpr int kFirstMouseLine = 129;
constexpr int kLastMouseLine = 132;
constexpr int kClose = 64;
constexpr int kChangeResult = 124;
constexpr int kCloseResult = 64;

// The list scrolls from the keyboard too: it takes the focus, and the arrow and page keys move it.
class KeyScrollViewer : public ScrollViewer {
 public:
  KeyScrollViewer() { tabStop = true; }
  bool IsFocusable() const override { return CanScrollVertically(); }
  bool OnKeyDown(const KeyEvent& event) override {
    if (event.modifiers != 0) return false;
    const float y = Offset().y;
    const float page = std::max(Viewport().height - kLineStep, kLineStep);
    switch (event.key) {
      case Vk::Up:
        ScrollTo(Offset().x, y - kLineStep);
        return true;
      case Vk::Down:
        ScrollTo(Offset().x, y + kLineStep);
        return true;
      case Vk::PageUp:
        ScrollTo(Offset().x, y - page);
        return true;
      case Vk::PageDown:
        ScrollTo(Offset().x, y + page);
        return true;
      case Vk::Home:
        ScrollTo(Offset().x, 0);
        return true;
      case Vk::End:
        ScrollTo(Offset().x, Extent().height);
        return true;
      default:
        return false;
    }
  }
  void OnFocusChanged(bool) override { InvalidateVisual(); }
  void PaintOverlay(Canvas& canvas) override {
    ScrollViewer::PaintOverlay(canvas);
    if (!IsFocusVisualShown()) return;
    const Rect bounds{0, 0, ActualSize().width, ActualSize().height};
    canvas.StrokeRoundedRect(bounds, 4, GetTheme().Get(ThemeColor::StrongForeground), 2);
  }
};

std::unique_ptr<Input::Label> Heading(const std::string& text) {
  auto heading = Kit::MakeLabel(text, false);
  heading->SetBold(true);
  heading->SetMargin(0, 8, 0, 0);
  return heading;
}

std::string ChordsText(const ChordList& chords) {
  std::string text;
  for (const HotkeyChord& chord : chords) text += (text.empty() ? "" : ", ") + ChordText(chord);
  return text;
}

// The commands of one group, from first up to the next group, as rows of label and chords.
std::unique_ptr<Grid> GroupGrid(const KeyMap& keys, size_t first, size_t end) {
  const std::span<const CommandInfo> table = CommandTable();
  auto grid = Kit::MakeGrid(2, static_cast<int>(2 * (end - first)));
  for (size_t i = first; i < end; ++i) {
    const int row = static_cast<int>(i - first);
    grid->AddChildAt(Kit::MakeLabel(Label(table[i].id), true), row, 0);
    const ChordList& chords = keys.Chords(table[i].id);
    auto chord = Kit::MakeLabel(chords.empty() ? Text(kNone) : ChordsText(chords), true);
    if (chords.empty()) chord->SetTone(TextTone::Secondary);
    grid->AddChildAt(std::move(chord), row, 1);
  }
  return grid;
}

std::unique_ptr<Widget> ShortcutColumn(const KeyMap& keys) {
  auto column = std::make_unique<Stack>(true, 6);
  column->SetMargin(0, 0, kListPaddingRight, 0);
  const std::span<const CommandInfo> table = CommandTable();
  for (size_t first = 0; first < table.size();) {
    size_t end = first;
    while (end < table.size() && table[end].group == table[first].group) ++end;
    column->AddChild(Heading(GroupName(table[first].group)));
    column->AddChild(GroupGrid(keys, first, end));
    first = end;
  }
  column->AddChild(Heading(Text(kMouse)));
  for (int id = kFirstMouseLine; id <= kLastMouseLine; ++id) column->AddChild(Kit::MakeLabel(Text(id), true));
  return column;
}

}  // namespace

std::unique_ptr<Kit::DialogBuilder> BuildShortcutListDialog(const KeyMap& keys, bool offerChange) {
  auto dialog = std::make_unique<Kit::DialogBuilder>(kWidth);
  auto list = std::make_unique<KeyScrollViewer>();
  list->SetHeight(kListHeight);
  list->SetAccessibleName(Text(kTitle));
  list->AddChild(ShortcutColumn(keys));
  dialog->Content()->AddChild(std::move(list));
  if (offerChange) dialog->AddButton(Text(kChange), kChangeResult, false, false);
  dialog->AddButton(Text(kClose), kCloseResult, true, true);
  return dialog;
}

ShortcutListChoice ShowShortcutListDialog(NativeHandle owner, const KeyMap& keys, bool offerChange) {
  const int result = BuildShortcutListDialog(keys, offerChange)->RunDialog(owner, Text(kTitle));
  return result == kChangeResult ? ShortcutListChoice::ChangeShortcuts : ShortcutListChoice::Close;
}

}  // namespace App
