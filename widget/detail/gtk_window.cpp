// The GTK native window: creating the bare GtkWindow, painting the tree through the Cairo back buffer,
// turning GDK events into the toolkit's input records (keys through the input-method context first), the
// one-shot timer, the pointer grab, and screen geometry (monitors, work areas, full screen).

#include "widget/detail/gtk_window.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "widget/application.h"
#include "widget/detail/cairo_canvas.h"
#include "widget/detail/key_codes.h"
#include "widget/input/events.h"
#include "widget/input/ime_composition.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"
#include "widget/window.h"
#include "widget/window_placement.h"

namespace Quarlo::Widget {
namespace {

// Where parked windows go (QUARLO_VIEW_PARK_WINDOWS): off every screen, yet mapped and painted.
constexpr int kParkX = -30000;
constexpr int kParkY = 100;

uint8_t ModifiersOf(guint state) {
  uint8_t bits = 0;
  if (state & GDK_SHIFT_MASK) bits |= Modifier::Shift;
  if (state & GDK_CONTROL_MASK) bits |= Modifier::Ctrl;
  if (state & GDK_MOD1_MASK) bits |= Modifier::Alt;
  if (state & (GDK_SUPER_MASK | GDK_MOD4_MASK)) bits |= Modifier::Win;
  return bits;
}

PointerButton ButtonOf(guint button) {
  switch (button) {
    case 1:
      return PointerButton::Left;
    case 2:
      return PointerButton::Middle;
    case 3:
      return PointerButton::Right;
    case 8:
      return PointerButton::Back;
    case 9:
      return PointerButton::Forward;
    default:
      return PointerButton::None;
  }
}

// The side buttons go to the window alone (PreTranslateInput); the tree never sees them.
bool RoutedToTree(PointerButton button) {
  return button != PointerButton::None && button != PointerButton::Back && button != PointerButton::Forward;
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

GtkNativeWindow* Self(gpointer data) { return static_cast<GtkNativeWindow*>(data); }

// The one window of the process that holds the seat's pointer grab. GDK reports a grab taken over by
// another window of the same process only later, as an event; until then the old holder must not release
// the seat, which would release the new holder's grab.
GtkNativeWindow* grabHolder = nullptr;

gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
  Self(data)->Paint(cr);
  return TRUE;
}

void OnSizeAllocate(GtkWidget*, GdkRectangle* allocation, gpointer data) {
  GtkNativeWindow* self = Self(data);
  if (allocation->width <= 0 || allocation->height <= 0) return;
  self->pendingWidth = self->pendingHeight = 0;
  const float scale = self->TextScale();
  self->window.SetClientSize(Size{allocation->width / scale, allocation->height / scale});
}

void OnScaleChanged(GObject*, GParamSpec*, gpointer data) {
  GtkNativeWindow* self = Self(data);
  self->window.SetDpi(self->CurrentDpi());
  gtk_widget_queue_draw(self->widget);
}

// The desktop's font resolution changed: the DPI and the client size in DIPs change with it.
void OnResolutionChanged(GObject*, GParamSpec*, gpointer data) {
  GtkNativeWindow* self = Self(data);
  const float scale = self->TextScale();
  self->window.SetDpi(self->CurrentDpi());
  self->window.SetClientSize(Size{gtk_widget_get_allocated_width(self->widget) / scale,
                                  gtk_widget_get_allocated_height(self->widget) / scale});
  gtk_widget_queue_draw(self->widget);
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
  GtkNativeWindow* self = Self(data);
  WindowInput input;
  input.kind = WindowInput::Kind::CloseRequest;
  if (!self->window.PreTranslateInput(input)) self->window.RequestClose();
  return TRUE;
}

gboolean OnTimer(gpointer data) {
  GtkNativeWindow* self = Self(data);
  self->timer = 0;
  // FireTimers may destroy the window; nothing of it is touched afterwards.
  self->window.FireTimers();
  return G_SOURCE_REMOVE;
}

Point DipsOf(GtkNativeWindow* self, double x, double y) {
  const float scale = self->TextScale();
  return Point{static_cast<float>(x / scale), static_cast<float>(y / scale)};
}

bool InsideClient(GtkWidget* widget, double x, double y) {
  return x >= 0 && y >= 0 && x < gtk_widget_get_allocated_width(widget) &&
         y < gtk_widget_get_allocated_height(widget);
}

// Counts a press as the second of a double click the way the desktop's settings say, and a third press as
// a plain one again (GDK's own 2BUTTON/3BUTTON events arrive in addition to the presses and are ignored).
int32_t ClickCount(GtkNativeWindow* self, const GdkEventButton* event) {
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
  GtkNativeWindow* self = Self(data);
  if (event->type != GDK_BUTTON_PRESS) return TRUE;
  WindowInput input;
  input.kind = WindowInput::Kind::ButtonPress;
  input.screen = Point{static_cast<float>(event->x_root), static_cast<float>(event->y_root)};
  input.inside = InsideClient(widget, event->x, event->y);
  input.button = ButtonOf(event->button);
  input.clicks = ClickCount(self, event);
  input.modifiers = ModifiersOf(event->state);
  std::weak_ptr<const char> alive = self->window.AliveToken();
  if (self->window.PreTranslateInput(input) || alive.expired()) return TRUE;
  if (!self->window.IsInputEnabled() || !RoutedToTree(input.button)) {
    // A press the tree never saw (a modal dialog runs) must not make the next one a double click.
    self->lastPressButton = 0;
    return TRUE;
  }
  PointerEvent e;
  e.position = DipsOf(self, event->x, event->y);
  e.button = input.button;
  e.modifiers = input.modifiers;
  e.clicks = input.clicks;
  e.device = DeviceOf(reinterpret_cast<const GdkEvent*>(event));
  self->window.PointerDown(e);
  if (!alive.expired()) self->UpdateCursor();
  return TRUE;
}

// Releases and moves are offered to the window first too: an open menu takes them all, wherever they are.
bool OfferPointer(GtkNativeWindow* self, GtkWidget* widget, WindowInput::Kind kind, double x, double y,
                  double xRoot, double yRoot, PointerButton button, unsigned state) {
  WindowInput input;
  input.kind = kind;
  input.screen = Point{static_cast<float>(xRoot), static_cast<float>(yRoot)};
  input.inside = InsideClient(widget, x, y);
  input.button = button;
  input.clicks = kind == WindowInput::Kind::ButtonRelease ? 1 : 0;
  input.modifiers = ModifiersOf(state);
  std::weak_ptr<const char> alive = self->window.AliveToken();
  return self->window.PreTranslateInput(input) || alive.expired();
}

gboolean OnButtonRelease(GtkWidget* widget, GdkEventButton* event, gpointer data) {
  GtkNativeWindow* self = Self(data);
  const PointerButton button = ButtonOf(event->button);
  if (OfferPointer(self, widget, WindowInput::Kind::ButtonRelease, event->x, event->y, event->x_root,
                   event->y_root, button, event->state)) {
    return TRUE;
  }
  if (!self->window.IsInputEnabled() || !RoutedToTree(button)) return TRUE;
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

gboolean OnMotion(GtkWidget* widget, GdkEventMotion* event, gpointer data) {
  GtkNativeWindow* self = Self(data);
  if (OfferPointer(self, widget, WindowInput::Kind::PointerMove, event->x, event->y, event->x_root,
                   event->y_root, PointerButton::None, event->state)) {
    return TRUE;
  }
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
  GtkNativeWindow* self = Self(data);
  if (event->mode == GDK_CROSSING_NORMAL || event->mode == GDK_CROSSING_UNGRAB) {
    self->wheel.Reset();
    self->window.PointerLeave();
  }
  return FALSE;
}

gboolean OnScroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
  GtkNativeWindow* self = Self(data);
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
    case GDK_SCROLL_SMOOTH: {
      if (gdk_event_is_scroll_stop_event(reinterpret_cast<GdkEvent*>(event))) {
        self->wheel.Reset();
        return TRUE;
      }
      // GDK's smooth deltas are in notches with y pointing down; the toolkit's point away from the user.
      const Input::WheelStep step = self->wheel.Add(event->delta_x, -event->delta_y);
      if (step.IsEmpty()) return TRUE;
      e.deltaX = step.deltaX;
      e.deltaY = step.deltaY;
      e.precise = step.precise;
      break;
    }
  }
  self->window.Wheel(e);
  return TRUE;
}

uint32_t LevelZeroKeyval(GdkKeymap* keymap, uint32_t keycode, GdkModifierType state, int group) {
  guint keyval = 0;
  gdk_keymap_translate_keyboard_state(keymap, keycode, state, group, &keyval, nullptr, nullptr, nullptr);
  return keyval;
}

KeyEvent KeyEventOf(GdkEventKey* event, bool press, GtkNativeWindow* self) {
  GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_window_get_display(event->window));
  Detail::KeyPress p;
  // The key's symbol without Shift (Num Lock kept, so the keypad gives digits when it is on).
  p.keyval = LevelZeroKeyval(keymap, event->hardware_keycode,
                             static_cast<GdkModifierType>(event->state & GDK_MOD2_MASK), event->group);
  p.keycode = event->hardware_keycode;
  p.latinGroup = self->GroupTypesLatin(keymap, event->group);
  const Detail::WindowsKey key = Detail::TranslateKey(p);
  KeyEvent e;
  e.key = key.vk;
  e.scanCode = key.scanCode;
  e.extended = key.extended;
  e.modifiers = ModifiersOf(event->state);
  const uint8_t own = Vk::ModifierOfKey(e.key);
  e.modifiers = press ? (e.modifiers | own) : (e.modifiers & ~own);
  e.system = (e.modifiers & Modifier::Alt) != 0 && (e.modifiers & Modifier::Ctrl) == 0;
  if (press) {
    e.repeat = !self->keysDown.insert(event->hardware_keycode).second;
  } else {
    self->keysDown.erase(event->hardware_keycode);
  }
  return e;
}

