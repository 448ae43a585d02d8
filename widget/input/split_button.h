#pragma once
// Buttons with menus: SplitButton, a primary button beside an arrow that opens its menu, and
// DropDownButton, a button whose push opens its menu and which reports itself expanded while it is open.

#include <functional>
#include <string>
#include <vector>

#include "widget/input/button.h"
#include "widget/input/menu_item.h"

namespace Quarlo::Widget::Input {

class SplitButton : public Widget {
 public:
  SplitButton(const std::string& text, char32_t icon, ButtonStyle style);

  void SetMenuItems(std::vector<MenuItem> items) { menu_.items = std::move(items); }
  const std::vector<MenuItem>& MenuItems() const { return menu_.items; }
  Button& Primary() const { return *primary_; }
  Button& Arrow() const { return *arrow_; }
  // Opens the menu below the split button.
  void OpenMenu(bool selectFirst);
  bool IsMenuOpen() const { return menu_.IsOpen(); }

  const char* ClassName() const override;
  bool IsHitTestVisible() const override;
  Size MeasureOverride(Size available) override;
  void ArrangeOverride(Size final) override;

  // The primary part was pushed.
  std::function<void()> onClick;
  // An item of the menu was chosen (after the menu closed).
  std::function<void(const MenuItem&)> onMenuInvoked;

 private:
  Button* primary_ = nullptr;
  Button* arrow_ = nullptr;
  ContextMenu menu_;
};

class DropDownButton : public Button {
 public:
  DropDownButton(const std::string& text, char32_t icon, ButtonStyle style);

  void SetMenuItems(std::vector<MenuItem> items) { menu_.items = std::move(items); }
  const std::vector<MenuItem>& MenuItems() const { return menu_.items; }

  void Click() override;
  int32_t ExpandState() const override;
  // True opens the menu (first item highlighted), false closes it.
  bool SetExpanded(bool expanded) override;
  const char* ClassName() const override;

  // An item of the menu was chosen (after the menu closed).
  std::function<void(const MenuItem&)> onMenuInvoked;

 private:
  ContextMenu menu_;
};

}  // namespace Quarlo::Widget::Input
