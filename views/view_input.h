#pragma once
// Pointer handling shared by the picture view and the webtoon strip: the callbacks through which they
// hand input to the controller, the state of one press (a click, or a drag once it has moved far
// enough), and the widget base that routes presses, releases and the wheel. The views decide when a
// press may become a drag and what a drag moves.

#include <functional>
#include <optional>

#include "widget/geometry.h"
#include "widget/input/events.h"
#include "widget/widget.h"

namespace App {

// A press must move farther than this (DIPs) from where it went down before it becomes a drag.
inline constexpr float kDragThreshold = 4;

struct ViewCallbacks {
  // The wheel turned over the view; the result says whether it was handled.
  std::function<bool(const Quarlo::Widget::WheelEvent&)> onWheel;
  // A press and release without dragging, with any button but the right one.
  std::function<void(Quarlo::Widget::Point, int clickCount, Quarlo::Widget::PointerButton)> onClick;
  // A right-button release without dragging.
  std::function<void(Quarlo::Widget::Point)> onContextMenu;
  // What is shown changed (zoom, pan, pages, scroll...), for the bottom bar and the prefetch.
  std::function<void()> onChanged;

  bool Wheel(const Quarlo::Widget::WheelEvent& event) const { return onWheel ? onWheel(event) : false; }
  void Changed() const {
    if (onChanged) onChanged();
  }
};

class PointerPress {
 public:
  // A button went down at the event's position.
  void Down(const Quarlo::Widget::PointerEvent& event);
  struct Release {
    bool dragged = false;
    int clickCount = 1;
    Quarlo::Widget::PointerButton button = Quarlo::Widget::PointerButton::None;
  };
  // The button went up: ends the press and says what it was; nothing when no press was in progress.
  std::optional<Release> End();
  // What a release at a point means: nothing after a drag, else a context-menu request for the right
  // button and a click for any other.
  static void Deliver(const Release& release, Quarlo::Widget::Point at, const ViewCallbacks& callbacks);
  // The capture was lost: the press ends without a click.
  void Lost() { pressed_ = dragging_ = false; }

  // Moves are handled only while the left button is pressed.
  bool LeftPressed() const { return pressed_ && button_ == Quarlo::Widget::PointerButton::Left; }
  // The pointer is now farther than kDragThreshold from where the press began.
  bool BeyondThreshold(Quarlo::Widget::Point at) const;
  bool Dragging() const { return dragging_; }
  void StartDrag() { dragging_ = true; }
  // The position of the previous move (the press position at first); Moved replaces it.
  Quarlo::Widget::Point Last() const { return lastPoint_; }
  void Moved(Quarlo::Widget::Point at) { lastPoint_ = at; }

 private:
  bool pressed_ = false;
  bool dragging_ = false;
  int clickCount_ = 1;
  Quarlo::Widget::PointerButton button_ = Quarlo::Widget::PointerButton::None;
  Quarlo::Widget::Point pressPoint_;
  Quarlo::Widget::Point lastPoint_;
};

// A viewing widget whose pointer input goes to the controller: a press captures the pointer, a
// release without a drag is a click or a context-menu request, the wheel is the controller's. The
// views derive from it and handle moves themselves.
class PointerView : public Quarlo::Widget::Widget {
 public:
  bool OnPointerDown(const Quarlo::Widget::PointerEvent& event) override;
  bool OnPointerUp(const Quarlo::Widget::PointerEvent& event) override;
  void OnCaptureLost() override { press_.Lost(); }
  bool OnWheel(const Quarlo::Widget::WheelEvent& event) override { return callbacks_.Wheel(event); }
  bool IsHitTestVisible() const override { return true; }

  void SetOnWheel(decltype(ViewCallbacks::onWheel) handler) { callbacks_.onWheel = std::move(handler); }
  void SetOnClick(decltype(ViewCallbacks::onClick) handler) { callbacks_.onClick = std::move(handler); }
  void SetOnContextMenu(decltype(ViewCallbacks::onContextMenu) handler) {
    callbacks_.onContextMenu = std::move(handler);
  }
  // Called after every change of what is shown (zoom, pan, pages, scroll, resize), for the bottom bar
  // and the prefetch.
  void SetOnChanged(decltype(ViewCallbacks::onChanged) handler) { callbacks_.onChanged = std::move(handler); }

 protected:
  void Changed() const { callbacks_.Changed(); }

  ViewCallbacks callbacks_;
  PointerPress press_;
};

}  // namespace App
