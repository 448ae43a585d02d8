// The system clipboard through GTK: UTF-8 text, and pictures offered and read as image/png.

#include <gtk/gtk.h>

#include <vector>

#include "widget/input/clipboard.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr const char* kPngTarget = "image/png";

GtkClipboard* SystemClipboard() {
  GdkDisplay* display = gdk_display_get_default();
  return display ? gtk_clipboard_get_for_display(display, GDK_SELECTION_CLIPBOARD) : nullptr;
}

void ProvidePng(GtkClipboard*, GtkSelectionData* selection, guint, gpointer data) {
  const auto* png = static_cast<const std::vector<uint8_t>*>(data);
  gtk_selection_data_set(selection, gdk_atom_intern_static_string(kPngTarget), 8, png->data(),
                         static_cast<gint>(png->size()));
}

void ForgetPng(GtkClipboard*, gpointer data) { delete static_cast<std::vector<uint8_t>*>(data); }

class GtkClipboardService : public IClipboard {
 public:
  bool GetText(NativeHandle, std::string& out) override {
    GtkClipboard* clipboard = SystemClipboard();
    if (!clipboard) return false;
    gchar* text = gtk_clipboard_wait_for_text(clipboard);
    if (!text) return false;
    out = text;
    g_free(text);
    return true;
  }

  bool PutText(NativeHandle, std::string_view text) override {
    GtkClipboard* clipboard = SystemClipboard();
    if (!clipboard) return false;
    gtk_clipboard_set_text(clipboard, text.data(), static_cast<gint>(text.size()));
    return true;
  }

  bool GetImage(NativeHandle, PixelImage& out) override {
    GtkClipboard* clipboard = SystemClipboard();
    if (!clipboard) return false;
    GtkSelectionData* data =
        gtk_clipboard_wait_for_contents(clipboard, gdk_atom_intern_static_string(kPngTarget));
    if (!data) return false;
    gint length = 0;
    const guchar* bytes = gtk_selection_data_get_data_with_length(data, &length);
    PixelImage image;
    if (bytes && length > 0)
      image = DecodeImage(std::span<const uint8_t>(bytes, static_cast<size_t>(length)));
    gtk_selection_data_free(data);
    if (image.Empty()) return false;
    out = std::move(image);
    return true;
  }

  bool PutImage(NativeHandle, const PixelImage& image, const ClipboardImageOptions& options) override {
    GtkClipboard* clipboard = SystemClipboard();
    if (!clipboard || image.Empty()) return false;
    auto* png = new std::vector<uint8_t>(options.png.begin(), options.png.end());
    if (png->empty()) *png = EncodeImage(image, ImageOptions{});
    if (png->empty()) {
      delete png;
      return false;
    }
    const GtkTargetEntry target{const_cast<gchar*>(kPngTarget), 0, 0};
    if (!gtk_clipboard_set_with_data(clipboard, &target, 1, &ProvidePng, &ForgetPng, png)) {
      delete png;
      return false;
    }
    return true;
  }
};

}  // namespace

std::unique_ptr<IClipboard> CreateSystemClipboard() { return std::make_unique<GtkClipboardService>(); }

}  // namespace Quarlo::Widget::Input
