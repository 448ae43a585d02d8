// Desktop appearance settings through GTK, the desktop portal, GSettings and GTK's settings.ini.

#include "widget/detail/desktop_settings.h"

#include <gio/gio.h>
#include <gtk/gtk.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace Quarlo::Widget::Detail {
namespace {

constexpr int kPortalTimeoutMs = 250;

std::string ConfigHome() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') return xdg;
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
    return std::string(home) + "/.config";
  return {};
}

GtkSettings* RunningGtkSettings() {
  return gdk_display_get_default() != nullptr ? gtk_settings_get_default() : nullptr;
}

std::string GtkStringSetting(const char* key) {
  if (GtkSettings* settings = RunningGtkSettings()) {
    gchar* value = nullptr;
    g_object_get(settings, key, &value, nullptr);
    std::string result = value != nullptr ? value : "";
    g_free(value);
    return result;
  }
  return GtkIniSetting(ConfigHome(), key);
}

bool GtkBoolSetting(const char* key) {
  if (GtkSettings* settings = RunningGtkSettings()) {
    gboolean value = FALSE;
    g_object_get(settings, key, &value, nullptr);
    return value != FALSE;
  }
  const std::string value = GtkIniSetting(ConfigHome(), key);
  return value == "true" || value == "1";
}

// A GSettings value of an installed schema that has the key; null otherwise (GSettings aborts on unknown
// keys).
GVariant* GnomeSetting(const char* schemaId, const char* key) {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  if (source == nullptr) return nullptr;
  GSettingsSchema* schema = g_settings_schema_source_lookup(source, schemaId, TRUE);
  if (schema == nullptr) return nullptr;
  GVariant* value = nullptr;
  if (g_settings_schema_has_key(schema, key)) {
    GSettings* settings = g_settings_new(schemaId);
    value = g_settings_get_value(settings, key);
    g_object_unref(settings);
  }
  g_settings_schema_unref(schema);
  return value;
}

std::string GnomeStringSetting(const char* schemaId, const char* key) {
  GVariant* value = GnomeSetting(schemaId, key);
  if (value == nullptr) return {};
  std::string result =
      g_variant_is_of_type(value, G_VARIANT_TYPE_STRING) ? g_variant_get_string(value, nullptr) : "";
  g_variant_unref(value);
  return result;
}

// The portal's org.freedesktop.appearance color-scheme: 1 prefers dark, 2 prefers light, 0 no preference;
// nullopt without a session bus or portal. Only asked when a session bus is advertised, so nothing is
// spawned.
std::optional<uint32_t> PortalColorScheme() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address == nullptr || *address == '\0') return std::nullopt;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  if (bus == nullptr) return std::nullopt;
  GVariant* reply = g_dbus_connection_call_sync(
      bus, "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
      "org.freedesktop.portal.Settings", "Read",
      g_variant_new("(ss)", "org.freedesktop.appearance", "color-scheme"), G_VARIANT_TYPE("(v)"),
      G_DBUS_CALL_FLAGS_NO_AUTO_START, kPortalTimeoutMs, nullptr, nullptr);
  g_object_unref(bus);
  if (reply == nullptr) return std::nullopt;
  // Read answers a variant that older portals wrap once more.
  GVariant* value = nullptr;
  g_variant_get(reply, "(v)", &value);
  while (value != nullptr && g_variant_is_of_type(value, G_VARIANT_TYPE_VARIANT)) {
    GVariant* inner = g_variant_get_variant(value);
    g_variant_unref(value);
    value = inner;
  }
  std::optional<uint32_t> scheme;
  if (value != nullptr && g_variant_is_of_type(value, G_VARIANT_TYPE_UINT32))
    scheme = g_variant_get_uint32(value);
  if (value != nullptr) g_variant_unref(value);
  g_variant_unref(reply);
  return scheme;
}

bool EndsWithDark(std::string_view name) {
  constexpr std::string_view kSuffix = "-dark";
  if (name.size() < kSuffix.size()) return false;
  return g_ascii_strcasecmp(std::string(name.substr(name.size() - kSuffix.size())).c_str(), kSuffix.data()) ==
         0;
}

struct AppearanceWatch {
  std::function<void()> changed;
  std::vector<GSettings*> settings;  // kept for the process: their signals are the watch
  GDBusConnection* bus = nullptr;    // kept too: the portal's signal arrives on it
  bool started = false;
};

AppearanceWatch& Watch() {
  static AppearanceWatch watch;
  return watch;
}

void NotifyAppearance() {
  if (Watch().changed) Watch().changed();
}

void OnGnomeSettingChanged(GSettings*, const char*, gpointer) { NotifyAppearance(); }

void OnPortalSettingChanged(GDBusConnection*, const char*, const char*, const char*, const char*, GVariant*,
                            gpointer) {
  NotifyAppearance();
}

