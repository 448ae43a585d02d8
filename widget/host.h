#pragma once
// The per-window state a widget tree reaches through its host pointer: DPI, client size, theme,
// animator, layout and repaint scheduling, input routing, focus, pointer capture and host timers. The
// window layer derives from Host, overrides the native requests (repaint, capture, timer delay) and feeds
// it one call per native input event; a Host alone routes exactly as a window does, so tests use it.

#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widget/access_info.h"
#include "widget/geometry.h"
#include "widget/links.h"
#include "widget/widget.h"

namespace Quarlo::Widget {

class Animator;
class Canvas;
struct Theme;
struct PointerEvent;
struct WheelEvent;
struct KeyEvent;
struct CharEvent;
struct ImeEvent;

// A layout pass whose measure or arrange invalidates layout again (a scroll bar appears, text wraps anew) is
// followed by another in the same paint, up to this many; a tree still unsettled then is painted as it is.
inline constexpr int kMaxLayoutPasses = 8;

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

  // Detaches and destroys the old root, attaches the new one and returns it. Refuses (returns null and
  // leaves root with the caller) a widget that is already in a tree: a widget's child or a host's root.
  template <std::derived_from<Widget> T>
  T* SetRoot(std::unique_ptr<T>&& root) {
    if (root && (root->Parent() || root->GetHost())) {
      return nullptr;
    }
    T* adopted = root.get();
    ReplaceRoot(std::move(root));
    return adopted;
  }
  // Detaches and destroys the root, leaving the host empty.
  void ClearRoot() { ReplaceRoot(nullptr); }
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
  // The window calls this at the start of every paint: advance animations, then measure and arrange the root
  // until no layout invalidation is left (at most kMaxLayoutPasses passes).
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

  // --- Input routing: the native window calls these, one per event; positions in window DIPs ---

  void PointerDown(const PointerEvent& event);
  void PointerUp(const PointerEvent& event);
  void PointerMove(const PointerEvent& event);
  void PointerLeave();
  void Wheel(const WheelEvent& event);
  // Each returns true when the event was consumed; an unconsumed key goes to the desktop's default handling.
  bool KeyDown(const KeyEvent& event);
  bool KeyUp(const KeyEvent& event);
  // Takes code points or UTF-16 code units: a high surrogate waits for the low one that completes it.
  bool Char(const CharEvent& event);
  bool Ime(const ImeEvent& event);
  // The native pointer grab went to another window.
  void CaptureChanged();
  // The window became the active window or stopped being it.
  void Activated(bool active);
  bool IsActive() const { return active_; }
  // Tab navigation over the visible, enabled, focusable widgets in tree order.
  bool MoveFocus(bool forward);

  // The preview hooks see each key, character and input-method event before the tree does; true consumes it.
  void SetKeyDownPreview(std::function<bool(const KeyEvent&)> hook) { keyDownPreview_ = std::move(hook); }
  void SetKeyUpPreview(std::function<bool(const KeyEvent&)> hook) { keyUpPreview_ = std::move(hook); }
  void SetCharPreview(std::function<bool(const CharEvent&)> hook) { charPreview_ = std::move(hook); }
  void SetImePreview(std::function<bool(const ImeEvent&)> hook) { imePreview_ = std::move(hook); }
  const std::function<bool(const KeyEvent&)>& KeyDownPreview() const { return keyDownPreview_; }
  const std::function<bool(const KeyEvent&)>& KeyUpPreview() const { return keyUpPreview_; }
  const std::function<bool(const CharEvent&)>& CharPreview() const { return charPreview_; }
  const std::function<bool(const ImeEvent&)>& ImePreview() const { return imePreview_; }

  // The desktop asks for access keys to be underlined always, not only while Alt is held.
  void SetKeyboardCues(bool always);

  // --- Tooltips: the host decides when, the handler shows them ---