// The input method sees every key first. It may take the key for a composition (nothing more is sent), or
// turn it into committed text (the key goes on, and the text becomes its characters), or let it pass (the
// key goes on, and its symbol becomes the character, as Alt chords need for access keys).
gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
  GtkNativeWindow* self = Self(data);
  if (!self->window.IsInputEnabled()) return TRUE;
  std::weak_ptr<const char> alive = self->window.AliveToken();
  self->filteringKey = true;
  self->preeditDuringKey = false;
  self->commitDuringKey.clear();
  const bool filtered = self->im && gtk_im_context_filter_keypress(self->im, event);
  if (alive.expired()) return TRUE;
  self->filteringKey = false;
  const std::string committed = std::move(self->commitDuringKey);
  if (filtered && (self->composing || self->preeditDuringKey || committed.empty())) {
    if (!committed.empty()) self->window.CommitText(committed);
    return TRUE;
  }
  const KeyEvent key = KeyEventOf(event, true, self);
  bool handled = key.key != 0 && self->window.KeyDown(key);
  if (alive.expired()) return TRUE;
  if (!committed.empty()) return self->window.CommitText(committed) || handled || filtered;
  const gunichar c = gdk_keyval_to_unicode(event->keyval);
  // Ctrl chords produce no text, as on the desktop's own text fields; control characters are dropped by
  // the routing.
  if (c != 0 && (key.modifiers & Modifier::Ctrl) == 0) {
    CharEvent ch;
    ch.codePoint = c;
    ch.modifiers = key.modifiers;
    ch.system = key.system;
    handled = self->window.Char(ch) || handled;
  }
  return handled ? TRUE : FALSE;
}

