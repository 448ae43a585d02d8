#include "bench/hold_next/page_mark.h"

#include <cstdlib>

namespace Quarlo::Bench {
namespace {

// Seven levels a channel; a JPEG and a scaled draw move a flat colour by a few steps at most.
constexpr int kLevels = 7;
constexpr int kLevelStep = 42;
constexpr int kTolerance = 14;

int Channel(uint32_t rgb, int shift) { return int((rgb >> shift) & 0xFF); }

std::optional<int> LevelOf(int value) {
  const int level = (value + kLevelStep / 2) / kLevelStep;
  if (level >= kLevels || std::abs(value - level * kLevelStep) > kTolerance) return std::nullopt;
  return level;
}

}  // namespace

uint32_t MarkColour(int page) {
  const uint32_t r = uint32_t(page % kLevels) * kLevelStep;
  const uint32_t g = uint32_t(page / kLevels % kLevels) * kLevelStep;
  const uint32_t b = uint32_t(page / (kLevels * kLevels) % kLevels) * kLevelStep;
  return (r << 16) | (g << 8) | b;
}

uint32_t Complement(uint32_t rgb) { return ~rgb & 0xFFFFFF; }

std::optional<int> PageOfMark(uint32_t left, uint32_t right) {
  int page = 0;
  int weight = 1;
  for (const int shift : {16, 8, 0}) {
    const std::optional<int> level = LevelOf(Channel(left, shift));
    const int mirrored = 255 - Channel(right, shift);
    if (!level || std::abs(mirrored - *level * kLevelStep) > kTolerance) return std::nullopt;
    page += *level * weight;
    weight *= kLevels;
  }
  return page;
}

}  // namespace Quarlo::Bench
