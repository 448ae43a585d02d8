#pragma once
// The headless native window that toolkit and application tests link instead of the GTK one: it records
// what the toolkit asks of the window (title, cursor, capture, timers, full screen, placement, always on
// top, focus, the input method's target) and lets a test deliver pointer, wheel, key, character and
// input-method events, resizes, DPI changes and close requests, as the GTK window delivers them, on a clock
// the test advances by hand.

#include <string>
#include <string_view>
#include <vector>

#include "widget/geometry.h"
#include "widget/input/events.h"
#include "widget/native_window.h"
#include "widget/widget.h"
#include "widget/window.h"

namespace Quarlo::Widget {
class Canvas;
}  // namespace Quarlo::Widget

namespace Quarlo::Widget::Testing {

// The clock of every headless window, the animators of their hosts and the headless loop.
double HeadlessNow();
// Moves the clock forward, firing each window's one-shot timer when it falls due, in time order.
void AdvanceHeadlessClock(double seconds);
// Fires the first timer due at or before this time; false when none is. The clock and the loop use it.
bool FireNextHeadlessTimer(double until);
// The headless loop's own timers (StartLoopTimer) run on the same clock: the time the first falls due
// (negative when there is none), and firing that one.
double NextLoopTimerDue();
void FireFirstLoopTimer();
// The headless windows that exist, oldest first.
class HeadlessWindow;
std::vector<HeadlessWindow*>& LiveWindows();
// The work area of the one headless monitor (screen pixels).
inline constexpr Rect kHeadlessWorkArea{0, 0, 1920, 1080};

class HeadlessWindow : public INativeWindow {
 public:
  explicit HeadlessWindow(Window& window);
  ~HeadlessWindow() override;
  HeadlessWindow(const HeadlessWindow&) = delete;
  HeadlessWindow& operator=(const HeadlessWindow&) = delete;

  // The headless window behind a toolkit window.
  static HeadlessWindow& Of(Window& window);
  Window& Owner() const { return window_; }

  // --- Requests from the toolkit ---

  bool Create() override;
  void Destroy() override;
  void DestroySilently() override;
  NativeHandle Handle() const override;
  void Show(bool activate) override;
  void Hide() override;
  bool IsVisible() const override { return visible; }
  void SetTitle(const std::string& text) override { title = text; }
  void Invalidate() override { ++invalidations; }
  void SetCursor(CursorKind kind) override { cursor = kind; }
  void SetCapture(bool capture) override;
  void ArmTimer(double seconds) override;
  void SetFullScreen(bool fullScreen) override;
  void MoveTo(Point screen) override;
  void ResizeClient(Size size) override;
  Rect ClientScreenRect() const override { return exists ? bounds : Rect{}; }
  Point WindowToScreen(Point window) const override;
  Point ScreenToWindow(Point screen) const override;
  void SetTopmost(bool value) override { topmost = value; }
  void SetMaximized(bool value) override { maximized = exists && value; }
  bool IsMaximized() const override { return maximized; }
  void SetFrameDark(bool dark) override { frameDark = dark; }
  void SetImeTarget(bool acceptsIme, Rect caret) override;

  // --- Events a test delivers (positions in window DIPs) ---

  // A press: offered to the window first (a light-dismiss popup closes on a press outside), then routed
  // (the side buttons never reach the tree).
  void Press(Point at, PointerButton button = PointerButton::Left, int32_t clicks = 1, uint8_t modifiers = 0);
  // A release: offered to the window first, then routed (the side buttons never reach the tree).
  void Release(Point at, PointerButton button = PointerButton::Left, uint8_t modifiers = 0);
  void Move(Point at, uint8_t modifiers = 0);
  void Leave();
  void Scroll(const WheelEvent& event);
  // A key press or release; a press may carry the text it types (UTF-8), as the input method commits it.
  bool KeyDown(const KeyEvent& event, std::string_view text = {});
  bool KeyUp(const KeyEvent& event);
  // What the input method sends: a composition's start, updates and end, and committed text.
  void Compose(const ImeEvent& event);
  bool Commit(std::string_view text);
  void Resize(Size client);
  void ChangeDpi(float dpi);
  void RequestClose();
  // Another window took the pointer grab.
  void LoseCapture();
  // The desktop moved the keyboard focus to this window or away from it.
  void SetActive(bool value);
  // Paints as the native window does, into any canvas (a RecordingCanvas, or an image canvas).
  void Paint(Canvas& canvas);

  // --- What the toolkit asked for ---

  bool exists = false;
  bool visible = false;
  bool active = false;
  int activations = 0;  // Show calls that asked for the keyboard focus
  std::string title;
  CursorKind cursor = CursorKind::Arrow;
  bool captured = false;
  std::vector<bool> captureRequests;
  double timerDue = -1;  // on the headless clock; negative when disarmed
  bool fullScreen = false;
  bool topmost = false;
  bool maximized = false;
  bool frameDark = false;
  Rect bounds;         // client area in screen pixels
  Rect restoreBounds;  // before full screen
  bool imeTarget = false;
  Rect imeCaret;  // window DIPs, as the window last placed the candidate window
  int invalidations = 0;
  float dpi = 96;

 private:
  void RefreshCursor();
  // Offers a pointer event to the window before the tree (PreTranslateInput); true when it was taken.
  bool Offer(WindowInput::Kind kind, Point at, PointerButton button, int32_t clicks, uint8_t modifiers);

  Window& window_;
};

}  // namespace Quarlo::Widget::Testing
