#pragma once
// A headless host for tests: it records what the tree asks of the native window (repaints, capture,
// timer delays, accessibility events), runs time on a clock the test advances by hand, and paints into
// a RecordingCanvas.

#include <memory>
#include <vector>

#include "support/recording_canvas.h"
#include "widget/host.h"

namespace Quarlo::Widget::Testing {

struct RaisedEvent {
  Widget* widget = nullptr;
  AutomationEvent kind = AutomationEvent::FocusChanged;
  ItemId item = 0;
};

class FakeHost : public Host {
 public:
  FakeHost();

  // Moves the clock forward and fires the native timer each time its delay has passed.
  void Advance(double seconds);
  double Now() const { return now; }
  // Runs a paint as the window would: layout pass, then the tree into a fresh recording canvas.
  RecordingCanvas Paint(float scale = 1);
  // Accessibility events of one kind raised so far.
  int CountEvents(AutomationEvent kind, Widget* widget = nullptr) const;

  Point WindowToScreen(Point window) const override;
  void RequestRepaint() override { ++repaintRequests; }
  void SetNativeCapture(bool capture) override { nativeCapture.push_back(capture); }
  void SetTimerDelay(double seconds) override;
  void OnFocusChanged() override { ++focusNotifications; }
  void RaiseAutomationEvent(Widget* widget, AutomationEvent kind, ItemId item) override;

  // Set the hovered and pressed widgets directly, without routing a pointer event.
  void SetHoveredForTest(Widget* w);
  void SetPressedForTest(Widget* w);

  double now = 0;
  int repaintRequests = 0;
  int focusNotifications = 0;
  std::vector<bool> nativeCapture;
  double timerDelay = -1;  // as last armed; negative when disarmed
  double timerArmedAt = 0;
  std::vector<RaisedEvent> events;
  Point screenOrigin;  // where the client area's top-left lies on the fake screen
};

}  // namespace Quarlo::Widget::Testing
