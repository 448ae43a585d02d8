#pragma once
// The native window behind a toolkit Window, as the portable toolkit sees it: requests go out through this
// interface, and the native side calls the Window (as a Host) for each event it receives: input, paint,
// resize, DPI change, close request, timer. The build compiles one backend file that defines the factory
// and the screen queries: the GTK window for the program, a headless one for tests.

#include <memory>
#include <string>

#include "widget/geometry.h"
#include "widget/links.h"

namespace Quarlo::Widget {

class Window;
enum class CursorKind : int32_t;

class INativeWindow {
 public:
  virtual ~INativeWindow() = default;

  // Window::Create, after AdjustOptions: builds the hidden native window from the window's options and
  // gives the host its DPI and client size. False when the desktop refuses.
  virtual bool Create() = 0;
  // Window::Destroy: destroys the native window; Window::NativeDestroyed follows.
  virtual void Destroy() = 0;
  // Window's destructor: destroys the native window without calling back into the Window.
  virtual void DestroySilently() = 0;
  // The handle other windows use as their owner; null while no native window exists.
  virtual NativeHandle Handle() const = 0;
  // Window::Show and Window::Hide; activate gives the window the keyboard focus.
  virtual void Show(bool activate) = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() const = 0;
  // Window::SetTitle.
  virtual void SetTitle(const std::string& title) = 0;
  // The host asks for a paint (Host::RequestRepaint).
  virtual void Invalidate() = 0;
  // The routing changed the widget under the pointer or the capture owner; the window shows its cursor.
  virtual void SetCursor(CursorKind kind) = 0;
  // The host takes or releases the pointer (every press comes to this window while it is held).
  virtual void SetCapture(bool capture) = 0;
  // Arms the one-shot timer that calls Host::FireTimers; a negative delay disarms it.
  virtual void ArmTimer(double seconds) = 0;
  // Window::SetFullScreen: covers the window's monitor without a frame, or returns to the placement before.
  virtual void SetFullScreen(bool fullScreen) = 0;
  // Window::MoveTo and Window::ResizeClient: the top-left corner in screen pixels, the client size in DIPs.
  virtual void MoveTo(Point screen) = 0;
  virtual void ResizeClient(Size size) = 0;
  // The client area in screen pixels (empty without a native window).
  virtual Rect ClientScreenRect() const = 0;
  // Window DIPs to screen pixels, and back.
  virtual Point WindowToScreen(Point window) const = 0;
  virtual Point ScreenToWindow(Point screen) const = 0;
  // Window::SetTopmost: kept above other windows.
  virtual void SetTopmost(bool topmost) = 0;
  // Window::SetMaximized and Window::IsMaximized: the desktop's maximised state (false without a window).
  virtual void SetMaximized(bool maximized) = 0;
  virtual bool IsMaximized() const = 0;
  // The window's theme changed; the frame the desktop draws follows it where it can.
  virtual void SetFrameDark(bool dark) = 0;
  // Host::OnFocusChanged: the input method serves the focused widget when it takes composed text, and its
  // candidate window goes near the caret (window DIPs).
  virtual void SetImeTarget(bool acceptsIme, Rect caret) = 0;
};

// Defined by the backend the build compiles.
std::unique_ptr<INativeWindow> CreateNativeWindow(Window& window);
// The work area (screen pixels) of the monitor that shows most of rect; the primary monitor's when none.
Rect NativeWorkAreaFor(Rect rect);
// The frame rectangle of a native window in screen pixels (empty for a null handle).
Rect NativeScreenRectOf(NativeHandle handle);

}  // namespace Quarlo::Widget
