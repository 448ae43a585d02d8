// The GTK side of Window: creating the bare GtkWindow, painting the tree through the Cairo back buffer,
// turning GDK events into the toolkit's input records, the one-shot timer, the pointer grab, and screen
// geometry (monitors, work areas, full screen).

#include "widget/detail/native_window.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "widget/application.h"
#include "widget/detail/cairo_canvas.h"
#include "widget/detail/key_codes.h"
#include "widget/input/events.h"
#include "widget/loop_backend.h"
#include "widget/theme.h"
#include "widget/window.h"
#include "widget/window_placement.h"

namespace Quarlo::Widget {
namespace {

// Where parked windows go (QUARLO_VIEW_PARK_WINDOWS): off every screen, yet mapped and painted.
constexpr int kParkX = -30000;
constexpr int kParkY = 100;

std::vector<Window*>& AllWindows() {
  static std::vector<Window*> windows;
  return windows;
}

// The first window makes the application-wide theme choice reach every window.
void InstallThemeRefresh() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  SetThemeRefreshHandler([] { Detail::RefreshWindowThemes(); });
}

uint8_t ModifiersOf(guint state) {
  uint8_t bits = 0;
  if (state & GDK_SHIFT_MASK) bits |= Modifier::Shift;
  if (state & GDK_CONTROL_MASK) bits |= Modifier::Ctrl;
  if (state & GDK_MOD1_MASK) bits |= Modifier::Alt;
  if (state & (GDK_SUPER_MASK | GDK_MOD4_MASK)) bits |= Modifier::Win;
  return bits;
}

// The modifier a modifier key itself stands for (the toolkit counts a modifier as held on its own press).
uint8_t ModifierOfKey(uint32_t vk) {
  switch (vk) {
    case 0xA0:
    case 0xA1:
      return Modifier::Shift;
    case 0xA2:
    case 0xA3:
      return Modifier::Ctrl;
    case 0xA4:
    case 0xA5:
      return Modifier::Alt;
    case 0x5B:
    case 0x5C:
      return Modifier::Win;
    default:
      return 0;
  }
}

PointerButton ButtonOf(guint button) {
  switch (button) {
    case 1:
      return PointerButton::Left;
    case 2:
      return PointerButton::Middle;
    case 3:
      return PointerButton::Right;
    default:
      return PointerButton::None;
  }
}

PointerDevice DeviceOf(const GdkEvent* event) {
  GdkDevice* device = gdk_event_get_source_device(event);
  switch (device ? gdk_device_get_source(device) : GDK_SOURCE_MOUSE) {
    case GDK_SOURCE_PEN:
    case GDK_SOURCE_ERASER:
      return PointerDevice::Pen;
    case GDK_SOURCE_TOUCHSCREEN:
      return PointerDevice::Touch;
    default:
      return PointerDevice::Mouse;
  }
}

const char* CursorName(CursorKind kind) {
  switch (kind) {
    case CursorKind::Hand:
      return "pointer";
    case CursorKind::IBeam:
      return "text";
    case CursorKind::SizeWE:
      return "ew-resize";
    case CursorKind::SizeNS:
      return "ns-resize";
    case CursorKind::SizeAll:
      return "move";
    case CursorKind::Wait:
      return "wait";
    case CursorKind::No:
      return "not-allowed";
    case CursorKind::Cross:
      return "crosshair";
    case CursorKind::SizeNWSE:
      return "nwse-resize";
    case CursorKind::SizeNESW:
      return "nesw-resize";
    default:
      return "default";
  }
}

Rect ToRect(const GdkRectangle& r) {
  return Rect{static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.width),
              static_cast<float>(r.height)};
}

}  // namespace