gboolean OnKeyRelease(GtkWidget*, GdkEventKey* event, gpointer data) {
  GtkNativeWindow* self = Self(data);
  if (self->im && gtk_im_context_filter_keypress(self->im, event)) return TRUE;
  const KeyEvent key = KeyEventOf(event, false, self);
  if (!self->window.IsInputEnabled() || key.key == 0) return TRUE;
  return self->window.KeyUp(key) ? TRUE : FALSE;
}

void OnImCommit(GtkIMContext*, gchar* text, gpointer data) {
  GtkNativeWindow* self = Self(data);
  if (self->droppingComposition) return;
  // During a key press the text waits for the key's own event; otherwise (an input method that answers
  // later, a candidate chosen with the pointer) it goes out at once.
  if (self->filteringKey) {
    self->commitDuringKey += text;
    return;
  }
  if (self->window.IsInputEnabled()) self->window.CommitText(text);
}

void SendComposition(GtkNativeWindow* self, ImeEventKind kind) {
  if (self->droppingComposition) return;
  ImeEvent e;
  e.kind = kind;
  self->window.Composition(e);
}

void OnImPreeditStart(GtkIMContext*, gpointer data) {
  GtkNativeWindow* self = Self(data);
  self->composing = true;
  self->preeditDuringKey = true;
  SendComposition(self, ImeEventKind::Started);
}

