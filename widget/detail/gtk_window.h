#pragma once
// The GTK window behind a toolkit Window: a bare GtkWindow whose draw signal paints the widget tree into a
// Cairo image back buffer, whose event signals become the toolkit's input records, plus the window's
// one-shot timer, its pointer grab and its input-method context. No GTK widget is placed inside it.

#include <gtk/gtk.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "widget/geometry.h"
#include "widget/input/wheel_accumulator.h"
#include "widget/native_window.h"

namespace Quarlo::Widget {
class Window;
}

namespace Quarlo::Widget::Detail {

class GtkNativeWindow : public INativeWindow {
 public:
  explicit GtkNativeWindow(Window& owner) : window(owner) {}
  ~GtkNativeWindow() override;
  GtkNativeWindow(const GtkNativeWindow&) = delete;
  GtkNativeWindow& operator=(const GtkNativeWindow&) = delete;

  bool Create() override;
  void Destroy() override;
  void DestroySilently() override;
  NativeHandle Handle() const override { return widget; }
  void Show(bool activate) override;
  void Hide() override;
  bool IsVisible() const override { return widget != nullptr && gtk_widget_get_visible(widget); }
  void SetTitle(const std::string& title) override;
  void Invalidate() override;
  void SetCursor(CursorKind kind) override;
  void SetCapture(bool capture) override;
  void ArmTimer(double seconds) override;
  void SetFullScreen(bool fullScreen) override;
  void MoveTo(Point screen) override;
  void ResizeClient(Size size) override;
  Rect ClientScreenRect() const override;
  Point WindowToScreen(Point window) const override;
  Point ScreenToWindow(Point screen) const override;
  void SetTopmost(bool topmost) override;
  void SetMaximized(bool maximized) override;
  bool IsMaximized() const override;
  void SetFrameDark(bool dark) override;
  void SetImeTarget(bool acceptsIme, Rect caret) override;

  // Logical (GDK) pixels per DIP: the desktop's font resolution over 96.
  float TextScale() const;
  // The host DPI: font resolution × the window's integer scale factor.
  float CurrentDpi() const;
  // Paints the tree into the back buffer and copies it to cr (logical pixels).
  void Paint(cairo_t* cr);
  // Sizes the client area in logical pixels.
  void SetClientPixels(int width, int height);
  // Takes the pointer (every press comes here); retried once the window is mapped when it is not yet.
  bool Grab();
  void Ungrab();
  // Forgets everything that belonged to the GtkWindow (it is gone or going).
  void ReleaseResources();
  // The pointer's widget may have changed: show its cursor.
  void UpdateCursor();
  // Places the input method's candidate window at the focused widget's caret (window DIPs).
  void PlaceImeWindow(Rect caret);
  // The focused text field took the composition over (or dropped it): the input context forgets it, and
  // what it commits or shows while doing so goes nowhere.
  void CancelComposition();
  // Whether the layout of a keyboard group types Latin letters, cached until the keymap changes.
  bool GroupTypesLatin(GdkKeymap* keymap, int group);
  GdkWindow* Gdk() const { return widget ? gtk_widget_get_window(widget) : nullptr; }

  Window& window;
  GtkWidget* widget = nullptr;
  GdkScreen* screen = nullptr;  // watched for changes of the font resolution
  GdkKeymap* keymap = nullptr;  // watched for layout changes
  GtkIMContext* im = nullptr;
  cairo_surface_t* backBuffer = nullptr;
  // The client size last asked for, until the window is given a size: GDK reports the old one until then,
  // and a dialog is placed by its new one before it shows.
  int pendingWidth = 0;
  int pendingHeight = 0;
  guint timer = 0;
  bool painting = false;
  bool grabbed = false;
  bool wantsGrab = false;
  bool active = false;               // the window has the keyboard focus
  bool imeTarget = false;            // the focused widget takes composed text
  bool composing = false;            // a composition is open
  bool filteringKey = false;         // inside gtk_im_context_filter_keypress
  bool droppingComposition = false;  // the input method's output while it forgets a composition goes nowhere
  bool preeditDuringKey = false;
  std::string commitDuringKey;
  int cursorKind = -1;
  Rect restoreBounds;  // the placement before full screen (screen pixels)
  // Double-click detection and key repeat, which GTK reports differently from the toolkit's records.
  uint32_t lastPressTime = 0;
  uint32_t lastPressButton = 0;
  Point lastPressPoint;
  bool lastPressWasDouble = false;
  std::set<uint32_t> keysDown;
  std::map<int, bool> latinGroups;
  Input::WheelAccumulator wheel;
};

// True when a window manager carries out full-screen requests (always outside X11).
bool WindowManagerCanFullScreen(GtkWidget* widget);
// Asks the window manager to draw the frame of this window light or dark (X11 only).
void SetFrameThemeVariant(GdkWindow* window, bool dark);

}  // namespace Quarlo::Widget::Detail
