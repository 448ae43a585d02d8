#pragma once
// Colour record of the toolkit: straight (not premultiplied) components from 0 to 1.

#include <cstdint>

namespace Quarlo::Widget {

struct Color {
  float r = 0;
  float g = 0;
  float b = 0;
  float a = 1;
  friend bool operator==(const Color&, const Color&) = default;

  // From 0..255 channel bytes and a 0..1 alpha, the way colour tables are written.
  static constexpr Color FromBytes(int red, int green, int blue, float alpha = 1) {
    return Color{red / 255.0f, green / 255.0f, blue / 255.0f, alpha};
  }
  constexpr Color WithAlpha(float alpha) const { return Color{r, g, b, alpha}; }
};

// Component-wise linear blend: from + (to - from) × t.
constexpr Color Lerp(const Color& from, const Color& to, float t) {
  return Color{from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
               from.a + (to.a - from.a) * t};
}

}  // namespace Quarlo::Widget
