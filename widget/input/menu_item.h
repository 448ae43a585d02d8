#pragma once
// One entry of a menu: a command, a check or radio item, a separator or a submenu, and the plain object
// through which windows, tool bars and buttons show menus of such entries.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widget/geometry.h"

namespace Quarlo::Widget {
class Widget;
class Window;
}  // namespace Quarlo::Widget

namespace Quarlo::Widget::Input {

class MenuSession;

enum class MenuItemKind : int32_t { Command = 0, Check = 1, Radio = 2, Separator = 3, Submenu = 4 };

struct MenuItem {
  MenuItemKind kind = MenuItemKind::Command;
  int32_t id = 0;
  std::string text;             // "&" marks the access key, "&&" is a literal ampersand
  std::string acceleratorText;  // shown right-aligned ("Ctrl+C")
  char32_t icon = 0;            // code point of the icon font; 0 for none
  bool enabled = true;
  bool checked = false;
  int32_t group = 0;  // radio items of one group in one level exclude each other
  std::function<void()> action;
  std::vector<MenuItem> children;  // submenus

  static MenuItem Command(int32_t id, std::string text, std::string accelerator = {}, char32_t icon = 0);
  static MenuItem Check(int32_t id, std::string text, std::string accelerator, char32_t icon, bool checked);
  static MenuItem Radio(int32_t id, std::string text, std::string accelerator, char32_t icon, int32_t group,
                        bool checked);
  static MenuItem Separator();
  static MenuItem Submenu(int32_t id, std::string text, std::string accelerator, char32_t icon,
                          std::vector<MenuItem> children);

  // Keyboard navigation and activation skip what this rejects.
  bool IsSelectable() const { return enabled && kind != MenuItemKind::Separator; }
};

// Shows menus for an owner; the owner sets items and callbacks before showing. One session at a time: a
// new show closes the one before.
class ContextMenu {
 public:
  ContextMenu();
  ~ContextMenu();
  ContextMenu(const ContextMenu&) = delete;
  ContextMenu& operator=(const ContextMenu&) = delete;

  std::vector<MenuItem> items;
  // Runs after the menu closed, on the user-interface thread, with a copy of the chosen item.
  std::function<void(const MenuItem&)> onInvoked;
  std::function<void()> onClosed;
  double hoverDelay = 0.35;  // seconds before hovering a submenu row opens it

  // Opens at a point in screen pixels (a zero-size anchor); selectFirst highlights the first item.
  void ShowAt(Window& owner, int x, int y, bool selectFirst);
  // Opens below an anchor rectangle in screen pixels (each edge rounded to a whole pixel).
  void ShowBelow(Window& owner, const Rect& anchor, bool selectFirst);
  bool IsOpen() const;
  void Close();
  // Opens below a widget of a window (a tool bar's or a button's menu); nothing when it is not in one.
  void ShowBelowWidget(const Widget& anchor, bool selectFirst);
  // The open or last session; null before the first show.
  MenuSession* Session() const { return session_.get(); }

 private:
  void Show(Window& owner, Rect anchor, bool selectFirst);

  std::shared_ptr<MenuSession> session_;
  // The chosen item arrives after the menu closed, when this object may be gone; the callback runs only
  // while it exists.
  std::shared_ptr<const char> alive_ = std::make_shared<const char>(0);
};

}  // namespace Quarlo::Widget::Input
