// The folder and open-file choosers through GtkFileChooserNative: the desktop portal's chooser where there is
// one, GTK's own dialog otherwise.

#include "widget/detail/gtk_file_picker.h"

#include <gtk/gtk.h>

#include <cctype>

#include "widget/detail/gobject_ptr.h"

namespace Quarlo::Widget {
namespace Detail {
namespace {

// Adds one filter per (name, patterns) entry; GTK chooses the first one added.
void AddFilters(GtkFileChooser* chooser, const std::vector<FileFilter>& filters) {
  for (const FileFilter& entry : filters) {
    GtkFileFilter* filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, entry.name.c_str());
    std::string_view patterns = entry.pattern;
    while (!patterns.empty()) {
      const size_t end = patterns.find(';');
      const std::string_view one = patterns.substr(0, end);
      if (!one.empty()) gtk_file_filter_add_pattern(filter, CaseInsensitivePattern(one).c_str());
      patterns = end == std::string_view::npos ? std::string_view{} : patterns.substr(end + 1);
    }
    gtk_file_chooser_add_filter(chooser, filter);
  }
}

}  // namespace

PickerOutcome OutcomeOfResponse(int response) {
  return response == GTK_RESPONSE_ACCEPT ? PickerOutcome::Accepted : PickerOutcome::Cancelled;
}

std::string CaseInsensitivePattern(std::string_view pattern) {
  std::string out;
  bool inBrackets = false;
  for (const char c : pattern) {
    const auto byte = static_cast<unsigned char>(c);
    if (!inBrackets && std::isalpha(byte) && byte < 0x80) {
      out += '[';
      out += static_cast<char>(std::tolower(byte));
      out += static_cast<char>(std::toupper(byte));
      out += ']';
      continue;
    }
    if (c == '[') inBrackets = true;
    if (c == ']') inBrackets = false;
    out += c;
  }
  return out;
}

}  // namespace Detail

PickerReply RunNativePicker(const PickerRequest& request) {
  const bool folder = request.kind == PickerKind::Folder;
  GtkWindow* parent = request.owner ? GTK_WINDOW(request.owner) : nullptr;
  Detail::GObjectPtr<GtkFileChooserNative> native(gtk_file_chooser_native_new(
      request.title.c_str(), parent,
      folder ? GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER : GTK_FILE_CHOOSER_ACTION_OPEN, nullptr, nullptr));
  if (!native) return {};
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(native.get());
  // Only files on the local file system: the program opens paths, not URIs.
  gtk_file_chooser_set_local_only(chooser, TRUE);
  gtk_file_chooser_set_select_multiple(chooser, FALSE);
  gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(native.get()), TRUE);
  if (folder && !request.initialFolder.empty()) {
    gtk_file_chooser_set_current_folder(chooser, request.initialFolder.c_str());
  }
  if (!folder) Detail::AddFilters(chooser, request.filters);
  const int response = gtk_native_dialog_run(GTK_NATIVE_DIALOG(native.get()));
  PickerReply reply;
  reply.outcome = Detail::OutcomeOfResponse(response);
  if (reply.outcome == PickerOutcome::Accepted) {
    if (gchar* path = gtk_file_chooser_get_filename(chooser)) {
      reply.path = path;
      g_free(path);
    }
  }
  gtk_native_dialog_destroy(GTK_NATIVE_DIALOG(native.get()));
  return reply;
}

}  // namespace Quarlo::Widget