namespace Detail {
namespace {

NativeWindow* Self(gpointer data) { return static_cast<NativeWindow*>(data); }

gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
  Self(data)->Paint(cr);
  return TRUE;
}

void OnSizeAllocate(GtkWidget*, GdkRectangle* allocation, gpointer data) {
  NativeWindow* self = Self(data);
  if (allocation->width <= 0 || allocation->height <= 0) return;
  const float scale = self->TextScale();
  self->window.SetClientSize(Size{allocation->width / scale, allocation->height / scale});
}

void OnScaleChanged(GObject*, GParamSpec*, gpointer data) {
  NativeWindow* self = Self(data);
  self->window.SetDpi(self->CurrentDpi());
  gtk_widget_queue_draw(self->widget);
}

// The desktop's font resolution changed: the DPI and the client size in DIPs change with it.
void OnResolutionChanged(GObject*, GParamSpec*, gpointer data) {
  NativeWindow* self = Self(data);
  const float scale = self->TextScale();
  self->window.SetDpi(self->CurrentDpi());
  self->window.SetClientSize(Size{gtk_widget_get_allocated_width(self->widget) / scale,
                                  gtk_widget_get_allocated_height(self->widget) / scale});
  gtk_widget_queue_draw(self->widget);
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
  NativeWindow* self = Self(data);
  WindowInput input;
  input.kind = WindowInput::Kind::CloseRequest;
  if (!self->window.PreTranslateInput(input)) self->window.RequestClose();
  return TRUE;
}

gboolean OnTimer(gpointer data) {
  NativeWindow* self = Self(data);
  self->timer = 0;
  // FireTimers may destroy the window; nothing of it is touched afterwards.
  self->window.FireTimers();
  return G_SOURCE_REMOVE;
}

Point DipsOf(NativeWindow* self, double x, double y) {
  const float scale = self->TextScale();
  return Point{static_cast<float>(x / scale), static_cast<float>(y / scale)};
}

bool InsideClient(GtkWidget* widget, double x, double y) {
  return x >= 0 && y >= 0 && x < gtk_widget_get_allocated_width(widget) &&
         y < gtk_widget_get_allocated_height(widget);
}

// Counts a press as the second of a double click the way the desktop's settings say, and a third press as
// a plain one again (GDK's own 2BUTTON/3BUTTON events arrive in addition to the presses and are ignored).
int32_t ClickCount(NativeWindow* self, const GdkEventButton* event) {
  gint doubleTime = 400;
  gint doubleDistance = 5;
  g_object_get(gtk_widget_get_settings(self->widget), "gtk-double-click-time", &doubleTime,
               "gtk-double-click-distance", &doubleDistance, nullptr);
  const Point at{static_cast<float>(event->x_root), static_cast<float>(event->y_root)};
  const bool isDouble = !self->lastPressWasDouble && event->button == self->lastPressButton &&
                        event->time - self->lastPressTime <= static_cast<uint32_t>(doubleTime) &&
                        std::fabs(at.x - self->lastPressPoint.x) <= doubleDistance &&
                        std::fabs(at.y - self->lastPressPoint.y) <= doubleDistance;
  self->lastPressTime = event->time;
  self->lastPressButton = event->button;
  self->lastPressPoint = at;
  self->lastPressWasDouble = isDouble;
  return isDouble ? 2 : 1;
}

gboolean OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer data) {
  NativeWindow* self = Self(data);
  if (event->type != GDK_BUTTON_PRESS) return TRUE;
  WindowInput input;
  input.kind = WindowInput::Kind::ButtonPress;
  input.screen = Point{static_cast<float>(event->x_root), static_cast<float>(event->y_root)};
  input.inside = InsideClient(widget, event->x, event->y);
  std::weak_ptr<const char> alive = self->window.AliveToken();
  if (self->window.PreTranslateInput(input) || alive.expired()) return TRUE;
  if (!self->window.IsInputEnabled()) return TRUE;
  const PointerButton button = ButtonOf(event->button);
  if (button == PointerButton::None) return TRUE;
  PointerEvent e;
  e.position = DipsOf(self, event->x, event->y);
  e.button = button;
  e.modifiers = ModifiersOf(event->state);
  e.clicks = ClickCount(self, event);
  e.device = DeviceOf(reinterpret_cast<const GdkEvent*>(event));
  self->window.PointerDown(e);
  if (!alive.expired()) self->UpdateCursor();
  return TRUE;
}

gboolean OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer data) {
  NativeWindow* self = Self(data);
  const PointerButton button = ButtonOf(event->button);
  if (!self->window.IsInputEnabled() || button == PointerButton::None) return TRUE;
  PointerEvent e;
  e.position = DipsOf(self, event->x, event->y);
  e.button = button;
  e.modifiers = ModifiersOf(event->state);
  e.clicks = 1;
  e.device = DeviceOf(reinterpret_cast<const GdkEvent*>(event));
  std::weak_ptr<const char> alive = self->window.AliveToken();
  self->window.PointerUp(e);
  if (!alive.expired()) self->UpdateCursor();
  return TRUE;
}

gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer data) {
  NativeWindow* self = Self(data);
  if (!self->window.IsInputEnabled()) return TRUE;
  PointerEvent e;
  e.position = DipsOf(self, event->x, event->y);
  e.modifiers = ModifiersOf(event->state);
  e.device = DeviceOf(reinterpret_cast<const GdkEvent*>(event));
  std::weak_ptr<const char> alive = self->window.AliveToken();
  self->window.PointerMove(e);
  if (!alive.expired()) self->UpdateCursor();
  return TRUE;
}

gboolean OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer data) {
  NativeWindow* self = Self(data);
  if (event->mode == GDK_CROSSING_NORMAL || event->mode == GDK_CROSSING_UNGRAB) self->window.PointerLeave();
  return FALSE;
}

gboolean OnScroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
  NativeWindow* self = Self(data);
  if (!self->window.IsInputEnabled()) return TRUE;
  // With smooth scrolling on, GDK also emulates the old wheel-button events; take only one of the two.
  if (gdk_event_get_pointer_emulated(reinterpret_cast<GdkEvent*>(event))) return TRUE;
  WheelEvent e;
  e.position = DipsOf(self, event->x, event->y);
  e.modifiers = ModifiersOf(event->state);
  switch (event->direction) {
    case GDK_SCROLL_UP:
      e.deltaY = 1;
      break;
    case GDK_SCROLL_DOWN:
      e.deltaY = -1;
      break;
    case GDK_SCROLL_LEFT:
      e.deltaX = -1;
      break;
    case GDK_SCROLL_RIGHT:
      e.deltaX = 1;
      break;
    case GDK_SCROLL_SMOOTH:
      // GDK's smooth deltas are in notches with y pointing down; the toolkit's point away from the user.
      e.deltaX = static_cast<float>(event->delta_x);
      e.deltaY = static_cast<float>(-event->delta_y);
      e.precise = (e.deltaX != 0 && std::fabs(e.deltaX) < 1) || (e.deltaY != 0 && std::fabs(e.deltaY) < 1);
      if (e.deltaX == 0 && e.deltaY == 0) return TRUE;
      break;
  }
  self->window.Wheel(e);
  return TRUE;
}

KeyEvent KeyEventOf(GdkEventKey* event, bool press, NativeWindow* self) {
  GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_window_get_display(event->window));
  guint baseKeyval = event->keyval;
  // The key's symbol without Shift (Num Lock kept, so the keypad gives digits when it is on).
  gdk_keymap_translate_keyboard_state(keymap, event->hardware_keycode,
                                      static_cast<GdkModifierType>(event->state & GDK_MOD2_MASK),
                                      event->group, &baseKeyval, nullptr, nullptr, nullptr);
  KeyEvent e;
  e.key = Detail::VirtualKeyFor(baseKeyval, event->hardware_keycode);
  e.scanCode = event->hardware_keycode >= 8 ? event->hardware_keycode - 8u : 0u;
  e.modifiers = ModifiersOf(event->state);
  const uint8_t own = ModifierOfKey(e.key);
  e.modifiers = press ? (e.modifiers | own) : (e.modifiers & ~own);
  e.extended = Detail::IsExtendedKeyval(baseKeyval);
  e.system = (e.modifiers & Modifier::Alt) != 0 && (e.modifiers & Modifier::Ctrl) == 0;
  if (press) {
    e.repeat = !self->keysDown.insert(event->hardware_keycode).second;
  } else {
    self->keysDown.erase(event->hardware_keycode);
  }
  return e;
}

gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
  NativeWindow* self = Self(data);
  if (!self->window.IsInputEnabled()) return TRUE;
  const KeyEvent key = KeyEventOf(event, true, self);
  std::weak_ptr<const char> alive = self->window.AliveToken();
  bool handled = key.key != 0 && self->window.KeyDown(key);
  if (alive.expired()) return TRUE;
  const gunichar c = gdk_keyval_to_unicode(event->keyval);
  // Control characters and Ctrl chords produce no text, as on the desktop's own text fields.
  if (c >= 32 && c != 127 && (key.modifiers & Modifier::Ctrl) == 0) {
    CharEvent ch;
    ch.codePoint = c;
    ch.modifiers = key.modifiers;
    ch.system = key.system;
    handled = self->window.Char(ch) || handled;
  }
  return handled ? TRUE : FALSE;
}