  // Called with the widget, its text and the pointer position (window DIPs) to show a tooltip, and with a
  // null widget to hide it. InstallTooltips sets it; without one no tooltip is shown.
  using ToolTipHandler = std::function<void(Widget*, const std::string&, Point)>;
  void SetToolTipHandler(ToolTipHandler handler);
  bool IsToolTipShown() const { return toolTipShown_; }
  // Hides a shown tooltip (recording when) and cancels a pending one: presses, keys, the wheel, the pointer
  // leaving and deactivation.
  void HideToolTip();

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
  // Held by the input routing while it calls into widgets. Every handler may take widgets out of the tree
  // or destroy them (a click that replaces the page) and may destroy the host itself (a click that closes
  // the window); the scope records what left, so the routing never calls, captures or flags such a widget.
  class DispatchScope {
   public:
    explicit DispatchScope(Host& host);
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

    // True once the host has been destroyed; nothing of it may be touched then.
    bool HostGone() const { return alive_.expired(); }
    // True when w left the tree or was destroyed since the outermost scope began, or the host is gone.
    bool Gone(const Widget* w) const;

   private:
    Host& host_;
    std::weak_ptr<const char> alive_;
  };

  // The widget flags that mirror the host's input state; derived hosts set them through these.
  static void SetHoveredFlag(Widget* w, bool value) { w->hovered = value; }
  static void SetPressedFlag(Widget* w, bool value) { w->pressed = value; }

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
  char16_t pendingHighSurrogate_ = 0;
  int dispatchDepth_ = 0;
  std::vector<Widget*> removedDuringDispatch_;

 private:
  // What a dispatch did. handler is the widget that took the event while it is still in the tree: null when
  // nobody took it, or when its own handler removed or destroyed it or destroyed the host.
  struct Dispatched {
    bool handled = false;
    Widget* handler = nullptr;
  };
  struct Timer {
    uint64_t id = 0;
    Widget* owner = nullptr;
    double due = 0;
    double interval = 0;
    bool repeat = false;
    std::function<void()> callback;
  };

  void ReplaceRoot(std::unique_ptr<Widget> root);
  // After each pointer move: a new hovered widget, or the same one while no tooltip is shown, hides the
  // tooltip and schedules the next one (ArmTooltip).
  void UpdateToolTip();
  // Starts the timer that shows the tooltip of the hovered widget or its nearest ancestor that has one.
  void ArmTooltip();
  void RearmTimers();
  void ClearHoverChain();

  // Calls handler on target and its ancestors until one returns true; the event position is converted to
  // each widget's space. Stops early when a handler removes its widget or destroys the host.
  Dispatched Dispatch(Widget* target, Point window, const std::function<bool(Widget*, Point)>& handler);
  // Tells a widget the pointer entered or left it, then lets it show that, unless the first call removed it.
  static void NotifyHover(const DispatchScope& scope, Widget* w, bool entered);
  void UpdateHover(Point window);
  void ClearHover();
  Widget* KeyTarget() const;
  // The pressed widget stops being pressed (its release will not come).
  void ClearPressed(const DispatchScope& scope);
  // Arrow keys move focus inside the nearest arrow-key group around the focused widget; true when it moved.
  bool MoveFocusInArrowGroup(uint32_t key);
  // Alt+character: the widget whose access key it is gets OnAccessKey. True when one matched.
  bool MatchAccessKey(char32_t codePoint);
  Widget* WheelTarget(Point window) const;
  // Joins UTF-16 surrogate halves; 0 while a high surrogate waits for its partner or a low one has none.
  char32_t CompleteCodePoint(char32_t unit);

  std::unique_ptr<Theme> theme_;
  float dpi_ = 96;
  Size clientSize_{800, 600};
  bool layoutDirty_ = true;
  bool repaintPending_ = true;
  bool unsettledReported_ = false;  // the layout loop hit its bound once already
  std::unique_ptr<Animator> animator_;
  ToolTipHandler toolTipHandler_;
  const Widget* toolTipHovered_ = nullptr;  // compared only, never followed: the hovered widget last seen
  bool toolTipShown_ = false;
  double toolTipHiddenAt_ = -1;  // on the animator's clock; negative before the first tooltip hid
  uint64_t toolTipTimer_ = 0;
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