// Watches one key of a schema when the schema is installed and has it.
void WatchGnomeKey(const char* schemaId, const char* key) {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  GSettingsSchema* schema =
      source != nullptr ? g_settings_schema_source_lookup(source, schemaId, TRUE) : nullptr;
  if (schema == nullptr) return;
  if (g_settings_schema_has_key(schema, key)) {
    GSettings* settings = g_settings_new(schemaId);
    const std::string signal = std::string("changed::") + key;
    g_signal_connect(settings, signal.c_str(), G_CALLBACK(OnGnomeSettingChanged), nullptr);
    // Reading once makes the backend send change notifications for the key.
    g_variant_unref(g_settings_get_value(settings, key));
    Watch().settings.push_back(settings);
  }
  g_settings_schema_unref(schema);
}

void WatchPortal() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address == nullptr || *address == '\0') return;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  if (bus == nullptr) return;
  g_dbus_connection_signal_subscribe(bus, "org.freedesktop.portal.Desktop", "org.freedesktop.portal.Settings",
                                     "SettingChanged", "/org/freedesktop/portal/desktop",
                                     "org.freedesktop.appearance", G_DBUS_SIGNAL_FLAGS_NONE,
                                     OnPortalSettingChanged, nullptr, nullptr);
  Watch().bus = bus;
}

}  // namespace

void WatchDesktopAppearance(std::function<void()> changed) {
  AppearanceWatch& watch = Watch();
  watch.changed = std::move(changed);
  if (watch.started) return;
  watch.started = true;
  WatchGnomeKey("org.gnome.desktop.interface", "color-scheme");
  WatchGnomeKey("org.gnome.desktop.interface", "accent-color");
  WatchGnomeKey("org.gnome.desktop.a11y.interface", "high-contrast");
  WatchPortal();
}

std::string GtkIniSetting(const std::string& configHome, const char* key) {
  if (configHome.empty()) return {};
  const std::string path = configHome + "/gtk-3.0/settings.ini";
  GKeyFile* file = g_key_file_new();
  std::string result;
  if (g_key_file_load_from_file(file, path.c_str(), G_KEY_FILE_NONE, nullptr)) {
    if (gchar* value = g_key_file_get_string(file, "Settings", key, nullptr)) {
      result = g_strstrip(value);
      g_free(value);
    }
  }
  g_key_file_free(file);
  return result;
}

std::string DesktopFontFamily() {
  const std::string fontName = GtkStringSetting("gtk-font-name");
  if (fontName.empty()) return {};
  PangoFontDescription* description = pango_font_description_from_string(fontName.c_str());
  const char* family = pango_font_description_get_family(description);
  std::string result = family != nullptr ? family : "";
  pango_font_description_free(description);
  return result;
}

bool DesktopPrefersDark() {
  if (const auto scheme = PortalColorScheme(); scheme && *scheme != 0) return *scheme == 1;
  const std::string gnomeScheme = GnomeStringSetting("org.gnome.desktop.interface", "color-scheme");
  if (gnomeScheme == "prefer-dark") return true;
  if (gnomeScheme == "prefer-light") return false;
  return GtkBoolSetting("gtk-application-prefer-dark-theme") ||
         EndsWithDark(GtkStringSetting("gtk-theme-name"));
}

bool DesktopHighContrast() {
  GVariant* value = GnomeSetting("org.gnome.desktop.a11y.interface", "high-contrast");
  bool on = false;
  if (value != nullptr) {
    on = g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(value);
    g_variant_unref(value);
  }
  return on;
}

std::optional<Color> DesktopAccentColor() {
  // GNOME names its accent colours; these are its own values for them.
  struct Named {
    const char* name;
    Color color;
  };
  static constexpr std::array<Named, 9> kAccents{{
      {"blue", Color::FromBytes(0x35, 0x84, 0xe4)},
      {"teal", Color::FromBytes(0x21, 0x90, 0xa4)},
      {"green", Color::FromBytes(0x3a, 0x94, 0x4a)},
      {"yellow", Color::FromBytes(0xc8, 0x88, 0x00)},
      {"orange", Color::FromBytes(0xed, 0x5b, 0x00)},
      {"red", Color::FromBytes(0xe6, 0x2d, 0x42)},
      {"pink", Color::FromBytes(0xd5, 0x61, 0x99)},
      {"purple", Color::FromBytes(0x91, 0x41, 0xac)},
      {"slate", Color::FromBytes(0x6f, 0x83, 0x96)},
  }};
  const std::string accent = GnomeStringSetting("org.gnome.desktop.interface", "accent-color");
  for (const Named& named : kAccents) {
    if (accent == named.name) return named.color;
  }
  return std::nullopt;
}

}  // namespace Quarlo::Widget::Detail