gboolean OnKeyRelease(GtkWidget*, GdkEventKey* event, gpointer data) {
  NativeWindow* self = Self(data);
  const KeyEvent key = KeyEventOf(event, false, self);
  if (!self->window.IsInputEnabled() || key.key == 0) return TRUE;
  return self->window.KeyUp(key) ? TRUE : FALSE;
}

gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer data) {
  Self(data)->window.Activated(true);
  return FALSE;
}

gboolean OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer data) {
  NativeWindow* self = Self(data);
  // Keys held while the focus left never report their release here.
  self->keysDown.clear();
  self->window.Activated(false);
  return FALSE;
}

gboolean OnGrabBroken(GtkWidget*, GdkEventGrabBroken* event, gpointer data) {
  NativeWindow* self = Self(data);
  if (!event->keyboard) {
    self->grabbed = false;
    WindowInput input;
    input.kind = WindowInput::Kind::GrabLost;
    std::weak_ptr<const char> alive = self->window.AliveToken();
    if (!self->window.PreTranslateInput(input) && !alive.expired()) self->window.CaptureChanged();
  }
  return TRUE;
}

gboolean OnMapped(GtkWidget*, GdkEvent*, gpointer data) {
  NativeWindow* self = Self(data);
  // A grab asked for before the window was viewable is taken now.
  if (self->wantsGrab && !self->grabbed) self->Grab();
  return FALSE;
}

void OnDestroyed(GtkWidget*, gpointer data) {
  NativeWindow* self = Self(data);
  self->ReleaseResources();
  self->NotifyDestroyed();
}

}  // namespace

NativeWindow::~NativeWindow() {
  if (timer != 0) g_source_remove(timer);
  DestroySilently();
  ReleaseResources();
}

void NativeWindow::ReleaseResources() {
  if (screen) g_signal_handlers_disconnect_by_data(screen, this);
  screen = nullptr;
  if (backBuffer) cairo_surface_destroy(backBuffer);
  backBuffer = nullptr;
  widget = nullptr;
  grabbed = false;
  wantsGrab = false;
  firstFramePainted = false;
  keysDown.clear();
}

void NativeWindow::NotifyDestroyed() { window.NativeDestroyed(); }

void NativeWindow::DestroySilently() {
  if (!widget) return;
  GtkWidget* doomed = widget;
  g_signal_handlers_disconnect_by_data(doomed, this);
  if (grabbed) Ungrab();
  ReleaseResources();
  gtk_widget_destroy(doomed);
}

float NativeWindow::TextScale() const {
  GdkScreen* screen = widget ? gtk_widget_get_screen(widget) : gdk_screen_get_default();
  const double resolution = screen ? gdk_screen_get_resolution(screen) : -1;
  return resolution > 0 ? static_cast<float>(resolution / 96.0) : 1.0f;
}

float NativeWindow::CurrentDpi() const {
  int factor = 1;
  if (widget) {
    factor = gtk_widget_get_scale_factor(widget);
  } else if (GdkDisplay* display = gdk_display_get_default()) {
    if (GdkMonitor* monitor = gdk_display_get_primary_monitor(display))
      factor = gdk_monitor_get_scale_factor(monitor);
  }
  return 96.0f * TextScale() * static_cast<float>(std::max(factor, 1));
}

void NativeWindow::ArmTimer(double seconds) {
  if (timer != 0) g_source_remove(timer);
  timer = 0;
  if (seconds < 0) return;
  const auto ms = static_cast<guint>(std::clamp(std::llround(seconds * 1000.0), 1LL, 3000000000LL));
  timer = g_timeout_add_full(G_PRIORITY_DEFAULT, ms, OnTimer, this, nullptr);
}

