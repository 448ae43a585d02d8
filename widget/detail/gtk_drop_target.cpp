// Dropped files through GTK drag and drop: the window accepts text/uri-list drags (what file managers and
// browsers offer for files), asks for the list on the drop, decodes its file URIs to native paths and
// answers the source with a copy when there was at least one.

#include <gtk/gtk.h>

#include "widget/kit/uri_list.h"
#include "widget/native_drop_target.h"
#include "widget/window.h"

namespace Quarlo::Widget {
namespace Detail {
namespace {

class GtkDropTarget : public INativeDropTarget {
 public:
  GtkDropTarget(GtkWidget* widget, DropSink sink) : widget_(widget), sink_(std::move(sink)) {
    // Motion checks the offered targets and shows the copy action; the drop is answered here, so that a
    // list without a file in it is refused rather than accepted.
    gtk_drag_dest_set(widget_, GTK_DEST_DEFAULT_MOTION, nullptr, 0, GDK_ACTION_COPY);
    gtk_drag_dest_add_uri_targets(widget_);
    g_signal_connect(widget_, "drag-drop", G_CALLBACK(OnDragDrop), this);
    g_signal_connect(widget_, "drag-data-received", G_CALLBACK(OnDataReceived), this);
    g_object_add_weak_pointer(G_OBJECT(widget_), reinterpret_cast<gpointer*>(&widget_));
  }

  ~GtkDropTarget() override {
    // A window destroyed before its target took the registration with it.
    if (!widget_) return;
    g_object_remove_weak_pointer(G_OBJECT(widget_), reinterpret_cast<gpointer*>(&widget_));
    g_signal_handlers_disconnect_by_data(widget_, this);
    gtk_drag_dest_unset(widget_);
  }

  GtkDropTarget(const GtkDropTarget&) = delete;
  GtkDropTarget& operator=(const GtkDropTarget&) = delete;

 private:
  static gboolean OnDragDrop(GtkWidget* widget, GdkDragContext* context, gint, gint, guint time, gpointer) {
    GdkAtom target = gtk_drag_dest_find_target(widget, context, nullptr);
    if (target == GDK_NONE) return FALSE;
    gtk_drag_get_data(widget, context, target, time);
    return TRUE;
  }

  static void OnDataReceived(GtkWidget*, GdkDragContext* context, gint, gint, GtkSelectionData* data, guint,
                             guint time, gpointer self) {
    const guchar* bytes = gtk_selection_data_get_data(data);
    const gint length = gtk_selection_data_get_length(data);
    std::vector<std::string> paths;
    if (bytes && length > 0) {
      paths = Kit::DecodeUriList(
          std::string_view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length)),
          g_get_host_name());
    }
    gtk_drag_finish(context, !paths.empty(), FALSE, time);
    if (!paths.empty()) static_cast<GtkDropTarget*>(self)->sink_(std::move(paths));
  }

  GtkWidget* widget_;
  DropSink sink_;
};

}  // namespace
}  // namespace Detail

std::unique_ptr<INativeDropTarget> RegisterNativeDropTarget(NativeHandle window, DropSink sink) {
  // Only the handle of a live toolkit window is followed; a stale one may point anywhere.
  if (!Window::FromHandle(window) || !sink) return nullptr;
  return std::make_unique<Detail::GtkDropTarget>(GTK_WIDGET(window), std::move(sink));
}

}  // namespace Quarlo::Widget
