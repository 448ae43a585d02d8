#pragma once
// The pictures the viewer benchmark shows. Each is a hue sweep from left to right that starts at a hue of
// its own (the seed steps it by the golden angle, so neighbours in a folder differ everywhere), a
// brightness ramp from top to bottom and per-pixel grain, so that a row holds hundreds of colours even
// when a viewer fits the picture down to a window.

#include <cstdint>
#include <span>

namespace Quarlo::Bench {

class BenchPicture {
 public:
  BenchPicture(uint32_t width, uint32_t height, uint32_t seed);

  uint32_t Width() const { return width_; }
  uint32_t Height() const { return height_; }
  // The pixel at x, y as 0xRRGGBB.
  uint32_t Pixel(uint32_t x, uint32_t y) const;
  // Writes row y as 8-bit R, G, B triples; rgb holds Width() * 3 bytes.
  void Row(uint32_t y, std::span<uint8_t> rgb) const;

 private:
  uint32_t width_, height_, seed_;
  double baseHue_;
};

}  // namespace Quarlo::Bench