bool NativeWindow::Grab() {
  wantsGrab = true;
  GdkWindow* gdk = Gdk();
  if (!gdk || !gdk_window_is_viewable(gdk)) return false;
  GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(gdk));
  // Not owner events: every press, inside the window or not, comes to this window, as a capture does.
  grabbed = gdk_seat_grab(seat, gdk, GDK_SEAT_CAPABILITY_ALL_POINTING, FALSE, nullptr, nullptr, nullptr,
                          nullptr) == GDK_GRAB_SUCCESS;
  return grabbed;
}

void NativeWindow::Ungrab() {
  wantsGrab = false;
  if (!grabbed) return;
  grabbed = false;
  if (GdkWindow* gdk = Gdk()) gdk_seat_ungrab(gdk_display_get_default_seat(gdk_window_get_display(gdk)));
}

void NativeWindow::UpdateCursor() {
  GdkWindow* gdk = Gdk();
  if (!gdk) return;
  Widget* over = window.Captured() ? window.Captured() : window.Hovered();
  const CursorKind kind = over && over->IsEnabledInTree() ? over->Cursor() : CursorKind::Arrow;
  if (static_cast<int>(kind) == cursorKind) return;
  cursorKind = static_cast<int>(kind);
  GdkCursor* cursor = gdk_cursor_new_from_name(gdk_window_get_display(gdk), CursorName(kind));
  gdk_window_set_cursor(gdk, cursor);
  if (cursor) g_object_unref(cursor);
}

void NativeWindow::Paint(cairo_t* cr) {
  if (painting || !widget) return;
  painting = true;
  window.SetDpi(CurrentDpi());
  window.UpdateLayout();
  const int factor = std::max(gtk_widget_get_scale_factor(widget), 1);
  const int width = std::max(gtk_widget_get_allocated_width(widget) * factor, 1);
  const int height = std::max(gtk_widget_get_allocated_height(widget) * factor, 1);
  if (backBuffer && (cairo_image_surface_get_width(backBuffer) != width ||
                     cairo_image_surface_get_height(backBuffer) != height)) {
    cairo_surface_destroy(backBuffer);
    backBuffer = nullptr;
  }
  if (!backBuffer) backBuffer = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(backBuffer) == CAIRO_STATUS_SUCCESS) {
    cairo_t* target = cairo_create(backBuffer);
    {
      CairoCanvas canvas(target, window.Dpi() / 96.0f);
      const WindowOptions& options = window.Options();
      const bool clear = options.chrome == WindowChrome::Borderless && options.transparent;
      const Theme& theme = window.GetTheme();
      canvas.Clear(
          clear ? Color{0, 0, 0, 0}
                : theme.Get(window.IsPopup() ? ThemeColor::PopupBackground : ThemeColor::WindowBackground));
      window.RenderTree(canvas);
    }
    cairo_destroy(target);
    cairo_surface_flush(backBuffer);
    cairo_save(cr);
    cairo_scale(cr, 1.0 / factor, 1.0 / factor);
    cairo_set_source_surface(cr, backBuffer, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_restore(cr);
    firstFramePainted = true;
  } else {
    cairo_surface_destroy(backBuffer);
    backBuffer = nullptr;
  }
  painting = false;
}

