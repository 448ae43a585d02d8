#pragma once
// A row of tool buttons (plain, toggle, split, drop-down) with separators. What does not fit moves into an
// overflow menu behind a "More options" button at the end of the row.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "widget/input/menu_item.h"
#include "widget/widget.h"

namespace Quarlo::Widget::Input {

class Button;

enum class ToolbarItemKind : int32_t { Button = 0, Toggle = 1, Split = 2, DropDown = 3, Separator = 4 };

struct ToolbarItem {
  ToolbarItemKind kind = ToolbarItemKind::Button;
  int32_t id = 0;          // reported to the command callback
  std::string text;        // "&" marks the access key
  std::string toolTip;     // empty: the text without its access-key marker
  char32_t icon = 0;       // code point of the icon font
  bool showLabel = false;  // the text shows beside the icon; otherwise the icon alone
  bool enabled = true;
  bool checked = false;        // toggle buttons
  std::vector<MenuItem> menu;  // split and drop-down buttons

  static ToolbarItem Make(ToolbarItemKind kind, int32_t id, std::string text, char32_t icon = 0);
};

class Toolbar : public Widget {
 public:
  Toolbar();

  // Replaces every entry with one per item, followed by the overflow button.
  void SetItems(std::vector<ToolbarItem> items);
  const std::vector<ToolbarItem>& Items() const { return items_; }
  // Opens the menu of the items that do not fit, below the overflow button.
  void OpenOverflowMenu(bool selectFirst);
  // Whether a menu of the tool bar (an item's or the overflow menu) is open.
  bool IsMenuOpen() const;
  // The index of the first item that does not fit (the item count when all fit).
  size_t FirstHidden() const { return firstHidden_; }
  Button& OverflowButton() const { return *overflow_; }
  // The entry widget of an item.
  Widget* EntryAt(size_t index) const { return index < entries_.size() ? entries_[index].widget : nullptr; }

  const char* ClassName() const override;
  Size MeasureOverride(Size available) override;
  void ArrangeOverride(Size final) override;

  // (id, checked): a button or a split button's primary part (checked false), a toggle (its new state), an
  // item chosen from a split, drop-down or overflow menu (that item's id and checked state).
  std::function<void(int32_t, bool)> onCommand;

 private:
  struct Entry {
    Widget* widget = nullptr;
    float width = 0;  // measured with unbounded width
  };

  std::unique_ptr<Widget> MakeEntry(size_t index);
  void Command(int32_t id, bool checked);
  // A menu item that stands for the item at index, for the overflow menu.
  MenuItem OverflowItem(size_t index) const;
  void OverflowChosen(const MenuItem& item);
  float OverflowReserve() const;

  std::vector<ToolbarItem> items_;
  std::vector<Entry> entries_;
  float spacing_ = 2;
  Button* overflow_ = nullptr;
  ContextMenu overflowMenu_;
  size_t firstHidden_ = 0;
  bool guard_ = false;  // the tool bar itself sets a toggle: no second callback
};

}  // namespace Quarlo::Widget::Input
