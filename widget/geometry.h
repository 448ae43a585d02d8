#pragma once
// Value records shared by the whole toolkit. Coordinates are device-independent pixels (96 per inch).

#include <cstdint>

namespace Quarlo::Widget {

struct Point {
  float x = 0;
  float y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  float width = 0;
  float height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;

  float Right() const { return x + width; }
  float Bottom() const { return y + height; }
  bool Contains(Point p) const { return p.x >= x && p.y >= y && p.x < x + width && p.y < y + height; }
};

// Outer spacing or padding: left, top, right, bottom.
struct Thickness {
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;
  friend bool operator==(const Thickness&, const Thickness&) = default;
};

enum class Alignment : int32_t { Stretch = 0, Start = 1, Center = 2, End = 3 };

}  // namespace Quarlo::Widget