bool NativeWindow::Create() {
  const WindowOptions& o = window.Options();
  const bool popup = window.IsPopup();
  widget = gtk_window_new(popup ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL);
  if (!widget) return false;
  GtkWindow* gw = GTK_WINDOW(widget);
  gtk_widget_set_app_paintable(widget, TRUE);
  gtk_window_set_title(gw, o.title.c_str());
  if (popup) {
    gtk_window_set_type_hint(gw, GDK_WINDOW_TYPE_HINT_POPUP_MENU);
  } else {
    gtk_window_set_decorated(gw, o.chrome == WindowChrome::Standard);
    gtk_window_set_resizable(gw, o.resizable);
    gtk_window_set_deletable(gw, true);
    if (o.toolWindow) gtk_window_set_type_hint(gw, GDK_WINDOW_TYPE_HINT_UTILITY);
    gtk_window_set_skip_taskbar_hint(gw, o.toolWindow);
    gtk_window_set_accept_focus(gw, o.activatable);
    gtk_window_set_keep_above(gw, o.topmost);
  }
  if (o.owner) gtk_window_set_transient_for(gw, GTK_WINDOW(o.owner));
  if (o.chrome == WindowChrome::Borderless && o.transparent) {
    if (GdkVisual* visual = gdk_screen_get_rgba_visual(gtk_widget_get_screen(widget))) {
      gtk_widget_set_visual(widget, visual);
    }
  }
  gtk_widget_add_events(widget, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                    GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK | GDK_KEY_PRESS_MASK |
                                    GDK_KEY_RELEASE_MASK | GDK_LEAVE_NOTIFY_MASK | GDK_ENTER_NOTIFY_MASK |
                                    GDK_FOCUS_CHANGE_MASK | GDK_STRUCTURE_MASK);

  const float scale = TextScale();
  int width = static_cast<int>(std::lround(o.size.width * scale));
  int height = static_cast<int>(std::lround(o.size.height * scale));
  bool place = o.hasPosition;
  int x = static_cast<int>(std::lround(o.position.x));
  int y = static_cast<int>(std::lround(o.position.y));
  if (o.hasBounds) {
    width = static_cast<int>(std::lround(o.bounds.width));
    height = static_cast<int>(std::lround(o.bounds.height));
    x = static_cast<int>(std::lround(o.bounds.x));
    y = static_cast<int>(std::lround(o.bounds.y));
    place = true;
  }
  if (Application::Instance().Options().parkWindows && !popup) {
    x = kParkX;
    y = kParkY;
    place = true;
    gtk_window_set_focus_on_map(gw, FALSE);
  }
  SetClientPixels(std::max(width, 1), std::max(height, 1));
  if (place) gtk_window_move(gw, x, y);
  if (o.minSize.width > 0 || o.minSize.height > 0) {
    GdkGeometry geometry{};
    geometry.min_width = static_cast<int>(std::ceil(o.minSize.width * scale));
    geometry.min_height = static_cast<int>(std::ceil(o.minSize.height * scale));
    gtk_window_set_geometry_hints(gw, nullptr, &geometry, GDK_HINT_MIN_SIZE);
  }

  g_signal_connect(widget, "draw", G_CALLBACK(OnDraw), this);
  g_signal_connect(widget, "size-allocate", G_CALLBACK(OnSizeAllocate), this);
  g_signal_connect(widget, "notify::scale-factor", G_CALLBACK(OnScaleChanged), this);
  g_signal_connect(widget, "delete-event", G_CALLBACK(OnDelete), this);
  g_signal_connect(widget, "button-press-event", G_CALLBACK(OnButtonPress), this);
  g_signal_connect(widget, "button-release-event", G_CALLBACK(OnButtonRelease), this);
  g_signal_connect(widget, "motion-notify-event", G_CALLBACK(OnMotion), this);
  g_signal_connect(widget, "leave-notify-event", G_CALLBACK(OnLeave), this);
  g_signal_connect(widget, "scroll-event", G_CALLBACK(OnScroll), this);
  g_signal_connect(widget, "key-press-event", G_CALLBACK(OnKeyPress), this);
  g_signal_connect(widget, "key-release-event", G_CALLBACK(OnKeyRelease), this);
  g_signal_connect(widget, "focus-in-event", G_CALLBACK(OnFocusIn), this);
  g_signal_connect(widget, "focus-out-event", G_CALLBACK(OnFocusOut), this);
  g_signal_connect(widget, "grab-broken-event", G_CALLBACK(OnGrabBroken), this);
  g_signal_connect(widget, "map-event", G_CALLBACK(OnMapped), this);
  g_signal_connect(widget, "destroy", G_CALLBACK(OnDestroyed), this);
  screen = gtk_widget_get_screen(widget);
  g_signal_connect(screen, "notify::resolution", G_CALLBACK(OnResolutionChanged), this);
  gtk_widget_realize(widget);
  return true;
}

void NativeWindow::SetClientPixels(int width, int height) {
  GtkWindow* gw = GTK_WINDOW(widget);
  gtk_window_set_default_size(gw, width, height);
  gtk_window_resize(gw, width, height);
  // A window the user cannot resize (and a popup) takes the size of its request.
  if (!gtk_window_get_resizable(gw) || window.IsPopup()) gtk_widget_set_size_request(widget, width, height);
}

