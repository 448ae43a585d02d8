// Theme builders, the theme mode choice, the desktop settings file and the toolkit language.

#include "widget/theme.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"
#include "widget/detail/desktop_settings.h"
#include "widget/toolkit_language.h"

namespace Quarlo::Widget {
namespace {

void ExpectColor(Color actual, float r, float g, float b, float a) {
  EXPECT_NEAR(actual.r * 255, r, 0.01);
  EXPECT_NEAR(actual.g * 255, g, 0.01);
  EXPECT_NEAR(actual.b * 255, b, 0.01);
  EXPECT_NEAR(actual.a, a, 1e-4);
}

TEST(Theme, AccentIsDarkenedForLightAndLightenedForDark) {
  const Theme light = Theme::Light(kDefaultAccent);
  const Theme dark = Theme::Dark(kDefaultAccent);
  ExpectColor(light.Get(ThemeColor::Accent), 0, 102, 180.2f, 1);
  ExpectColor(dark.Get(ThemeColor::Accent), 89.25f, 167.25f, 227.05f, 1);
  ExpectColor(light.Get(ThemeColor::AccentHover), 0, 102, 180.2f, 0.9f);
  ExpectColor(dark.Get(ThemeColor::AccentPressed), 89.25f, 167.25f, 227.05f, 0.8f);
}

TEST(Theme, TablesHoldTheirModeColours) {
  struct Case {
    ThemeColor index;
    float lr, lg, lb, la;
    float dr, dg, db, da;
  };
  const Case cases[] = {
      {ThemeColor::WindowBackground, 243, 243, 243, 1, 32, 32, 32, 1},
      {ThemeColor::PopupBackground, 252, 252, 252, 1, 44, 44, 44, 1},
      {ThemeColor::TextPrimary, 0, 0, 0, 0.896f, 255, 255, 255, 1},
      {ThemeColor::TextOnAccent, 255, 255, 255, 1, 0, 0, 0, 1},
      {ThemeColor::ControlFillHover, 233, 233, 233, 0.85f, 255, 255, 255, 0.0837f},
      {ThemeColor::Divider, 0, 0, 0, 0.0578f, 255, 255, 255, 0.0698f},
      {ThemeColor::InverseSurface, 255, 255, 255, 1, 0, 0, 0, 0.7f},
      {ThemeColor::Critical, 196, 43, 28, 1, 255, 153, 164, 1},
  };
  const Theme light = Theme::Light(kDefaultAccent);
  const Theme dark = Theme::Dark(kDefaultAccent);
  EXPECT_EQ(light.mode, ThemeKind::Light);
  EXPECT_EQ(dark.mode, ThemeKind::Dark);
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.index));
    ExpectColor(light.Get(c.index), c.lr, c.lg, c.lb, c.la);
    ExpectColor(dark.Get(c.index), c.dr, c.dg, c.db, c.da);
  }
}

TEST(Theme, BlankRecordKeepsDefaultsAndBuildersKeepMetrics) {
  const Theme blank;
  EXPECT_EQ(blank.mode, ThemeKind::Light);
  EXPECT_EQ(blank.Get(ThemeColor::Success), (Color{0, 0, 0, 1}));
  EXPECT_FALSE(blank.highContrast);
  const Theme dark = Theme::Dark(kDefaultAccent);
  EXPECT_EQ(dark.controlHeight, 32);
  EXPECT_EQ(dark.cornerRadius, 4);
  EXPECT_EQ(dark.metrics[2], 11);
  EXPECT_EQ(dark.metrics[6], 16);
  EXPECT_DOUBLE_EQ(dark.transitionSeconds, 0.15);
}

TEST(Theme, HighContrastIsMarkedAndOpaque) {
  const Theme theme = Theme::HighContrast();
  EXPECT_EQ(theme.mode, ThemeKind::HighContrast);
  EXPECT_TRUE(theme.highContrast);
  for (const Color& c : theme.colors) EXPECT_EQ(c.a, 1);
  EXPECT_NE(theme.Get(ThemeColor::WindowBackground), theme.Get(ThemeColor::TextPrimary));
}