// The attribute of each character of the pre-edit: the part the input method converts shows highlighted.
std::vector<Input::ImeAttribute> PreeditAttributes(const gchar* text, PangoAttrList* attrs) {
  const glong count = g_utf8_strlen(text, -1);
  std::vector<Input::ImeAttribute> out(static_cast<size_t>(count), Input::ImeAttribute::Input);
  PangoAttrIterator* it = pango_attr_list_get_iterator(attrs);
  do {
    gint start = 0;
    gint end = 0;
    pango_attr_iterator_range(it, &start, &end);
    if (!pango_attr_iterator_get(it, PANGO_ATTR_BACKGROUND)) continue;
    const glong first = g_utf8_pointer_to_offset(text, text + std::min<gint>(start, std::strlen(text)));
    const glong last = g_utf8_pointer_to_offset(text, text + std::min<gint>(end, std::strlen(text)));
    for (glong i = first; i < last && i < count; ++i)
      out[static_cast<size_t>(i)] = Input::ImeAttribute::TargetConverted;
  } while (pango_attr_iterator_next(it));
  pango_attr_iterator_destroy(it);
  return out;
}

void OnImPreeditChanged(GtkIMContext* im, gpointer data) {
  GtkNativeWindow* self = Self(data);
  self->preeditDuringKey = true;
  if (self->droppingComposition) return;
  gchar* text = nullptr;
  PangoAttrList* attrs = nullptr;
  gint cursor = 0;
  gtk_im_context_get_preedit_string(im, &text, &attrs, &cursor);
  const ImeEvent e = Input::CompositionUpdate(text, static_cast<size_t>(std::max(cursor, 0)),
                                              PreeditAttributes(text, attrs));
  g_free(text);
  pango_attr_list_unref(attrs);
  std::weak_ptr<const char> alive = self->window.AliveToken();
  self->window.Composition(e);
  if (!alive.expired()) self->PlaceImeWindow(self->window.ImeCaretRect());
}

void OnImPreeditEnd(GtkIMContext*, gpointer data) {
  GtkNativeWindow* self = Self(data);
  self->composing = false;
  self->preeditDuringKey = true;
  SendComposition(self, ImeEventKind::Ended);
}

gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer data) {
  GtkNativeWindow* self = Self(data);
  self->active = true;
  if (self->im && self->imeTarget) gtk_im_context_focus_in(self->im);
  self->window.Activated(true);
  return FALSE;
}

gboolean OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer data) {
  GtkNativeWindow* self = Self(data);
  self->active = false;
  // Keys held while the focus left never report their release here.
  self->keysDown.clear();
  self->wheel.Reset();
  if (self->im) gtk_im_context_focus_out(self->im);
  self->window.Activated(false);
  return FALSE;
}

gboolean OnGrabBroken(GtkWidget*, GdkEventGrabBroken* event, gpointer data) {
  GtkNativeWindow* self = Self(data);
  if (!event->keyboard) {
    self->grabbed = false;
    if (grabHolder == self) grabHolder = nullptr;
    WindowInput input;
    input.kind = WindowInput::Kind::GrabLost;
    std::weak_ptr<const char> alive = self->window.AliveToken();
    if (!self->window.PreTranslateInput(input) && !alive.expired()) self->window.CaptureChanged();
  }
  return TRUE;
}

gboolean OnMapped(GtkWidget*, GdkEvent*, gpointer data) {
  GtkNativeWindow* self = Self(data);
  // A grab asked for before the window was viewable is taken now.
  if (self->wantsGrab && !self->grabbed) self->Grab();
  return FALSE;
}

