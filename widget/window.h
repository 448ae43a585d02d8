#pragma once
// Native top-level windows that host a widget tree: Window (standard or borderless), Dialog (modal, with
// Enter and Escape handling) and Popup (light-dismiss pop-up windows). The toolkit draws everything itself;
// the native window (INativeWindow, widget/native_window.h) only provides the window, its events, a repaint
// request, a one-shot timer and screen geometry. Screen coordinates are the desktop's logical pixels.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "widget/geometry.h"
#include "widget/host.h"
#include "widget/input/events.h"

namespace Quarlo::Widget {

class Canvas;
class INativeWindow;

// Standard: the desktop draws the frame and title bar. Borderless: the window draws its own chrome.
enum class WindowChrome : int32_t { Standard = 0, Borderless = 1 };

struct WindowOptions {
  std::string title;
  Size size{800, 600};       // client size in DIPs
  bool hasPosition = false;  // use position, else let the desktop place the window
  Point position;            // top-left of the window in screen pixels
  bool resizable = true;
  bool minimizable = true;
  bool maximizable = true;        // only with resizable
  NativeHandle owner = nullptr;   // owner window (kept above it); also the source of the initial scale
  bool allowBackdrop = true;      // no counterpart on this desktop: windows are painted with theme colours
  bool followSystemTheme = true;  // take the theme again when the desktop's light/dark setting changes
  bool activateOnShow = true;     // a modal dialog is shown activated, else without activation
  WindowChrome chrome = WindowChrome::Standard;
  bool topmost = false;           // always on top
  bool toolWindow = false;        // utility window (not in the task bar)
  bool activatable = true;        // false: the window never takes the keyboard focus
  bool inputTransparent = false;  // pointer input passes through to the windows below (tooltips)
  bool dropShadow = true;
  bool roundedCorners = true;
  bool transparent = false;  // borderless only: transparent background where the desktop composites
  bool hasBounds = false;    // use bounds instead of size and position
  Rect bounds;               // client rectangle in screen pixels (a saved placement)
  Size minSize;              // smallest client size in DIPs the user can resize to (0: none)
};

// A press, a release, a move, the loss of the pointer grab or a close request, as the window receives it,
// before the tree does.
struct WindowInput {
  enum class Kind : int32_t {
    ButtonPress = 0,
    GrabLost = 1,
    CloseRequest = 2,
    ButtonRelease = 3,
    PointerMove = 4,
  };
  Kind kind = Kind::ButtonPress;
  Point screen;                                // pointer position in screen pixels
  bool inside = false;                         // the position lies inside the client area
  PointerButton button = PointerButton::None;  // presses and releases
  int32_t clicks = 0;                          // presses: 2 for the second press of a double click
  uint8_t modifiers = 0;
};

class Window : public Host {
 public:
  Window();
  ~Window() override;

  // --- Host overrides ---

  void SetTheme(const Theme& theme) override;
  Point WindowToScreen(Point window) const override;
  void RequestRepaint() override;
  void SetNativeCapture(bool capture) override;
  void SetTimerDelay(double seconds) override;
  void OnFocusChanged() override;

  // --- Window's own virtual operations ---

  // The native layer offers presses, grab losses and close requests here first; true consumes them.
  virtual bool PreTranslateInput(const WindowInput& input);
  // Create calls this on its stored copy of the options before the native window exists.
  virtual void AdjustOptions(WindowOptions& options);
  virtual bool IsPopup() const;
  // Create calls this last, once the native window exists and the host knows its size and scale.
  virtual void OnCreated();
  // A close request arrived (title-bar button, RequestClose); runs before the close query.
  virtual void OnClose();

  // --- Operations ---

  // Creates the native window (hidden); true when it exists already. False when the desktop refuses.
  bool Create(const WindowOptions& options);
  void Show(bool activate);
  void Hide();
  bool IsShown() const;
  // Asks the window to close as its title-bar button does: OnClose, then the close query, then Destroy.
  void RequestClose();
  // Destroys the native window at once (the Window object stays usable for Create).
  void Destroy();
  void SetTitle(const std::string& title);
  // Measures the root at this width (unbounded height) and sizes the client area to its desired size.
  void SizeToContent(float width);
  // Called on a close request; returning false keeps the window open.
  void SetCloseQuery(std::function<bool()> query) { closeQuery_ = std::move(query); }
  // Called when the native window has been destroyed.
  void SetOnDestroyed(std::function<void()> callback) { onDestroyed_ = std::move(callback); }
  // Stores the provider and applies its theme at once (the system theme when it is empty).
  void SetThemeProvider(std::function<Theme()> provider);
  // Applies the provider's or the system theme when the window follows the system theme.
  void RefreshTheme();
  NativeHandle Handle() const;
  // The stored options; callers adjust them before Create.
  WindowOptions& Options() { return options_; }
  const WindowOptions& Options() const { return options_; }

