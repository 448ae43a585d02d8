// The headless native window and the screen it lives on.

#include "support/headless_window.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "widget/animator.h"
#include "widget/input/ime_composition.h"
#include "widget/window.h"

namespace Quarlo::Widget::Testing {
namespace {

// AdvanceHeadlessClock fires at most this many timers in one call, so a timer that keeps re-arming itself
// at once cannot hang a test.
constexpr int kMaxTimersPerAdvance = 100000;

double& Clock() {
  static double now = 0;
  return now;
}

// The window whose timer falls due first, at or before the time given; null when none does.
HeadlessWindow* FirstDue(double until) {
  HeadlessWindow* first = nullptr;
  for (HeadlessWindow* w : LiveWindows()) {
    if (w->timerDue >= 0 && w->timerDue <= until && (!first || w->timerDue < first->timerDue)) first = w;
  }
  return first;
}

bool IsSideButton(PointerButton button) {
  return button == PointerButton::Back || button == PointerButton::Forward;
}

}  // namespace

// Never destroyed, as the toolkit's own list of windows: a window may end after the static objects.
std::vector<HeadlessWindow*>& LiveWindows() {
  static auto* windows = new std::vector<HeadlessWindow*>;
  return *windows;
}

double HeadlessNow() { return Clock(); }

bool FireNextHeadlessTimer(double until) {
  HeadlessWindow* due = FirstDue(until);
  const double loopDue = NextLoopTimerDue();
  if (loopDue >= 0 && loopDue <= until && (!due || loopDue < due->timerDue)) {
    Clock() = std::max(Clock(), loopDue);
    FireFirstLoopTimer();
    return true;
  }
  if (!due) return false;
  Clock() = std::max(Clock(), due->timerDue);
  due->timerDue = -1;  // one-shot: disarmed before it fires, as the native timer is
  due->Owner().FireTimers();
  return true;
}

void AdvanceHeadlessClock(double seconds) {
  const double target = Clock() + seconds;
  for (int fired = 0; fired < kMaxTimersPerAdvance && FireNextHeadlessTimer(target); ++fired) {
  }
  Clock() = std::max(Clock(), target);
}

HeadlessWindow::HeadlessWindow(Window& window) : window_(window) {
  LiveWindows().push_back(this);
  window_.GetAnimator().SetClock([] { return HeadlessNow(); });
}

HeadlessWindow::~HeadlessWindow() { std::erase(LiveWindows(), this); }

HeadlessWindow& HeadlessWindow::Of(Window& window) { return dynamic_cast<HeadlessWindow&>(window.Native()); }

bool HeadlessWindow::Create() {
  const WindowOptions& o = window_.Options();
  const float scale = dpi / 96.0f;
  if (o.hasBounds) {
    bounds = o.bounds;
  } else {
    const Point at = o.hasPosition ? o.position : Point{kHeadlessWorkArea.x, kHeadlessWorkArea.y};
    bounds = Rect{at.x, at.y, std::round(o.size.width * scale), std::round(o.size.height * scale)};
  }
  exists = true;
  topmost = o.topmost;
  title = o.title;
  window_.SetDpi(dpi);
  window_.SetClientSize(Size{bounds.width / scale, bounds.height / scale});
  return true;
}

void HeadlessWindow::DestroySilently() {
  exists = false;
  visible = false;
  active = false;
  captured = false;
  timerDue = -1;
}

void HeadlessWindow::Destroy() {
  if (!exists) return;
  DestroySilently();
  window_.NativeDestroyed();
}

NativeHandle HeadlessWindow::Handle() const { return exists ? const_cast<HeadlessWindow*>(this) : nullptr; }

void HeadlessWindow::Show(bool activate) {
  if (!exists) return;
  visible = true;
  if (activate && window_.Options().activatable && !window_.IsPopup()) {
    ++activations;
    SetActive(true);
  }
}

void HeadlessWindow::Hide() {
  visible = false;
  if (active) SetActive(false);
}

void HeadlessWindow::SetCapture(bool capture) {
  captureRequests.push_back(capture);
  captured = capture && exists;
}

void HeadlessWindow::ArmTimer(double seconds) { timerDue = seconds < 0 ? -1 : HeadlessNow() + seconds; }

void HeadlessWindow::SetFullScreen(bool value) {
  if (!exists || value == fullScreen) return;
  fullScreen = value;
  if (value) {
    restoreBounds = bounds;
    Resize(Size{kHeadlessWorkArea.width / (dpi / 96.0f), kHeadlessWorkArea.height / (dpi / 96.0f)});
    bounds.x = kHeadlessWorkArea.x;
    bounds.y = kHeadlessWorkArea.y;
  } else {
    const Rect back = restoreBounds;
    Resize(Size{back.width / (dpi / 96.0f), back.height / (dpi / 96.0f)});
    bounds = back;
  }
}

void HeadlessWindow::MoveTo(Point screen) {
  bounds.x = screen.x;
  bounds.y = screen.y;
}

void HeadlessWindow::ResizeClient(Size size) {
  if (!exists) return;
  const float scale = dpi / 96.0f;
  bounds.width = std::ceil(size.width * scale - 0.01f);
  bounds.height = std::ceil(size.height * scale - 0.01f);
  window_.SetClientSize(Size{bounds.width / scale, bounds.height / scale});
}

Point HeadlessWindow::WindowToScreen(Point point) const {
  const float scale = dpi / 96.0f;
  return Point{bounds.x + std::round(point.x * scale), bounds.y + std::round(point.y * scale)};
}

Point HeadlessWindow::ScreenToWindow(Point screen) const {
  const float scale = dpi / 96.0f;
  return Point{(screen.x - bounds.x) / scale, (screen.y - bounds.y) / scale};
}

void HeadlessWindow::SetImeTarget(bool acceptsIme, Rect caret) {
  imeTarget = acceptsIme;
  if (acceptsIme) imeCaret = caret;
}

void HeadlessWindow::RefreshCursor() { SetCursor(window_.CurrentCursor()); }

void HeadlessWindow::Press(Point at, PointerButton button, int32_t clicks, uint8_t modifiers) {
  std::weak_ptr<const char> alive = window_.AliveToken();
  if (Offer(WindowInput::Kind::ButtonPress, at, button, clicks, modifiers) || alive.expired() ||
      !window_.IsInputEnabled()) {
    return;
  }
  if (IsSideButton(button)) return;
  PointerEvent e;
  e.position = at;
  e.button = button;
  e.clicks = clicks;
  e.modifiers = modifiers;
  window_.PointerDown(e);
  if (!alive.expired()) RefreshCursor();
}

bool HeadlessWindow::Offer(WindowInput::Kind kind, Point at, PointerButton button, int32_t clicks,
                           uint8_t modifiers) {
  WindowInput input;
  input.kind = kind;
  input.screen = WindowToScreen(at);
  const Size client = window_.ClientSize();
  input.inside = at.x >= 0 && at.y >= 0 && at.x < client.width && at.y < client.height;
  input.button = button;
  input.clicks = clicks;
  input.modifiers = modifiers;
  return window_.PreTranslateInput(input);
}

void HeadlessWindow::Release(Point at, PointerButton button, uint8_t modifiers) {
  std::weak_ptr<const char> alive = window_.AliveToken();
  if (Offer(WindowInput::Kind::ButtonRelease, at, button, 1, modifiers) || alive.expired()) return;
  if (!window_.IsInputEnabled() || IsSideButton(button)) return;
  PointerEvent e;
  e.position = at;
  e.button = button;
  e.clicks = 1;
  e.modifiers = modifiers;
  window_.PointerUp(e);
  if (!alive.expired()) RefreshCursor();
}

void HeadlessWindow::Move(Point at, uint8_t modifiers) {
  std::weak_ptr<const char> alive = window_.AliveToken();
  if (Offer(WindowInput::Kind::PointerMove, at, PointerButton::None, 0, modifiers) || alive.expired()) return;
  if (!window_.IsInputEnabled()) return;
  PointerEvent e;
  e.position = at;
  e.modifiers = modifiers;
  window_.PointerMove(e);
  if (!alive.expired()) RefreshCursor();
}

void HeadlessWindow::Leave() { window_.PointerLeave(); }

void HeadlessWindow::Scroll(const WheelEvent& event) {
  if (window_.IsInputEnabled()) window_.Wheel(event);
}

bool HeadlessWindow::KeyDown(const KeyEvent& event, std::string_view text) {
  if (!window_.IsInputEnabled()) return true;
  std::weak_ptr<const char> alive = window_.AliveToken();
  bool handled = event.key != 0 && window_.KeyDown(event);
  if (alive.expired() || text.empty()) return handled;
  if (!event.system) return window_.CommitText(text) || handled;
  for (char32_t c : Input::CodePointsOf(text)) {
    CharEvent ch;
    ch.codePoint = c;
    ch.modifiers = event.modifiers;
    ch.system = true;
    handled = window_.Char(ch) || handled;
    if (alive.expired()) break;
  }
  return handled;
}

bool HeadlessWindow::KeyUp(const KeyEvent& event) { return window_.IsInputEnabled() && window_.KeyUp(event); }

void HeadlessWindow::Compose(const ImeEvent& event) {
  std::weak_ptr<const char> alive = window_.AliveToken();
  window_.Composition(event);
  if (!alive.expired() && event.kind == ImeEventKind::Updated && imeTarget) imeCaret = window_.ImeCaretRect();
}

bool HeadlessWindow::Commit(std::string_view text) { return window_.CommitText(text); }

void HeadlessWindow::Resize(Size client) {
  const float scale = dpi / 96.0f;
  bounds.width = std::round(client.width * scale);
  bounds.height = std::round(client.height * scale);
  window_.SetClientSize(client);
}

void HeadlessWindow::ChangeDpi(float value) {
  dpi = value;
  window_.SetDpi(value);
  // The client keeps its size in pixels; its size in DIPs follows the new scale.
  window_.SetClientSize(Size{bounds.width / (value / 96.0f), bounds.height / (value / 96.0f)});
}

void HeadlessWindow::RequestClose() {
  WindowInput input;
  input.kind = WindowInput::Kind::CloseRequest;
  if (!window_.PreTranslateInput(input)) window_.RequestClose();
}

void HeadlessWindow::LoseCapture() {
  captured = false;
  WindowInput input;
  input.kind = WindowInput::Kind::GrabLost;
  std::weak_ptr<const char> alive = window_.AliveToken();
  if (!window_.PreTranslateInput(input) && !alive.expired()) window_.CaptureChanged();
}

void HeadlessWindow::SetActive(bool value) {
  if (value == active) return;
  active = value;
  window_.Activated(value);
}

void HeadlessWindow::Paint(Canvas& canvas) { window_.Paint(canvas); }

}  // namespace Quarlo::Widget::Testing

namespace Quarlo::Widget {

std::unique_ptr<INativeWindow> CreateNativeWindow(Window& window) {
  return std::make_unique<Testing::HeadlessWindow>(window);
}

Rect NativeWorkAreaFor(Rect) { return Testing::kHeadlessWorkArea; }

Rect NativeScreenRectOf(NativeHandle handle) {
  // A handle is looked up, never followed: its window may be gone.
  for (const Testing::HeadlessWindow* w : Testing::LiveWindows()) {
    if (w->Handle() == handle && handle) return w->ClientScreenRect();
  }
  return {};
}

}  // namespace Quarlo::Widget
