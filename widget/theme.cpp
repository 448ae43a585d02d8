// Theme builders: the light and dark colour tables, the high-contrast palette and the mode choice.

#include "widget/theme.h"

#include <atomic>
#include <mutex>

#include "widget/desktop_settings.h"

namespace Quarlo::Widget {
namespace {

std::atomic<ThemeMode> themeMode{ThemeMode::System};

struct RefreshHandler {
  std::mutex mutex;
  std::function<void()> handler;
};

RefreshHandler& Refresh() {
  static RefreshHandler refresh;
  return refresh;
}

// Each component moved a fraction of the way towards target (0 darkens, 1 lightens).
Color Toward(Color c, float target, float fraction) {
  return Color{c.r + (target - c.r) * fraction, c.g + (target - c.g) * fraction,
               c.b + (target - c.b) * fraction, 1};
}

constexpr Color Black(float alpha) { return Color{0, 0, 0, alpha}; }
constexpr Color White(float alpha) { return Color{1, 1, 1, alpha}; }

void SetAccents(Theme& theme, Color accent) {
  theme.Set(ThemeColor::Accent, accent);
  theme.Set(ThemeColor::AccentHover, accent.WithAlpha(0.9f));
  theme.Set(ThemeColor::AccentPressed, accent.WithAlpha(0.8f));
}

}  // namespace

Color Theme::Tone(TextTone tone) const {
  switch (tone) {
    case TextTone::Secondary:
      return Get(ThemeColor::TextSecondary);
    case TextTone::Disabled:
      return Get(ThemeColor::TextDisabled);
    case TextTone::Accent:
      return Get(ThemeColor::Accent);
    case TextTone::Critical:
      return Get(ThemeColor::Critical);
    case TextTone::Caution:
      return Get(ThemeColor::Caution);
    case TextTone::Success:
      return Get(ThemeColor::Success);
    case TextTone::Primary:
      break;
  }
  return Get(ThemeColor::TextPrimary);
}

Theme Theme::Light(Color accent) {
  Theme theme;
  theme.mode = ThemeKind::Light;
  theme.colors = {Color::FromBytes(243, 243, 243),
                  White(0.7f),
                  Color::FromBytes(252, 252, 252),
                  Black(0.896f),
                  Black(0.606f),
                  Black(0.361f),
                  White(1),
                  {},
                  {},
                  {},
                  Black(0.22f),
                  White(1),
                  White(0.7f),
                  Color::FromBytes(233, 233, 233, 0.85f),
                  Color::FromBytes(218, 218, 218, 0.85f),
                  Color::FromBytes(249, 249, 249, 0.3f),
                  Black(0.16f),
                  Black(0.447f),
                  Black(0.0578f),
                  Black(0.075f),
                  Black(0.05f),
                  Black(0.0578f),
                  Black(0.896f),
                  White(1),
                  Black(0.2f),
                  Color::FromBytes(15, 123, 15),
                  Color::FromBytes(157, 93, 0),
                  Color::FromBytes(196, 43, 28)};
  SetAccents(theme, Toward(accent, 0, 0.15f));
  return theme;
}

Theme Theme::Dark(Color accent) {
  Theme theme;
  theme.mode = ThemeKind::Dark;
  theme.colors = {Color::FromBytes(32, 32, 32),
                  White(0.0538f),
                  Color::FromBytes(44, 44, 44),
                  White(1),
                  White(0.786f),
                  White(0.363f),
                  Black(1),
                  {},
                  {},
                  {},
                  White(0.158f),
                  White(0.53f),
                  White(0.0605f),
                  White(0.0837f),
                  White(0.0326f),
                  White(0.0419f),
                  White(0.0698f),
                  White(0.544f),
                  White(0.0698f),
                  White(0.0605f),
                  White(0.0326f),
                  White(0.0837f),
                  White(1),
                  Black(0.7f),
                  White(0.2f),
                  Color::FromBytes(108, 203, 95),
                  Color::FromBytes(252, 225, 0),
                  Color::FromBytes(255, 153, 164)};
  SetAccents(theme, Toward(accent, 1, 0.35f));
  return theme;
}

Theme Theme::HighContrast() {
  Theme theme = Dark(kDefaultAccent);
  theme.mode = ThemeKind::HighContrast;
  theme.highContrast = true;
  const Color window = Color::FromBytes(0, 0, 0);
  const Color windowText = Color::FromBytes(255, 255, 255);
  const Color grayText = Color::FromBytes(63, 242, 63);
  const Color highlight = Color::FromBytes(26, 235, 255);
  const Color highlightText = Color::FromBytes(0, 0, 0);
  const Color buttonFace = Color::FromBytes(0, 0, 0);
  const Color buttonText = Color::FromBytes(255, 255, 255);
  const Color hotLight = Color::FromBytes(255, 255, 0);
  theme.colors = {window,     window,     window,     windowText, windowText, grayText,   highlightText,
                  highlight,  hotLight,   hotLight,   buttonFace, grayText,   buttonFace, buttonFace,
                  buttonFace, buttonFace, buttonText, buttonText, grayText,   buttonFace, buttonFace,
                  windowText, hotLight,   window,     grayText,   hotLight,   hotLight,   hotLight};
  return theme;
}

Theme Theme::System() {
  if (IsHighContrast()) return HighContrast();
  const Color accent = SystemAccentColor();
  return Detail::DesktopPrefersDark() ? Dark(accent) : Light(accent);
}

Color SystemAccentColor() { return Detail::DesktopAccentColor().value_or(kDefaultAccent); }

bool IsHighContrast() { return Detail::DesktopHighContrast(); }

ThemeMode CurrentThemeMode() { return themeMode.load(); }

void SetThemeMode(ThemeMode mode) {
  themeMode.store(mode);
  std::function<void()> handler;
  {
    RefreshHandler& refresh = Refresh();
    std::lock_guard lock(refresh.mutex);
    handler = refresh.handler;
  }
  if (handler) handler();
}

void SetThemeRefreshHandler(std::function<void()> handler) {
  RefreshHandler& refresh = Refresh();
  std::lock_guard lock(refresh.mutex);
  refresh.handler = std::move(handler);
}

Theme ThemeForCurrentMode() {
  if (IsHighContrast()) return Theme::HighContrast();
  switch (CurrentThemeMode()) {
    case ThemeMode::Light:
      return Theme::Light(SystemAccentColor());
    case ThemeMode::Dark:
      return Theme::Dark(SystemAccentColor());
    case ThemeMode::System:
      break;
  }
  return Theme::System();
}

}  // namespace Quarlo::Widget
