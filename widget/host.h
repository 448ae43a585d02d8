#pragma once
// The per-window state a widget tree reaches through its host pointer: DPI, client size, theme,
// animator, layout and repaint scheduling, focus, pointer capture and host timers. The window layer
// derives from Host and overrides the native requests (repaint, capture, timer delay); a Host alone is
// a complete headless host, used by tests.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "widget/access_info.h"
#include "widget/geometry.h"
#include "widget/links.h"
#include "widget/widget.h"

namespace Quarlo::Widget {

class Animator;
class Canvas;
struct Theme;
struct KeyEvent;
struct CharEvent;
struct ImeEvent;

class Host {
 public:
  Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // --- Virtual operations, in their fixed order ---

  virtual ~Host();
  // The window layer or the application applies a new theme; the tree is told and laid out again.
  virtual void SetTheme(const Theme& theme);
  // Widgets convert window DIPs to screen coordinates (identity without a native window).
  virtual Point WindowToScreen(Point window) const;
  // Called when the first repaint request since the last paint arrives; the window invalidates itself.
  virtual void RequestRepaint();
  // Capture or release the native pointer when a widget takes or loses the pointer capture.
  virtual void SetNativeCapture(bool capture);
  // Arm the one-shot native timer to call FireTimers after this many seconds; a negative delay disarms it.
  virtual void SetTimerDelay(double seconds);
  // Focus moved to another widget (the window associates the input method with it or not).
  virtual void OnFocusChanged();
  // A key nobody in the tree handled (dialogs use Enter and Escape).
  virtual bool OnUnhandledKey(const KeyEvent& event);
  // A modal window ends its loop with this result.
  virtual void EndModal(int result);
  // Widgets raise accessibility events through their host; the window forwards them to the bridge.
  virtual void RaiseAutomationEvent(Widget* widget, AutomationEvent kind, ItemId item);

  // --- Tree and layout ---

  // Detaches and destroys the old root, attaches the new one; returns it.
  Widget* SetRoot(std::unique_ptr<Widget> root);
  Widget* Root() const { return root_.get(); }
  float Dpi() const { return dpi_; }
  float ScaleFactor() const { return dpi_ / 96.0f; }
  Size ClientSize() const { return clientSize_; }
  void SetClientSize(Size size);
  void SetDpi(float dpi);
  const Theme& GetTheme() const;
  Animator& GetAnimator() { return *animator_; }

  // A measure was invalidated: lay out before the next paint.
  void InvalidateLayout();
  // Something must be drawn again.
  void InvalidateVisual();
  // The window calls this at the start of every paint: advance animations, measure and arrange the root.
  void UpdateLayout();
  // The window calls this after UpdateLayout to draw the tree.
  void RenderTree(Canvas& canvas);
  bool IsLayoutDirty() const { return layoutDirty_; }
  bool IsRepaintPending() const { return repaintPending_; }
  bool IsDestroying() const { return destroying_; }

  // --- Host timers (on the animator's clock) ---

  uint64_t AddTimer(Widget* owner, double seconds, std::function<void()> callback, bool repeat);
  void CancelTimer(uint64_t id);
  // The native timer armed through SetTimerDelay elapsed: run every due timer.
  void FireTimers();
  size_t TimerCount() const { return timers_.size(); }
  // Whether a timer still exists: hiding or detaching a widget drops its timers without telling it.
  bool HasTimer(uint64_t id) const;

  // --- Focus and capture ---

  // False when w is not in this tree, not focusable, or not enabled and visible in its tree.
  bool SetFocus(Widget* w, FocusReason reason);
  void CapturePointer(Widget* w);
  void ReleasePointerCapture(Widget* w);
  Widget* Focused() const { return focused_; }
  Widget* Captured() const { return captured_; }
  Widget* Hovered() const { return hovered_; }
  Widget* Pressed() const { return pressed_; }
  bool FocusVisible() const { return focusVisible_; }
  bool ShowAccessKeys() const { return showAccessKeys_ || keyboardCues_; }

  // --- Forgetting widgets ---

  // A widget was detached, hidden or destroyed: drop every reference the host holds to it.
  void WidgetRemoved(Widget* w);
  // A widget was hidden: it and every descendant lose hover, press, capture and focus.
  void WidgetHidden(Widget* w);
  // A widget was disabled: it stops being the pressed widget and the capture owner.
  void WidgetDisabled(Widget* w);

  std::shared_ptr<Detail::HostLink> Link();
  // Weak copies tell a running dispatch whether the host still exists.
  std::weak_ptr<const char> AliveToken() const { return alive_; }

 protected:
  // The widget flags that mirror the host's input state; derived hosts set them through these.
  static void SetHoveredFlag(Widget* w, bool value) { w->hovered = value; }
  static void SetPressedFlag(Widget* w, bool value) { w->pressed = value; }

  // Input state shared with the input routing.
  Widget* hovered_ = nullptr;
  Widget* captured_ = nullptr;
  Widget* pressed_ = nullptr;
  Widget* focused_ = nullptr;
  bool focusVisible_ = false;
  bool showAccessKeys_ = false;
  bool keyboardCues_ = false;
  bool active_ = true;
  Point lastPointer_;
  std::function<bool(const KeyEvent&)> keyDownPreview_;
  std::function<bool(const CharEvent&)> charPreview_;
  std::function<bool(const ImeEvent&)> imePreview_;
  std::function<bool(const KeyEvent&)> keyUpPreview_;
  int dispatchDepth_ = 0;
  std::vector<Widget*> removedDuringDispatch_;

 private:
  struct Timer {
    uint64_t id = 0;
    Widget* owner = nullptr;
    double due = 0;
    double interval = 0;
    bool repeat = false;
    std::function<void()> callback;
  };

  void RearmTimers();
  void ClearHoverChain();

  std::unique_ptr<Theme> theme_;
  float dpi_ = 96;
  Size clientSize_{800, 600};
  bool layoutDirty_ = true;
  bool repaintPending_ = true;
  std::unique_ptr<Animator> animator_;
  std::vector<Timer> timers_;
  uint64_t nextTimerId_ = 1;
  bool inTimerDispatch_ = false;
  bool destroying_ = false;
  std::shared_ptr<Detail::HostLink> link_;
  std::shared_ptr<const char> alive_;
  std::unique_ptr<Widget> root_;
};

// Calls f on w and every descendant in pre-order.
void ForEachInTree(Widget* w, const std::function<void(Widget*)>& f);

}  // namespace Quarlo::Widget