void RefreshWindowThemes() {
  // Copy: a theme change may open or close windows.
  const std::vector<Window*> windows = AllWindows();
  for (Window* w : windows) {
    if (std::find(AllWindows().begin(), AllWindows().end(), w) != AllWindows().end()) w->RefreshTheme();
  }
}

}  // namespace Detail

// --- Window: construction and Host overrides ---

Window::Window() : native_(std::make_unique<Detail::NativeWindow>(*this)) {
  InstallThemeRefresh();
  AllWindows().push_back(this);
}

Window::~Window() {
  std::erase(AllWindows(), this);
  if (auto link = Link()) {
    link->window = nullptr;
    link->handle = nullptr;
  }
  closeQuery_ = nullptr;
  onDestroyed_ = nullptr;
  native_.reset();
}

void Window::SetTheme(const Theme& theme) {
  Host::SetTheme(theme);
  // The frame drawn by the desktop follows the toolkit's light or dark look where it can.
  Detail::SetFrameThemeVariant(native_->Gdk(), theme.mode != ThemeKind::Light);
}

Point Window::WindowToScreen(Point window) const {
  GdkWindow* gdk = native_->Gdk();
  if (!gdk) return window;
  int x = 0;
  int y = 0;
  gdk_window_get_origin(gdk, &x, &y);
  const float scale = native_->TextScale();
  return Point{static_cast<float>(std::lround(window.x * scale) + x),
               static_cast<float>(std::lround(window.y * scale) + y)};
}

void Window::RequestRepaint() {
  if (native_->widget) gtk_widget_queue_draw(native_->widget);
}

void Window::SetNativeCapture(bool capture) {
  if (capture) {
    native_->Grab();
  } else {
    native_->Ungrab();
  }
}

void Window::SetTimerDelay(double seconds) { native_->ArmTimer(seconds); }

// --- Window: native operations ---

bool Window::Create(const WindowOptions& options) {
  if (native_->widget) return true;
  options_ = options;
  AdjustOptions(options_);
  if (!native_->Create()) return false;
  auto link = Link();
  link->window = this;
  link->handle = native_->widget;
  SetDpi(native_->CurrentDpi());
  int width = 0;
  int height = 0;
  gtk_window_get_default_size(GTK_WINDOW(native_->widget), &width, &height);
  const float scale = native_->TextScale();
  SetClientSize(Size{width / scale, height / scale});
  if (options_.followSystemTheme) {
    RefreshTheme();
  } else {
    Detail::SetFrameThemeVariant(native_->Gdk(), GetTheme().mode != ThemeKind::Light);
  }
  OnFocusChanged();
  OnCreated();
  return true;
}

void Window::Show(bool activate) {
  GtkWidget* widget = native_->widget;
  if (!widget) return;
  GtkWindow* gw = GTK_WINDOW(widget);
  const bool parked = Application::Instance().Options().parkWindows && !IsPopup();
  if (activate && !parked && !IsPopup() && options_.activatable) {
    gtk_window_present(gw);
  } else {
    gtk_window_set_focus_on_map(gw, FALSE);
    gtk_widget_show(widget);
  }
}

void Window::Hide() {
  if (native_->widget) gtk_widget_hide(native_->widget);
}

bool Window::IsShown() const { return native_->Visible(); }

void Window::RequestClose() {
  if (native_->widget) HandleCloseRequest();
}

void Window::Destroy() {
  if (native_->widget) gtk_widget_destroy(native_->widget);
}

void Window::NativeDestroyed() {
  if (auto link = Link()) link->handle = nullptr;
  // The callback may destroy this window; it runs from a copy.
  std::function<void()> callback = onDestroyed_;
  if (callback) callback();
}

void Window::SetTitle(const std::string& title) {
  options_.title = title;
  if (native_->widget) gtk_window_set_title(GTK_WINDOW(native_->widget), title.c_str());
}

void Window::SizeToContent(float width) {
  if (!Root()) return;
  Root()->Measure(Size{width, kUnbounded});
  ResizeClient(Root()->DesiredSize());
}

NativeHandle Window::Handle() const { return native_->widget; }

void Window::MoveTo(Point screen) {
  if (native_->widget) {
    gtk_window_move(GTK_WINDOW(native_->widget), static_cast<int>(std::lround(screen.x)),
                    static_cast<int>(std::lround(screen.y)));
  }
}

