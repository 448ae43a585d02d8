// The caret blink and Caps Lock state from GTK and GDK.

#include "widget/text_input_state.h"

#include <gtk/gtk.h>

namespace Quarlo::Widget::Detail {
namespace {

// GTK's own default cycle; a phase is half of it.
constexpr gint kDefaultBlinkCycleMs = 1200;

}  // namespace

double CaretBlinkMs() {
  if (gdk_display_get_default() == nullptr) return kDefaultBlinkCycleMs / 2.0;
  GtkSettings* settings = gtk_settings_get_default();
  if (settings == nullptr) return kDefaultBlinkCycleMs / 2.0;
  gboolean blink = TRUE;
  gint cycle = kDefaultBlinkCycleMs;
  g_object_get(settings, "gtk-cursor-blink", &blink, "gtk-cursor-blink-time", &cycle, nullptr);
  return blink && cycle > 0 ? cycle / 2.0 : 0;
}

bool CapsLockOn() {
  GdkDisplay* display = gdk_display_get_default();
  return display != nullptr && gdk_keymap_get_caps_lock_state(gdk_keymap_get_for_display(display));
}

}  // namespace Quarlo::Widget::Detail
