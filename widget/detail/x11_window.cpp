// The few calls that only exist on X11, kept apart because Xlib's macros (None, Bool, Status) clash with
// the toolkit's own names.

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include "widget/detail/gtk_window.h"

namespace Quarlo::Widget::Detail {

bool WindowManagerCanFullScreen(GtkWidget* widget) {
  GdkScreen* screen = gtk_widget_get_screen(widget);
  if (!GDK_IS_X11_SCREEN(screen)) return true;
  return gdk_x11_screen_supports_net_wm_hint(screen,
                                             gdk_atom_intern_static_string("_NET_WM_STATE_FULLSCREEN"));
}

void SetFrameThemeVariant(GdkWindow* window, bool dark) {
  if (window && GDK_IS_X11_WINDOW(window))
    gdk_x11_window_set_theme_variant(window, const_cast<char*>(dark ? "dark" : ""));
}

}  // namespace Quarlo::Widget::Detail