TEST(Theme, TonesPickTheirColours) {
  const Theme theme = Theme::Light(kDefaultAccent);
  EXPECT_EQ(theme.Tone(TextTone::Primary), theme.Get(ThemeColor::TextPrimary));
  EXPECT_EQ(theme.Tone(TextTone::Accent), theme.Get(ThemeColor::Accent));
  EXPECT_EQ(theme.Tone(TextTone::Caution), theme.Get(ThemeColor::Caution));
  EXPECT_EQ(theme.Tone(TextTone::Success), theme.Get(ThemeColor::Success));
}

TEST(ThemeMode, ChoiceSelectsTheThemeAndRunsTheRefresh) {
  int refreshed = 0;
  SetThemeRefreshHandler([&] { ++refreshed; });
  SetThemeMode(ThemeMode::Dark);
  EXPECT_EQ(CurrentThemeMode(), ThemeMode::Dark);
  EXPECT_EQ(refreshed, 1);
  const bool contrast = IsHighContrast();
  EXPECT_EQ(ThemeForCurrentMode().mode, contrast ? ThemeKind::HighContrast : ThemeKind::Dark);
  SetThemeMode(ThemeMode::Light);
  EXPECT_EQ(ThemeForCurrentMode().mode, contrast ? ThemeKind::HighContrast : ThemeKind::Light);
  SetThemeRefreshHandler(nullptr);
  SetThemeMode(ThemeMode::System);
  EXPECT_EQ(refreshed, 2);
}

TEST(DesktopSettings, GtkSettingsFileIsRead) {
  Quarlo::Test::TempFolder folder;
  const std::string config = folder.At("config");
  folder.AddFile("config/gtk-3.0/settings.ini",
                 "[Settings]\ngtk-application-prefer-dark-theme=true\ngtk-font-name=Noto Sans 10\n");
  EXPECT_EQ(Detail::GtkIniSetting(config, "gtk-application-prefer-dark-theme"), "true");
  EXPECT_EQ(Detail::GtkIniSetting(config, "gtk-font-name"), "Noto Sans 10");
  EXPECT_EQ(Detail::GtkIniSetting(config, "gtk-theme-name"), "");
  EXPECT_EQ(Detail::GtkIniSetting(folder.Path() + "/missing", "gtk-font-name"), "");
}

TEST(ToolkitLanguage, LocaleNamesMapToLanguages) {
  struct Case {
    const char* locale;
    ToolkitLanguageId language;
  };
  const Case cases[] = {
      {"ko_KR.UTF-8", ToolkitLanguageId::Korean},
      {"ja_JP", ToolkitLanguageId::Japanese},
      {"zh_TW.UTF-8", ToolkitLanguageId::TraditionalChinese},
      {"zh_HK", ToolkitLanguageId::TraditionalChinese},
      {"zh_CN.UTF-8", ToolkitLanguageId::SimplifiedChinese},
      {"zh_SG", ToolkitLanguageId::SimplifiedChinese},
      {"en_US.UTF-8", ToolkitLanguageId::English},
      {"C", ToolkitLanguageId::English},
      {"", ToolkitLanguageId::English},
      {"kok_IN", ToolkitLanguageId::English},
  };
  for (const Case& c : cases) EXPECT_EQ(LanguageFromLocaleName(c.locale), c.language) << c.locale;
}

TEST(ToolkitLanguage, OverrideChoosesTheStrings) {
  SetToolkitLanguage(ToolkitLanguageId::Korean);
  EXPECT_EQ(ToolkitLanguage(), ToolkitLanguageId::Korean);
  EXPECT_EQ(ToolkitString(ToolkitText::Cancel), "취소");
  EXPECT_EQ(ToolkitString(ToolkitText::ChordPrompt), "단축키를 누르세요");
  SetToolkitLanguage(ToolkitLanguageId::TraditionalChinese);
  EXPECT_EQ(ToolkitString(ToolkitText::Undo), "復原(&U)");
  SetToolkitLanguage(ToolkitLanguageId::English);
  EXPECT_EQ(ToolkitString(ToolkitText::SelectAll), "Select &All");
  EXPECT_EQ(ToolkitString(static_cast<ToolkitText>(99)), "");
  EXPECT_EQ(ToolkitString(static_cast<ToolkitText>(-1)), "");
  SetToolkitLanguage(std::nullopt);
}

}  // namespace
}  // namespace Quarlo::Widget
