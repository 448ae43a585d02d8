#include "support/fake_host.h"

#include <algorithm>

#include "widget/animator.h"

namespace Quarlo::Widget::Testing {

namespace {

// Advance never fires the native timer more often than this in one call.
constexpr int kMaxTimerTicksPerAdvance = 100000;

}  // namespace

FakeHost::FakeHost() {
  GetAnimator().SetClock([this] { return now; });
}

void FakeHost::Advance(double seconds) {
  double target = now + seconds;
  for (int ticks = 0; ticks < kMaxTimerTicksPerAdvance; ++ticks) {
    if (timerDelay < 0 || timerArmedAt + timerDelay > target) {
      break;
    }
    now = std::max(now, timerArmedAt + timerDelay);
    timerDelay = -1;  // one-shot: the window kills the timer before firing
    FireTimers();
  }
  now = target;
}

RecordingCanvas FakeHost::Paint(float scale) {
  UpdateLayout();
  RecordingCanvas canvas(scale);
  RenderTree(canvas);
  return canvas;
}

int FakeHost::CountEvents(AutomationEvent kind, Widget* widget) const {
  return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const RaisedEvent& e) {
    return e.kind == kind && (widget == nullptr || e.widget == widget);
  }));
}

Point FakeHost::WindowToScreen(Point window) const {
  float scale = ScaleFactor();
  return Point{screenOrigin.x + window.x * scale, screenOrigin.y + window.y * scale};
}

void FakeHost::SetTimerDelay(double seconds) {
  timerDelay = seconds;
  timerArmedAt = now;
}

void FakeHost::RaiseAutomationEvent(Widget* widget, AutomationEvent kind, ItemId item) {
  events.push_back(RaisedEvent{widget, kind, item});
}

void FakeHost::SetHoveredForTest(Widget* w) {
  hovered_ = w;
  for (Widget* a = w; a; a = a->Parent()) {
    SetHoveredFlag(a, true);
  }
}

void FakeHost::SetPressedForTest(Widget* w) {
  pressed_ = w;
  SetPressedFlag(w, true);
}

}  // namespace Quarlo::Widget::Testing
