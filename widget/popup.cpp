// Pop-up windows: shown at a screen position without taking the focus, sized to their content, and in
// light-dismiss mode closed by any press outside them.

#include <cmath>

#include "widget/window.h"

namespace Quarlo::Widget {

Popup::Popup() = default;

Popup::~Popup() = default;

bool Popup::IsPopup() const { return true; }

void Popup::SetNativeCapture(bool capture) {
  // An open light-dismiss popup keeps the pointer whatever its widgets do with their own capture.
  if (!capture && open_ && lightDismiss_) return;
  Window::SetNativeCapture(capture);
}

bool Popup::PreTranslateInput(const WindowInput& input) {
  if (!open_ || !lightDismiss_) return false;
  if (input.kind == WindowInput::Kind::ButtonPress && !input.inside) {
    Close();
    return true;
  }
  if (input.kind == WindowInput::Kind::GrabLost) {
    Close();
    return true;
  }
  return false;
}

void Popup::ShowAt(int x, int y, float width) {
  if (!Handle() && !Create(Options())) return;
  MoveTo(Point{static_cast<float>(x), static_cast<float>(y)});
  if (Root()) {
    Root()->Measure(Size{width, kUnbounded});
    const Size desired = Root()->DesiredSize();
    ResizeClient(Size{std::ceil(desired.width), std::ceil(desired.height)});
  }
  open_ = true;
  Show(false);
  if (lightDismiss_) Window::SetNativeCapture(true);
}

void Popup::Close() {
  if (!open_) return;
  open_ = false;
  Window::SetNativeCapture(false);
  Hide();
  // The callback may destroy the popup; it runs from a copy and nothing of this is touched afterwards.
  std::function<void()> callback = onClosed_;
  if (callback) callback();
}

}  // namespace Quarlo::Widget
