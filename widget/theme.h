#pragma once
// The colours and metrics every control takes from its host, built for light, dark and high-contrast
// modes from an accent colour, and the application-wide theme mode.

#include <array>
#include <cstdint>
#include <functional>

#include "widget/color.h"

namespace Quarlo::Widget {

// Indexes into Theme::colors.
enum class ThemeColor : int32_t {
  WindowBackground = 0,
  LayerFill = 1,
  PopupBackground = 2,
  TextPrimary = 3,
  TextSecondary = 4,
  TextDisabled = 5,
  TextOnAccent = 6,
  Accent = 7,
  AccentHover = 8,
  AccentPressed = 9,
  AccentDisabled = 10,
  TextOnAccentDisabled = 11,
  ControlFill = 12,
  ControlFillHover = 13,
  ControlFillPressed = 14,
  ControlFillDisabled = 15,
  ControlBorder = 16,
  StrongBorder = 17,
  Divider = 18,
  SubtleFillHover = 19,
  SubtleFillPressed = 20,
  SubtleBorder = 21,
  StrongForeground = 22,
  InverseSurface = 23,
  FaintOverlay = 24,
  Success = 25,
  Caution = 26,
  Critical = 27,
};
inline constexpr int kThemeColorCount = 28;

// Label tones and the colours they use.
enum class TextTone : int32_t {
  Primary = 0,
  Secondary = 1,
  Disabled = 2,
  Accent = 3,
  Critical = 4,
  Caution = 5,
  Success = 6
};

// What a theme was built for. Dark and high-contrast themes ask for the desktop's dark window frame.
enum class ThemeKind : int32_t { Light = 0, Dark = 1, HighContrast = 2 };

// The application-wide choice of theme: the desktop's light or dark preference, or one of them always.
enum class ThemeMode : int32_t { System = 0, Light = 1, Dark = 2 };

// Windows' default accent, used when the desktop names none.
inline constexpr Color kDefaultAccent = Color::FromBytes(0, 120, 212);

struct Theme {
  ThemeKind mode = ThemeKind::Light;
  std::array<Color, kThemeColorCount> colors{};
  float controlHeight = 32;
  float cornerRadius = 4;
  // Spacing and sizes; index 2 is the horizontal padding of buttons, 6 the default icon size of buttons.
  std::array<float, 12> metrics{8, 8, 11, 14, 12, 20, 16, 20, 40, 20, 3, 2};
  double transitionSeconds = 0.15;  // hover and press colour animations
  double secondaryDuration = 1.6;
  bool highContrast = false;

  Color Get(ThemeColor index) const { return colors[static_cast<size_t>(index)]; }
  void Set(ThemeColor index, Color color) { colors[static_cast<size_t>(index)] = color; }
  Color Tone(TextTone tone) const;

  static Theme Light(Color accent);
  static Theme Dark(Color accent);
  // Built from the dark theme with a black, white, yellow and cyan palette: the desktop offers no system
  // colour set, so the contrast scheme's own colours stand in for it.
  static Theme HighContrast();
  // High contrast when the desktop asks for it, else dark or light as the desktop prefers.
  static Theme System();
};

// The desktop's accent colour, or kDefaultAccent.
Color SystemAccentColor();
// The desktop's high-contrast setting (off when it cannot be read).
bool IsHighContrast();

// The application-wide choice; System until SetThemeMode.
ThemeMode CurrentThemeMode();
// Stores the choice and runs the refresh handler (the application loop installs one that gives every
// window its theme again).
void SetThemeMode(ThemeMode mode);
void SetThemeRefreshHandler(std::function<void()> handler);
// The theme for the current choice: high contrast wins; else light or dark of the system accent, or System().
Theme ThemeForCurrentMode();

}  // namespace Quarlo::Widget
