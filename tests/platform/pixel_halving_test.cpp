#include "platform/imaging/pixel_halving.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace Quarlo::Imaging {
namespace {

// The rule written out pixel by pixel: each output byte is the rounded mean of the four bytes of its
// 2 × 2 block, the block's second row or column repeating the first at a side of 1.
std::vector<uint8_t> HalveByHand(const std::vector<uint8_t>& in, uint32_t width, uint32_t height) {
  const uint32_t w = HalfSide(width), h = HalfSide(height);
  std::vector<uint8_t> out(size_t(w) * h * 4);
  auto at = [&](uint32_t x, uint32_t y, int c) { return int(in[(size_t(y) * width + x) * 4 + c]); };
  for (uint32_t y = 0; y < h; ++y) {
    const uint32_t y0 = std::min(2 * y, height - 1), y1 = std::min(2 * y + 1, height - 1);
    for (uint32_t x = 0; x < w; ++x) {
      const uint32_t x0 = std::min(2 * x, width - 1), x1 = std::min(2 * x + 1, width - 1);
      for (int c = 0; c < 4; ++c) {
        out[(size_t(y) * w + x) * 4 + c] =
            uint8_t((at(x0, y0, c) + at(x1, y0, c) + at(x0, y1, c) + at(x1, y1, c) + 2) / 4);
      }
    }
  }
  return out;
}

TEST(PixelHalvingTest, EveryChannelIsTheRoundedMeanOfItsBlock) {
  struct Case {
    uint32_t width, height;
  };
  const Case cases[] = {{2, 2}, {4, 2}, {5, 3}, {1, 7}, {9, 1}, {1, 1}, {33, 17}, {640, 3}};
  std::mt19937 random(7);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    std::vector<uint8_t> pixels(size_t(c.width) * c.height * 4);
    for (uint8_t& byte : pixels) byte = uint8_t(random());
    const PixelBytes halved = HalvePixels(pixels.data(), c.width, c.height);
    EXPECT_EQ(std::vector<uint8_t>(halved.begin(), halved.end()), HalveByHand(pixels, c.width, c.height));
  }
}

TEST(PixelHalvingTest, FullChannelsDoNotSpillIntoTheirNeighbours) {
  // Blue and red at 255 beside green and alpha at 0 (and the reverse): a carry between the packed
  // lanes would show up in the zero channels.
  const std::vector<uint8_t> pixels = {255, 0, 255, 0, 255, 0, 255, 0, 0, 255, 0, 255, 255, 255, 255, 255};
  const PixelBytes halved = HalvePixels(pixels.data(), 2, 2);
  EXPECT_EQ(std::vector<uint8_t>(halved.begin(), halved.end()), (std::vector<uint8_t>{191, 128, 191, 128}));
}

}  // namespace
}  // namespace Quarlo::Imaging
