// A tiny GTK drag source for the end-to-end tests: a window titled "Drag Source" at the given position whose
// whole area starts a drag offering the given lines as text/uri-list, CRLF-separated as the format asks.
// Usage: drag_source X Y URI...

#include <gtk/gtk.h>

#include <cstdlib>
#include <string>

namespace {

std::string uriList;

void OnDragDataGet(GtkWidget*, GdkDragContext*, GtkSelectionData* data, guint, guint, gpointer) {
  gtk_selection_data_set(data, gdk_atom_intern_static_string("text/uri-list"), 8,
                         reinterpret_cast<const guchar*>(uriList.data()), static_cast<gint>(uriList.size()));
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  if (argc < 4) return 2;
  for (int i = 3; i < argc; ++i) uriList += std::string(argv[i]) + "\r\n";
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Drag Source");
  gtk_window_set_default_size(GTK_WINDOW(window), 120, 120);
  gtk_window_move(GTK_WINDOW(window), std::atoi(argv[1]), std::atoi(argv[2]));
  GtkWidget* area = gtk_event_box_new();
  gtk_container_add(GTK_CONTAINER(window), area);
  GtkTargetEntry target{const_cast<gchar*>("text/uri-list"), 0, 0};
  gtk_drag_source_set(area, GDK_BUTTON1_MASK, &target, 1, GDK_ACTION_COPY);
  g_signal_connect(area, "drag-data-get", G_CALLBACK(OnDragDataGet), nullptr);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
