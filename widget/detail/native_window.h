#pragma once
// The GTK window behind a toolkit Window: a bare GtkWindow whose draw signal paints the widget tree into a
// Cairo image back buffer, whose event signals become the toolkit's input records, plus the window's
// one-shot timer and its pointer grab. No GTK widget is placed inside it.

#include <gtk/gtk.h>

#include <cstdint>
#include <set>

#include "widget/geometry.h"

namespace Quarlo::Widget {
class Window;
}

namespace Quarlo::Widget::Detail {

struct NativeWindow {
  explicit NativeWindow(Window& owner) : window(owner) {}
  ~NativeWindow();
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;

  // Builds the GtkWindow from the window's stored options; false when GTK cannot create it.
  bool Create();
  // Destroys the GtkWindow without calling back into the toolkit window.
  void DestroySilently();
  // Logical (GDK) pixels per DIP: the desktop's font resolution over 96.
  float TextScale() const;
  // The host DPI: font resolution × the window's integer scale factor.
  float CurrentDpi() const;
  // Paints the tree into the back buffer and copies it to cr (logical pixels).
  void Paint(cairo_t* cr);
  void ArmTimer(double seconds);
  // Sizes the client area in logical pixels.
  void SetClientPixels(int width, int height);
  // Takes the pointer (every press comes here); retried once the window is mapped when it is not yet.
  bool Grab();
  void Ungrab();
  // Forgets everything that belonged to the GtkWindow (it is gone or going).
  void ReleaseResources();
  // The GtkWindow was destroyed: tell the toolkit window.
  void NotifyDestroyed();
  void UpdateCursor();
  bool Visible() const { return widget != nullptr && gtk_widget_get_visible(widget); }
  GdkWindow* Gdk() const { return widget ? gtk_widget_get_window(widget) : nullptr; }

  Window& window;
  GtkWidget* widget = nullptr;
  GdkScreen* screen = nullptr;  // watched for changes of the font resolution
  cairo_surface_t* backBuffer = nullptr;
  guint timer = 0;
  bool painting = false;
  bool grabbed = false;
  bool wantsGrab = false;
  bool firstFramePainted = false;
  int cursorKind = -1;
  Rect restoreBounds;  // the placement before full screen (screen pixels)
  // Double-click detection and key repeat, which GTK reports differently from the toolkit's records.
  uint32_t lastPressTime = 0;
  uint32_t lastPressButton = 0;
  Point lastPressPoint;
  bool lastPressWasDouble = false;
  std::set<uint32_t> keysDown;
};

// True when a window manager carries out full-screen requests (always outside X11).
bool WindowManagerCanFullScreen(GtkWidget* widget);
// Asks the window manager to draw the frame of this window light or dark (X11 only).
void SetFrameThemeVariant(GdkWindow* window, bool dark);

}  // namespace Quarlo::Widget::Detail
