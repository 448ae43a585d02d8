#include "app/viewer_window.h"

#include <cmath>

namespace App {

using Quarlo::Widget::PointerButton;
using Quarlo::Widget::WindowInput;

bool ViewerWindow::PreTranslateInput(const WindowInput& input) {
  if (input.kind == WindowInput::Kind::PointerMove && onPointerMove_) {
    const Quarlo::Widget::Rect client = ClientScreenRect();
    onPointerMove_(static_cast<int>(std::floor(input.screen.x - client.x)),
                   static_cast<int>(std::floor(input.screen.y - client.y)));
  }
  const bool side = input.button == PointerButton::Back || input.button == PointerButton::Forward;
  if (!side) return Window::PreTranslateInput(input);
  if (input.kind == WindowInput::Kind::ButtonRelease && onSideButton_) {
    onSideButton_(input.button == PointerButton::Forward);
  }
  return input.kind == WindowInput::Kind::ButtonPress || input.kind == WindowInput::Kind::ButtonRelease;
}

}  // namespace App