  // Moves the window's top-left corner (screen pixels) without activating it.
  void MoveTo(Point screen);
  // Resizes the client area to a size in DIPs.
  void ResizeClient(Size size);
  // The client area in screen pixels.
  Rect ClientScreenRect() const;
  // Screen pixels to window DIPs (the inverse of WindowToScreen).
  Point ScreenToWindow(Point screen) const;
  // Full screen covers the window's monitor without a frame; leaving it restores the previous placement.
  void SetFullScreen(bool fullScreen);
  bool IsFullScreen() const { return fullScreen_; }
  void SetTopmost(bool topmost);
  // Maximised fills the work area of the window's monitor; the restored placement stays known to the desktop.
  void SetMaximized(bool maximized);
  bool IsMaximized() const;
  // A disabled window takes no pointer or keyboard input (the owner of a running modal dialog).
  void SetInputEnabled(bool enabled);
  bool IsInputEnabled() const { return inputEnabled_; }

  // The work area (screen pixels) of the monitor that shows most of rect; the primary monitor's when none.
  static Rect WorkAreaFor(Rect rect);
  // The window rectangle of a native handle in screen pixels (empty for a null handle).
  static Rect ScreenRectOf(NativeHandle handle);
  // The toolkit window behind a native handle, or null.
  static Window* FromHandle(NativeHandle handle);

  // --- What the native window calls ---

  // Lays the tree out and paints the window's background and tree into the canvas (the back buffer).
  void Paint(Canvas& canvas);
  // The cursor of the widget that holds the capture, else of the one under the pointer.
  CursorKind CurrentCursor() const;
  // The focused widget's caret in window DIPs, when it takes composed text; else empty.
  Rect ImeCaretRect() const;
  // The input method's composition reaches the focused widget only when it takes composed text.
  bool Composition(const ImeEvent& event);
  // Text the input method committed (UTF-8): one character event per code point, to the focused widget.
  bool CommitText(std::string_view text);
  // The native window is gone: clear the handle and call the destroyed callback.
  void NativeDestroyed();
  // The native window, for the backend that made it.
  INativeWindow& Native() const { return *native_; }

 private:
  // The native window asked to close (title-bar button or RequestClose): OnClose, close query, destroy.
  void HandleCloseRequest();

  WindowOptions options_;
  std::unique_ptr<INativeWindow> native_;
  std::function<bool()> closeQuery_;
  std::function<void()> onDestroyed_;
  std::function<Theme()> themeProvider_;
  bool fullScreen_ = false;
  bool inputEnabled_ = true;
};

// A modal window: ShowModal disables its owner and runs a nested loop until EndModal. Reusable: the native
// window is hidden, not destroyed, when the loop ends.
class Dialog : public Window {
 public:
  Dialog();
  ~Dialog() override;

  bool OnUnhandledKey(const KeyEvent& event) override;
  void EndModal(int result) override;
  bool PreTranslateInput(const WindowInput& input) override;
  void AdjustOptions(WindowOptions& options) override;

  // Shows the dialog centred over its owner, disables the owner and returns the result EndModal gave
  // (2 when the window could not be created or was closed).
  int ShowModal(NativeHandle owner);
  // Enter invokes the default widget, Escape the cancel widget (each only when enabled in its tree).
  void SetDefaultButton(Widget* button);
  void SetCancelButton(Widget* button);
  bool IsModal() const { return modal_; }

 private:
  bool modal_ = false;
  bool closing_ = false;
  int result_ = 2;
  NativeHandle owner_ = nullptr;
  std::shared_ptr<Detail::WidgetLink> defaultButton_;
  std::shared_ptr<Detail::WidgetLink> cancelButton_;
};

// A pop-up window (menus, drop-down lists, tooltips). In light-dismiss mode it holds the pointer while open:
// a press outside it closes it and goes nowhere else.
class Popup : public Window {
 public:
  Popup();
  ~Popup() override;

  void SetNativeCapture(bool capture) override;
  bool PreTranslateInput(const WindowInput& input) override;
  bool IsPopup() const override;

  // Shows the popup at a screen position, sized to its root measured at this width (DIPs), without
  // taking the focus from the window below.
  void ShowAt(int x, int y, float width);
  void Close();
  void SetOnClosed(std::function<void()> callback) { onClosed_ = std::move(callback); }
  void SetLightDismiss(bool lightDismiss) { lightDismiss_ = lightDismiss; }
  bool IsOpen() const { return open_; }

 private:
  bool lightDismiss_ = true;
  bool open_ = false;
  std::function<void()> onClosed_;
};

}  // namespace Quarlo::Widget
