// The desktop's appearance settings as the theme reads them: GNOME's settings (in GSettings' memory backend,
// so the machine's own settings play no part) and GTK's settings.ini in a private configuration folder.

#include "widget/detail/desktop_settings.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/temp_folder.h"
#include "widget/theme.h"

namespace Quarlo::Widget {
namespace {

class DesktopSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Before the first GSettings object of the process, so every read and write stays in memory.
    setenv("GSETTINGS_BACKEND", "memory", 1);
    if (const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS")) savedBus_ = bus;
    unsetenv("DBUS_SESSION_BUS_ADDRESS");  // no portal: the settings below decide
    if (const char* config = std::getenv("XDG_CONFIG_HOME")) savedConfig_ = config;
    setenv("XDG_CONFIG_HOME", folder_.Path().c_str(), 1);
    SetGnome("org.gnome.desktop.interface", "color-scheme", g_variant_new_string("default"));
    SetGnome("org.gnome.desktop.a11y.interface", "high-contrast", g_variant_new_boolean(FALSE));
  }

  void TearDown() override {
    if (savedBus_) setenv("DBUS_SESSION_BUS_ADDRESS", savedBus_->c_str(), 1);
    if (savedConfig_) {
      setenv("XDG_CONFIG_HOME", savedConfig_->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
    SetThemeMode(ThemeMode::System);
  }

  static void SetGnome(const char* schema, const char* key, GVariant* value) {
    GSettings* settings = g_settings_new(schema);
    g_settings_set_value(settings, key, value);
    g_object_unref(settings);
  }

  void WriteGtkIni(const std::string& lines) {
    folder_.AddFile("gtk-3.0/settings.ini", "[Settings]\n" + lines);
  }

  Quarlo::Test::TempFolder folder_;
  std::optional<std::string> savedBus_;
  std::optional<std::string> savedConfig_;
};

TEST_F(DesktopSettingsTest, GtkSettingsDecideWithoutAGnomePreference) {
  struct Case {
    const char* ini;
    bool dark;
  };
  const Case cases[] = {
      {"gtk-application-prefer-dark-theme=true\n", true},
      {"gtk-application-prefer-dark-theme=1\n", true},
      {"gtk-theme-name=Adwaita-Dark\n", true},
      {"gtk-theme-name=Darkness\n", false},
      {"gtk-application-prefer-dark-theme=false\ngtk-theme-name=Adwaita\n", false},
      {"", false},
  };
  for (const Case& c : cases) {
    WriteGtkIni(c.ini);
    EXPECT_EQ(Detail::DesktopPrefersDark(), c.dark) << c.ini;
    EXPECT_EQ(Theme::System().mode, c.dark ? ThemeKind::Dark : ThemeKind::Light) << c.ini;
  }
}

TEST_F(DesktopSettingsTest, GnomeColourSchemeOutranksGtkSettings) {
  WriteGtkIni("gtk-application-prefer-dark-theme=true\n");
  SetGnome("org.gnome.desktop.interface", "color-scheme", g_variant_new_string("prefer-light"));
  EXPECT_FALSE(Detail::DesktopPrefersDark());
  WriteGtkIni("");
  SetGnome("org.gnome.desktop.interface", "color-scheme", g_variant_new_string("prefer-dark"));
  EXPECT_TRUE(Detail::DesktopPrefersDark());
}

TEST_F(DesktopSettingsTest, HighContrastWinsOverEveryChoice) {
  SetGnome("org.gnome.desktop.a11y.interface", "high-contrast", g_variant_new_boolean(TRUE));
  EXPECT_TRUE(IsHighContrast());
  EXPECT_EQ(Theme::System().mode, ThemeKind::HighContrast);
  SetThemeMode(ThemeMode::Dark);
  EXPECT_EQ(ThemeForCurrentMode().mode, ThemeKind::HighContrast);
  SetGnome("org.gnome.desktop.a11y.interface", "high-contrast", g_variant_new_boolean(FALSE));
  EXPECT_EQ(ThemeForCurrentMode().mode, ThemeKind::Dark);
  SetThemeMode(ThemeMode::Light);
  EXPECT_EQ(ThemeForCurrentMode().mode, ThemeKind::Light);
}

TEST_F(DesktopSettingsTest, FontFamilyComesFromTheFontName) {
  WriteGtkIni("gtk-font-name=Noto Sans Bold 10\n");
  EXPECT_EQ(Detail::DesktopFontFamily(), "Noto Sans");
  WriteGtkIni("");
  EXPECT_EQ(Detail::DesktopFontFamily(), "");
}

TEST_F(DesktopSettingsTest, ChangesOfGnomeSettingsAreReported) {
  int changes = 0;
  Detail::WatchDesktopAppearance([&] { ++changes; });
  auto settle = [] {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
  };
  settle();
  changes = 0;
  SetGnome("org.gnome.desktop.interface", "color-scheme", g_variant_new_string("prefer-dark"));
  settle();
  EXPECT_GE(changes, 1);
  const int afterScheme = changes;
  SetGnome("org.gnome.desktop.a11y.interface", "high-contrast", g_variant_new_boolean(TRUE));
  settle();
  EXPECT_GT(changes, afterScheme);
  Detail::WatchDesktopAppearance(nullptr);
  SetGnome("org.gnome.desktop.interface", "color-scheme", g_variant_new_string("default"));
  settle();
}

}  // namespace
}  // namespace Quarlo::Widget
