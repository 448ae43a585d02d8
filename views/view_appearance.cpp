#include "views/view_appearance.h"

#include "core/settings.h"
#include "widget/theme.h"

namespace App {

using Quarlo::Widget::Color;

namespace {

constexpr Color kBlack = Color::FromBytes(0, 0, 0);
constexpr Color kGray = Color::FromBytes(110, 110, 110);
constexpr Color kWhite = Color::FromBytes(255, 255, 255);
constexpr float kDarkLuminance = 0.5f;

Color FromRgb(int32_t rgb) { return Color::FromBytes((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

ViewAppearance AppearanceFromSettings(const Quarlo::View::Settings& settings) {
  ViewAppearance appearance;
  appearance.checkerboard = settings.checkerboard;
  appearance.smooth = settings.smoothScaling;
  using Quarlo::View::BackgroundKind;
  const BackgroundKind kind = settings.background;
  // A kind the record cannot name (a record not read through the store) shows the theme colour.
  appearance.useThemeBackground = kind < BackgroundKind::Black || kind > BackgroundKind::Custom;
  switch (kind) {
    case BackgroundKind::Theme:
      break;
    case BackgroundKind::Black:
      appearance.backgroundColor = kBlack;
      break;
    case BackgroundKind::Gray:
      appearance.backgroundColor = kGray;
      break;
    case BackgroundKind::White:
      appearance.backgroundColor = kWhite;
      break;
    case BackgroundKind::Custom:
      appearance.backgroundColor = FromRgb(settings.customBackground);
      break;
  }
  return appearance;
}

Color BackgroundColorOf(const ViewAppearance& appearance, const Quarlo::Widget::Theme& theme) {
  return appearance.useThemeBackground ? theme.Get(Quarlo::Widget::ThemeColor::WindowBackground)
                                       : appearance.backgroundColor;
}

bool IsDarkColor(const Color& color) {
  return 0.3f * color.r + 0.59f * color.g + 0.11f * color.b < kDarkLuminance;
}

}  // namespace App