void Window::ResizeClient(Size size) {
  if (!native_->widget) return;
  const float scale = native_->TextScale();
  native_->SetClientPixels(std::max(1, static_cast<int>(std::ceil(size.width * scale - 0.01f))),
                           std::max(1, static_cast<int>(std::ceil(size.height * scale - 0.01f))));
}

Rect Window::ClientScreenRect() const {
  GdkWindow* gdk = native_->Gdk();
  if (!gdk) return {};
  int x = 0;
  int y = 0;
  gdk_window_get_origin(gdk, &x, &y);
  return Rect{static_cast<float>(x), static_cast<float>(y), static_cast<float>(gdk_window_get_width(gdk)),
              static_cast<float>(gdk_window_get_height(gdk))};
}

void Window::SetFullScreen(bool fullScreen) {
  GtkWidget* widget = native_->widget;
  if (fullScreen == fullScreen_ || !widget) {
    fullScreen_ = fullScreen;
    return;
  }
  fullScreen_ = fullScreen;
  GtkWindow* gw = GTK_WINDOW(widget);
  // Without a window manager nobody acts on the full-screen request; the window then covers its monitor
  // itself and later returns to the placement it had.
  const bool manual = !Detail::WindowManagerCanFullScreen(widget);
  if (fullScreen) {
    native_->restoreBounds = ClientScreenRect();
    gtk_window_fullscreen(gw);
    if (manual) {
      GdkDisplay* display = gtk_widget_get_display(widget);
      GdkRectangle area{};
      gdk_monitor_get_geometry(gdk_display_get_monitor_at_window(display, native_->Gdk()), &area);
      gtk_window_set_decorated(gw, FALSE);
      gtk_window_move(gw, area.x, area.y);
      native_->SetClientPixels(area.width, area.height);
    }
  } else {
    gtk_window_unfullscreen(gw);
    if (manual) {
      const Rect r = native_->restoreBounds;
      gtk_window_set_decorated(gw, options_.chrome == WindowChrome::Standard);
      gtk_window_move(gw, static_cast<int>(r.x), static_cast<int>(r.y));
      native_->SetClientPixels(static_cast<int>(r.width), static_cast<int>(r.height));
    }
  }
}

void Window::SetTopmost(bool topmost) {
  options_.topmost = topmost;
  if (native_->widget) gtk_window_set_keep_above(GTK_WINDOW(native_->widget), topmost);
}

void Window::SetInputEnabled(bool enabled) {
  inputEnabled_ = enabled;
  if (!enabled && Captured()) ReleasePointerCapture(Captured());
}

Rect Window::WorkAreaFor(Rect rect) {
  GdkDisplay* display = gdk_display_get_default();
  if (!display) return {};
  GdkMonitor* best = nullptr;
  float bestArea = 0;
  for (int i = 0; i < gdk_display_get_n_monitors(display); ++i) {
    GdkMonitor* monitor = gdk_display_get_monitor(display, i);
    GdkRectangle geometry{};
    gdk_monitor_get_geometry(monitor, &geometry);
    const float area = OverlapArea(rect, ToRect(geometry));
    if (area > bestArea) {
      bestArea = area;
      best = monitor;
    }
  }
  if (!best) best = gdk_display_get_primary_monitor(display);
  if (!best && gdk_display_get_n_monitors(display) > 0) best = gdk_display_get_monitor(display, 0);
  if (!best) return {};
  GdkRectangle work{};
  gdk_monitor_get_workarea(best, &work);
  return ToRect(work);
}

Rect Window::ScreenRectOf(NativeHandle handle) {
  if (!handle) return {};
  GdkWindow* gdk = gtk_widget_get_window(static_cast<GtkWidget*>(handle));
  if (!gdk) return {};
  GdkRectangle frame{};
  gdk_window_get_frame_extents(gdk, &frame);
  return ToRect(frame);
}

Window* Window::FromHandle(NativeHandle handle) {
  // Searched in the list of live windows rather than read from the handle, which may already be gone.
  if (!handle) return nullptr;
  for (Window* w : AllWindows()) {
    if (w->Handle() == handle) return w;
  }
  return nullptr;
}

}  // namespace Quarlo::Widget
