// The probe's decisions on centre lines made the way viewers show the benchmark pictures: fitted down by
// averaging blocks of pixels (what a smooth scaler does to grain) or by picking pixels, beside a window
// that shows no picture yet.

#include "bench/viewers/screen_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench/viewers/bench_picture.h"

namespace Quarlo::Bench {
namespace {

constexpr uint32_t kBackground = 0x202020;
constexpr uint32_t kTint = 0x3050A0;

enum class Line { Row, Column };
enum class Scaler { BlockMean, PickPixels };

// The picture's centre row or column scaled down by an integer factor, as 0xRRGGBB pixels.
std::vector<uint32_t> FittedLine(const BenchPicture& picture, Line line, uint32_t factor, Scaler scaler) {
  const uint32_t across = (line == Line::Row ? picture.Width() : picture.Height()) / factor;
  const uint32_t centreX = (picture.Width() / 2 / factor) * factor;
  const uint32_t centreY = (picture.Height() / 2 / factor) * factor;
  const uint32_t taps = scaler == Scaler::BlockMean ? factor : 1;
  std::vector<uint32_t> out;
  for (uint32_t i = 0; i < across; ++i) {
    const uint32_t left = line == Line::Row ? i * factor : centreX;
    const uint32_t top = line == Line::Row ? centreY : i * factor;
    uint32_t sum[3] = {0, 0, 0};
    for (uint32_t y = top; y < top + taps; ++y) {
      for (uint32_t x = left; x < left + taps; ++x) {
        const uint32_t pixel = picture.Pixel(x, y);
        for (int c = 0; c < 3; ++c) sum[c] += (pixel >> (16 - 8 * c)) & 0xFF;
      }
    }
    const uint32_t n = taps * taps;
    out.push_back((sum[0] / n) << 16 | (sum[1] / n) << 8 | sum[2] / n);
  }
  return out;
}

// A picture line placed in the middle of a window line of windowLength pixels.
std::vector<uint32_t> InWindow(const std::vector<uint32_t>& picture, size_t windowLength) {
  std::vector<uint32_t> window(windowLength, kBackground);
  std::copy(picture.begin(), picture.end(), window.begin() + (windowLength - picture.size()) / 2);
  return window;
}

TEST(ScreenCheckTest, FittedPicturesCountAsShown) {
  struct Case {
    const char* name;
    uint32_t width, height, factor;
    size_t windowWidth, windowHeight;
  };
  // The 24 MP photo fitted to a large and to a small window; a comic page beside its margins.
  const Case cases[] = {
      {"photo in 1920x1080", 6000, 4000, 4, 1920, 1080},
      {"photo in 640x480", 6000, 4000, 10, 640, 480},
      {"page in 1920x1080", 1500, 2200, 3, 1920, 1080},
  };
  for (const Case& c : cases) {
    const BenchPicture picture(c.width, c.height, 1);
    for (Scaler scaler : {Scaler::BlockMean, Scaler::PickPixels}) {
      const auto row = InWindow(FittedLine(picture, Line::Row, c.factor, scaler), c.windowWidth);
      const auto column = InWindow(FittedLine(picture, Line::Column, c.factor, scaler), c.windowHeight);
      EXPECT_TRUE(ShowsPicture(row, column))
          << c.name << ": " << TintedColours(row) << " colours on the row, " << TintedColours(column)
          << " on the column";
    }
  }
}

TEST(ScreenCheckTest, WindowsWithoutAPictureDoNotCount) {
  const std::vector<uint32_t> empty(1280, kBackground);
  // Anti-aliased text: every grey between the background and white, repeated along the line.
  std::vector<uint32_t> text(1280, kBackground);
  for (size_t i = 0; i < 256; ++i) text[400 + i] = 0x010101u * uint32_t(0x20 + i * (0xFF - 0x20) / 255);
  // The X server may leave the byte above the 24 colour bits set; it is no colour of its own.
  std::vector<uint32_t> padded(1280);
  for (size_t i = 0; i < padded.size(); ++i) padded[i] = uint32_t(i % 256) << 24 | kTint;
  EXPECT_FALSE(ShowsPicture(empty, empty));
  EXPECT_FALSE(ShowsPicture(text, text)) << TintedColours(text);
  EXPECT_EQ(TintedColours(padded), 1u);
}

TEST(ScreenCheckTest, EveryNextPictureInTheFolderCountsAsAnother) {
  const uint32_t width = 1920, height = 1080, folderSize = 500;
  std::vector<uint32_t> previous;
  for (uint32_t seed = 1; seed <= folderSize; ++seed) {
    const BenchPicture picture(width, height, seed);
    const auto row = FittedLine(picture, Line::Row, 1, Scaler::PickPixels);
    const auto column = FittedLine(picture, Line::Column, 1, Scaler::PickPixels);
    if (!previous.empty()) {
      ASSERT_TRUE(ShowsOtherPicture(previous, row, column)) << "picture " << seed;
    }
    previous = row;
  }
}

TEST(ScreenCheckTest, RepaintsAndBlankFramesAreNotAnotherPicture) {
  const BenchPicture picture(1920, 1080, 7);
  const auto row = FittedLine(picture, Line::Row, 1, Scaler::PickPixels);
  const auto column = FittedLine(picture, Line::Column, 1, Scaler::PickPixels);
  // The same picture drawn again through another scaler: every channel a little off.
  std::vector<uint32_t> repainted = row;
  for (size_t i = 0; i < repainted.size(); ++i) repainted[i] ^= (i % 2 == 0) ? 0x0F0F0F : 0x070707;
  const std::vector<uint32_t> blank(row.size(), kBackground);
  EXPECT_FALSE(ShowsOtherPicture(row, repainted, column));
  EXPECT_FALSE(ShowsOtherPicture(row, blank, blank));
  EXPECT_TRUE(ShowsOtherPicture(std::vector<uint32_t>(1280, kBackground), row, column))
      << "a resized window that shows a picture";
}

}  // namespace
}  // namespace Quarlo::Bench
