#pragma once
// The viewer's native window: a toolkit window that also hands the mouse's back and forward buttons and
// every pointer move to the controller. The side buttons never reach the widget tree; moves go on to it.

#include <functional>

#include "widget/window.h"

namespace App {

class ViewerWindow : public Quarlo::Widget::Window {
 public:
  // forward is true for the forward button, false for the back button.
  using SideButtonHandler = std::function<void(bool forward)>;

  // The controller installs this when it creates the window; a release of a side button calls it.
  void SetOnSideButton(SideButtonHandler handler) { onSideButton_ = std::move(handler); }
  // The controller installs this when it creates the window; every pointer move calls it with the client
  // position in whole device pixels, before the tree sees the move.
  void SetOnPointerMove(std::function<void(int x, int y)> handler) { onPointerMove_ = std::move(handler); }

  // Side-button presses are consumed; their releases call the handler and are consumed.
  bool PreTranslateInput(const Quarlo::Widget::WindowInput& input) override;

 private:
  SideButtonHandler onSideButton_;
  std::function<void(int, int)> onPointerMove_;
};

}  // namespace App
