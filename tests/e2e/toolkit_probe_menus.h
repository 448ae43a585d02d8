#pragma once
// The toolkit probe's menus, tool bar, combo box and tooltips: a context menu opened from the keyboard, by
// a right click, or at the right edge of the screen, and a second window with the controls that sit on
// menus and popups. What they do is traced for the end-to-end scripts.

#include <memory>

#include "widget/geometry.h"
#include "widget/input/menu_item.h"
#include "widget/window.h"

namespace Quarlo::Widget::Input {
class ComboBox;
}  // namespace Quarlo::Widget::Input

class MenuProbe {
 public:
  explicit MenuProbe(Quarlo::Widget::Window& main);

  // A key of the main window: M menu from the keyboard, E menu at the screen's right edge, W the controls
  // window, T light or dark theme. True when it was one of them.
  bool OnKey(uint32_t key);
  // A right click in the main window opens the menu at the pointer (screen pixels).
  void OnRightClick(Quarlo::Widget::Point screen);

 private:
  void OpenControls();

  Quarlo::Widget::Window& main_;
  Quarlo::Widget::Input::ContextMenu menu_;
  std::unique_ptr<Quarlo::Widget::Window> controls_;
  bool dark_ = false;
};