void OnDestroyed(GtkWidget*, gpointer data) {
  GtkNativeWindow* self = Self(data);
  self->ReleaseResources();
  self->window.NativeDestroyed();
}

void OnKeysChanged(GdkKeymap*, gpointer data) { Self(data)->latinGroups.clear(); }

void ConnectIme(GtkNativeWindow* self) {
  self->im = gtk_im_multicontext_new();
  gtk_im_context_set_client_window(self->im, self->Gdk());
  gtk_im_context_set_use_preedit(self->im, TRUE);
  g_signal_connect(self->im, "commit", G_CALLBACK(OnImCommit), self);
  g_signal_connect(self->im, "preedit-start", G_CALLBACK(OnImPreeditStart), self);
  g_signal_connect(self->im, "preedit-changed", G_CALLBACK(OnImPreeditChanged), self);
  g_signal_connect(self->im, "preedit-end", G_CALLBACK(OnImPreeditEnd), self);
}

}  // namespace

GtkNativeWindow::~GtkNativeWindow() {
  if (timer != 0) g_source_remove(timer);
  DestroySilently();
  ReleaseResources();
}

void GtkNativeWindow::ReleaseResources() {
  if (screen) g_signal_handlers_disconnect_by_data(screen, this);
  screen = nullptr;
  if (keymap) g_signal_handlers_disconnect_by_data(keymap, this);
  keymap = nullptr;
  latinGroups.clear();
  if (im) {
    g_signal_handlers_disconnect_by_data(im, this);
    gtk_im_context_set_client_window(im, nullptr);
    g_object_unref(im);
  }
  im = nullptr;
  composing = false;
  active = false;
  if (backBuffer) cairo_surface_destroy(backBuffer);
  backBuffer = nullptr;
  widget = nullptr;
  grabbed = false;
  wantsGrab = false;
  if (grabHolder == this) grabHolder = nullptr;
  keysDown.clear();
  wheel.Reset();
}

float GtkNativeWindow::TextScale() const {
  GdkScreen* screen = widget ? gtk_widget_get_screen(widget) : gdk_screen_get_default();
  const double resolution = screen ? gdk_screen_get_resolution(screen) : -1;
  return resolution > 0 ? static_cast<float>(resolution / 96.0) : 1.0f;
}

float GtkNativeWindow::CurrentDpi() const {
  int factor = 1;
  if (widget) {
    factor = gtk_widget_get_scale_factor(widget);
  } else if (GdkDisplay* display = gdk_display_get_default()) {
    if (GdkMonitor* monitor = gdk_display_get_primary_monitor(display))
      factor = gdk_monitor_get_scale_factor(monitor);
  }
  return 96.0f * TextScale() * static_cast<float>(std::max(factor, 1));
}

void GtkNativeWindow::ArmTimer(double seconds) {
  if (timer != 0) g_source_remove(timer);
  timer = 0;
  if (seconds < 0) return;
  const auto ms = static_cast<guint>(std::clamp(std::llround(seconds * 1000.0), 1LL, 3000000000LL));
  timer = g_timeout_add_full(G_PRIORITY_DEFAULT, ms, OnTimer, this, nullptr);
}

bool GtkNativeWindow::Grab() {
  wantsGrab = true;
  // An open popup (a menu, a drop-down list) keeps the pointer: the window below it, whose press opened it,
  // may still ask for the pointer on its way out of that press.
  if (grabHolder && grabHolder != this && grabHolder->window.IsPopup() && !window.IsPopup()) return false;
  GdkWindow* gdk = Gdk();
  if (!gdk || !gdk_window_is_viewable(gdk)) return false;
  GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(gdk));
  // Not owner events: every press, inside the window or not, comes to this window, as a capture does.
  grabbed = gdk_seat_grab(seat, gdk, GDK_SEAT_CAPABILITY_ALL_POINTING, FALSE, nullptr, nullptr, nullptr,
                          nullptr) == GDK_GRAB_SUCCESS;
  if (grabbed) {
    if (grabHolder && grabHolder != this) grabHolder->grabbed = false;
    grabHolder = this;
  }
  return grabbed;
}

