#include "views/view_input.h"

#include <cmath>

namespace App {

using Quarlo::Widget::Point;
using Quarlo::Widget::PointerButton;
using Quarlo::Widget::PointerEvent;

void PointerPress::Down(const PointerEvent& event) {
  pressed_ = true;
  dragging_ = false;
  clickCount_ = event.clicks;
  button_ = event.button;
  pressPoint_ = lastPoint_ = event.position;
}

std::optional<PointerPress::Release> PointerPress::End() {
  if (!pressed_) return std::nullopt;
  const Release release{dragging_, clickCount_, button_};
  pressed_ = dragging_ = false;
  return release;
}

void PointerPress::Deliver(const Release& release, Point at, const ViewCallbacks& callbacks) {
  if (release.dragged) return;
  if (release.button == PointerButton::Right) {
    if (callbacks.onContextMenu) callbacks.onContextMenu(at);
  } else if (callbacks.onClick) {
    callbacks.onClick(at, release.clickCount, release.button);
  }
}

bool PointerPress::BeyondThreshold(Point at) const {
  return std::hypot(at.x - pressPoint_.x, at.y - pressPoint_.y) > kDragThreshold;
}

bool PointerView::OnPointerDown(const PointerEvent& event) {
  press_.Down(event);
  CapturePointer();
  return true;
}

bool PointerView::OnPointerUp(const PointerEvent& event) {
  const std::optional<PointerPress::Release> release = press_.End();
  if (!release) return false;
  ReleasePointerCapture();
  PointerPress::Deliver(*release, event.position, callbacks_);
  return true;
}

}  // namespace App
