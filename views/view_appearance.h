#pragma once
// What the picture view and the webtoon strip paint around and behind pictures, and how they enlarge
// them. The controller builds one record from the settings whenever they are applied and gives the
// same copy to both views.

#include <cstdint>

#include "widget/color.h"

namespace Quarlo::View {
struct Settings;
}
namespace Quarlo::Widget {
struct Theme;
}

namespace App {

struct ViewAppearance {
  bool useThemeBackground = true;  // the theme's window background instead of backgroundColor
  Quarlo::Widget::Color backgroundColor = Quarlo::Widget::Color::FromBytes(32, 32, 32);
  bool checkerboard = true;  // a checkerboard behind pictures with transparency
  bool smooth = true;        // enlarge with smooth interpolation (off: hard pixel edges)
  friend bool operator==(const ViewAppearance&, const ViewAppearance&) = default;
};

// The record for the Background, CustomBackground (0xRRGGBB), Checkerboard and SmoothScaling settings.
ViewAppearance AppearanceFromSettings(const Quarlo::View::Settings& settings);

// The colour the views fill their background with.
Quarlo::Widget::Color BackgroundColorOf(const ViewAppearance& appearance, const Quarlo::Widget::Theme& theme);

// Whether a colour counts as dark (luminance 0.3 R + 0.59 G + 0.11 B below 0.5): the checkerboard,
// placeholders and labels drawn over it take their dark variants.
bool IsDarkColor(const Quarlo::Widget::Color& color);

}  // namespace App