void GtkNativeWindow::Ungrab() {
  wantsGrab = false;
  if (!grabbed) return;
  grabbed = false;
  if (grabHolder != this) return;
  grabHolder = nullptr;
  if (GdkWindow* gdk = Gdk()) gdk_seat_ungrab(gdk_display_get_default_seat(gdk_window_get_display(gdk)));
}

void GtkNativeWindow::UpdateCursor() { SetCursor(window.CurrentCursor()); }

void GtkNativeWindow::SetCursor(CursorKind kind) {
  GdkWindow* gdk = Gdk();
  if (!gdk || static_cast<int>(kind) == cursorKind) return;
  cursorKind = static_cast<int>(kind);
  GdkCursor* cursor = gdk_cursor_new_from_name(gdk_window_get_display(gdk), CursorName(kind));
  gdk_window_set_cursor(gdk, cursor);
  if (cursor) g_object_unref(cursor);
}

namespace {

// The window's pixels in device units. On X11 the display's own image kind lives in shared memory, so the
// server reads it where it is drawn instead of from a second, copied buffer.
cairo_surface_t* NewBackBuffer(GdkWindow* gdk, int width, int height) {
  if (gdk) {
    cairo_surface_t* shared =
        gdk_window_create_similar_image_surface(gdk, CAIRO_FORMAT_ARGB32, width, height, 1);
    if (shared && cairo_surface_get_type(shared) == CAIRO_SURFACE_TYPE_IMAGE) return shared;
    if (shared) cairo_surface_destroy(shared);
  }
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
}

}  // namespace

