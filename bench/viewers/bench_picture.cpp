#include "bench/viewers/bench_picture.h"

#include <algorithm>
#include <cmath>

namespace Quarlo::Bench {
namespace {

constexpr double kGoldenAngle = 137.507764;
constexpr double kHueSweep = 120.0;  // degrees from the left edge to the right edge
constexpr double kSaturation = 0.75;
constexpr double kTopValue = 0.45, kBottomValue = 0.95;
constexpr int kGrain = 20;  // each channel moves by up to this much either way

// A well-mixed 32-bit hash of a pixel position, so the grain has no pattern a scaler could smooth away.
uint32_t Mix(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 0x9E3779B1u ^ y * 0x85EBCA77u ^ seed * 0xC2B2AE3Du;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

struct Channels {
  double r, g, b;
};

Channels FromHsv(double hue, double saturation, double value) {
  const double sector = std::fmod(hue, 360.0) / 60.0;
  const double c = value * saturation;
  const double x = c * (1.0 - std::fabs(std::fmod(sector, 2.0) - 1.0));
  const double m = value - c;
  const int index = int(sector) % 6;
  const Channels table[6] = {{c, x, 0}, {x, c, 0}, {0, c, x}, {0, x, c}, {x, 0, c}, {c, 0, x}};
  const Channels& t = table[index];
  return {t.r + m, t.g + m, t.b + m};
}

uint8_t WithGrain(double channel, uint32_t noise) {
  const int grain = int(noise % (2 * kGrain + 1)) - kGrain;
  return uint8_t(std::clamp(int(std::lround(channel * 255.0)) + grain, 0, 255));
}

}  // namespace

BenchPicture::BenchPicture(uint32_t width, uint32_t height, uint32_t seed)
    : width_(width), height_(height), seed_(seed), baseHue_(std::fmod(seed * kGoldenAngle, 360.0)) {}

uint32_t BenchPicture::Pixel(uint32_t x, uint32_t y) const {
  const double value = kTopValue + (kBottomValue - kTopValue) * y / std::max(height_ - 1, 1u);
  const double hue = baseHue_ + kHueSweep * x / std::max(width_ - 1, 1u);
  const Channels c = FromHsv(hue, kSaturation, value);
  const uint32_t noise = Mix(x, y, seed_);
  return uint32_t(WithGrain(c.r, noise)) << 16 | uint32_t(WithGrain(c.g, noise >> 8)) << 8 |
         WithGrain(c.b, noise >> 16);
}

void BenchPicture::Row(uint32_t y, std::span<uint8_t> rgb) const {
  for (uint32_t x = 0; x < width_; ++x) {
    const uint32_t pixel = Pixel(x, y);
    rgb[x * 3] = uint8_t(pixel >> 16);
    rgb[x * 3 + 1] = uint8_t(pixel >> 8);
    rgb[x * 3 + 2] = uint8_t(pixel);
  }
}

}  // namespace Quarlo::Bench