void GtkNativeWindow::Paint(cairo_t* cr) {
  if (painting || !widget) return;
  painting = true;
  window.SetDpi(CurrentDpi());
  const int factor = std::max(gtk_widget_get_scale_factor(widget), 1);
  const int width = std::max(gtk_widget_get_allocated_width(widget) * factor, 1);
  const int height = std::max(gtk_widget_get_allocated_height(widget) * factor, 1);
  if (backBuffer && (cairo_image_surface_get_width(backBuffer) != width ||
                     cairo_image_surface_get_height(backBuffer) != height)) {
    cairo_surface_destroy(backBuffer);
    backBuffer = nullptr;
  }
  if (!backBuffer) backBuffer = NewBackBuffer(gtk_widget_get_window(widget), width, height);
  if (cairo_surface_status(backBuffer) == CAIRO_STATUS_SUCCESS) {
    cairo_t* target = cairo_create(backBuffer);
    {
      CairoCanvas canvas(target, window.Dpi() / 96.0f);
      window.Paint(canvas);
    }
    cairo_destroy(target);
    cairo_surface_flush(backBuffer);
    cairo_save(cr);
    cairo_scale(cr, 1.0 / factor, 1.0 / factor);
    cairo_set_source_surface(cr, backBuffer, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_restore(cr);
  } else {
    cairo_surface_destroy(backBuffer);
    backBuffer = nullptr;
  }
  painting = false;
}

bool GtkNativeWindow::Create() {
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
  keymap = gdk_keymap_get_for_display(gtk_widget_get_display(widget));
  g_signal_connect(keymap, "keys-changed", G_CALLBACK(OnKeysChanged), this);
  gtk_widget_realize(widget);
  if (o.inputTransparent) {
    cairo_region_t* none = cairo_region_create();
    gtk_widget_input_shape_combine_region(widget, none);
    cairo_region_destroy(none);
  }
  ConnectIme(this);
  // The desktop setting that shows access keys without Alt held (GTK hides them until Alt when it is on).
  gboolean autoMnemonics = TRUE;
  g_object_get(gtk_widget_get_settings(widget), "gtk-auto-mnemonics", &autoMnemonics, nullptr);
  window.SetKeyboardCues(!autoMnemonics);
  window.SetDpi(CurrentDpi());
  int clientWidth = 0;
  int clientHeight = 0;
  gtk_window_get_default_size(gw, &clientWidth, &clientHeight);
  window.SetClientSize(Size{clientWidth / scale, clientHeight / scale});
  return true;
}

void GtkNativeWindow::SetClientPixels(int width, int height) {
  pendingWidth = width;
  pendingHeight = height;
  GtkWindow* gw = GTK_WINDOW(widget);
  gtk_window_set_default_size(gw, width, height);
  gtk_window_resize(gw, width, height);
  // A window the user cannot resize (and a popup) takes the size of its request.
  if (!gtk_window_get_resizable(gw) || window.IsPopup()) gtk_widget_set_size_request(widget, width, height);
}

void GtkNativeWindow::SetFullScreen(bool fullScreen) {
  if (!widget) return;
  GtkWindow* gw = GTK_WINDOW(widget);
  // Without a window manager nobody acts on the full-screen request; the window then covers its monitor
  // itself and later returns to the placement it had.
  const bool manual = !Detail::WindowManagerCanFullScreen(widget);
  if (fullScreen) {
    restoreBounds = ClientScreenRect();
    gtk_window_fullscreen(gw);
    if (manual) {
      GdkDisplay* display = gtk_widget_get_display(widget);
      GdkRectangle area{};
      gdk_monitor_get_geometry(gdk_display_get_monitor_at_window(display, Gdk()), &area);
      gtk_window_set_decorated(gw, FALSE);
      // A parked window covers a monitor-sized area where it was parked, still off every screen.
      const bool parked = Application::Instance().Options().parkWindows;
      gtk_window_move(gw, parked ? kParkX : area.x, parked ? kParkY : area.y);
      SetClientPixels(area.width, area.height);
    }
  } else {
    gtk_window_unfullscreen(gw);
    if (manual) {
      const Rect r = restoreBounds;
      gtk_window_set_decorated(gw, window.Options().chrome == WindowChrome::Standard);
      gtk_window_move(gw, static_cast<int>(r.x), static_cast<int>(r.y));
      SetClientPixels(static_cast<int>(r.width), static_cast<int>(r.height));
    }
  }
}

void GtkNativeWindow::Destroy() {
  if (widget) gtk_widget_destroy(widget);
}

void GtkNativeWindow::DestroySilently() {
  if (!widget) return;
  GtkWidget* doomed = widget;
  g_signal_handlers_disconnect_by_data(doomed, this);
  if (grabbed) Ungrab();
  ReleaseResources();
  gtk_widget_destroy(doomed);
}

void GtkNativeWindow::Show(bool activate) {
  if (!widget) return;
  GtkWindow* gw = GTK_WINDOW(widget);
  const bool popup = window.IsPopup();
  const bool parked = Application::Instance().Options().parkWindows && !popup;
  if (activate && !parked && !popup && window.Options().activatable) {
    gtk_window_present(gw);
  } else {
    gtk_window_set_focus_on_map(gw, FALSE);
    gtk_widget_show(widget);
  }
}

void GtkNativeWindow::Hide() {
  if (widget) gtk_widget_hide(widget);
}

void GtkNativeWindow::SetTitle(const std::string& title) {
  if (widget) gtk_window_set_title(GTK_WINDOW(widget), title.c_str());
}

void GtkNativeWindow::Invalidate() {
  if (widget) gtk_widget_queue_draw(widget);
}

void GtkNativeWindow::SetCapture(bool capture) {
  if (capture) {
    Grab();
  } else {
    Ungrab();
  }
}

void GtkNativeWindow::MoveTo(Point screen) {
  if (widget) {
    gtk_window_move(GTK_WINDOW(widget), static_cast<int>(std::lround(screen.x)),
                    static_cast<int>(std::lround(screen.y)));
  }
}

void GtkNativeWindow::ResizeClient(Size size) {
  if (!widget) return;
  const float scale = TextScale();
  SetClientPixels(std::max(1, static_cast<int>(std::ceil(size.width * scale - 0.01f))),
                  std::max(1, static_cast<int>(std::ceil(size.height * scale - 0.01f))));
}

Rect GtkNativeWindow::ClientScreenRect() const {
  GdkWindow* gdk = Gdk();
  if (!gdk) return {};
  int x = 0;
  int y = 0;
  gdk_window_get_origin(gdk, &x, &y);
  const int width = pendingWidth > 0 ? pendingWidth : gdk_window_get_width(gdk);
  const int height = pendingHeight > 0 ? pendingHeight : gdk_window_get_height(gdk);
  return Rect{static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
              static_cast<float>(height)};
}

Point GtkNativeWindow::ScreenToWindow(Point screen) const {
  GdkWindow* gdk = Gdk();
  if (!gdk) return screen;
  int x = 0;
  int y = 0;
  gdk_window_get_origin(gdk, &x, &y);
  const float scale = TextScale();
  return Point{(screen.x - static_cast<float>(x)) / scale, (screen.y - static_cast<float>(y)) / scale};
}

Point GtkNativeWindow::WindowToScreen(Point point) const {
  GdkWindow* gdk = Gdk();
  if (!gdk) return point;
  int x = 0;
  int y = 0;
  gdk_window_get_origin(gdk, &x, &y);
  const float scale = TextScale();
  return Point{static_cast<float>(std::lround(point.x * scale) + x),
               static_cast<float>(std::lround(point.y * scale) + y)};
}

void GtkNativeWindow::SetTopmost(bool topmost) {
  if (widget) gtk_window_set_keep_above(GTK_WINDOW(widget), topmost);
}

void GtkNativeWindow::SetMaximized(bool maximized) {
  if (!widget) return;
  if (maximized) {
    gtk_window_maximize(GTK_WINDOW(widget));
  } else {
    gtk_window_unmaximize(GTK_WINDOW(widget));
  }
}

bool GtkNativeWindow::IsMaximized() const { return widget && gtk_window_is_maximized(GTK_WINDOW(widget)); }

void GtkNativeWindow::SetFrameDark(bool dark) { SetFrameThemeVariant(Gdk(), dark); }

void GtkNativeWindow::SetImeTarget(bool acceptsIme, Rect caret) {
  if (!im) return;
  const bool was = imeTarget;
  imeTarget = acceptsIme;
  // The focus moved, so an open composition belonged to the widget that lost it. Korean input methods
  // commit the pending syllable as soon as they are reset or lose the focus; that text would land in the
  // widget that has the focus now, so it is dropped with the composition.
  droppingComposition = true;
  if (composing || (was && !acceptsIme)) gtk_im_context_reset(im);
  if (was && !acceptsIme) gtk_im_context_focus_out(im);
  droppingComposition = false;
  composing = false;
  if (!acceptsIme) return;
  if (!was && active) gtk_im_context_focus_in(im);
  PlaceImeWindow(caret);
}

void GtkNativeWindow::CancelComposition() {
  if (!im) return;
  droppingComposition = true;
  gtk_im_context_reset(im);
  droppingComposition = false;
  composing = false;
}

void GtkNativeWindow::PlaceImeWindow(Rect caret) {
  if (!im || !imeTarget) return;
  const float scale = TextScale();
  GdkRectangle area{};
  area.x = static_cast<int>(std::lround(caret.x * scale));
  area.y = static_cast<int>(std::lround(caret.y * scale));
  area.width = static_cast<int>(std::lround(caret.width * scale)) + 1;
  area.height = static_cast<int>(std::lround(caret.height * scale));
  gtk_im_context_set_cursor_location(im, &area);
}

bool GtkNativeWindow::GroupTypesLatin(GdkKeymap* map, int group) {
  if (auto it = latinGroups.find(group); it != latinGroups.end()) return it->second;
  const bool latin = TypesLatinLetters(
      [&](uint32_t keycode) { return LevelZeroKeyval(map, keycode, GdkModifierType(0), group); });
  latinGroups[group] = latin;
  return latin;
}

}  // namespace Detail

std::unique_ptr<INativeWindow> CreateNativeWindow(Window& window) {
  return std::make_unique<Detail::GtkNativeWindow>(window);
}

Rect NativeWorkAreaFor(Rect rect) {
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

Rect NativeScreenRectOf(NativeHandle handle) {
  if (!handle) return {};
  GdkWindow* gdk = gtk_widget_get_window(static_cast<GtkWidget*>(handle));
  if (!gdk) return {};
  GdkRectangle frame{};
  gdk_window_get_frame_extents(gdk, &frame);
  return ToRect(frame);
}

}  // namespace Quarlo::Widget
