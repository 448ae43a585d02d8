#include "platform/imaging/pixel_ops.h"

#include <gtest/gtest.h>

#include "platform/imaging/colour.h"
#include "support/fixture_pictures.h"

namespace Quarlo::Imaging {
namespace {

TEST(PixelOpsTest, PremultiplyRoundsToNearest) {
  std::vector<uint8_t> pixels = {200, 100, 50, 128, 255, 255, 255, 0, 9, 8, 7, 255, 255, 255, 255, 1};
  PremultiplyRow(pixels.data(), 4);
  EXPECT_EQ(pixels, (std::vector<uint8_t>{100, 50, 25, 128, 0, 0, 0, 0, 9, 8, 7, 255, 1, 1, 1, 1}));
}

TEST(PixelOpsTest, ScaleDownAveragesTheCoveredArea) {
  // 4 × 2 to 2 × 1: each output pixel is the mean of a 2 × 2 block.
  std::vector<uint8_t> source = {0,   0,   0,   255, 100, 100, 100, 255, 10, 20, 30, 255, 10, 20, 30, 255,
                                 200, 200, 200, 255, 100, 100, 100, 255, 10, 20, 30, 255, 10, 20, 30, 255};
  PixelBytes out = ScaleDown(source, 4, 2, 2, 1);
  EXPECT_EQ(out, (PixelBytes{100, 100, 100, 255, 10, 20, 30, 255}));
  // A uniform picture stays uniform at an uneven ratio, translucency included.
  std::vector<uint8_t> uniform;
  for (int i = 0; i < 7 * 5; ++i) uniform.insert(uniform.end(), {40, 80, 120, 160});
  PixelBytes small = ScaleDown(uniform, 7, 5, 3, 2);
  ASSERT_EQ(small.size(), 3u * 2 * 4);
  for (size_t i = 0; i < small.size(); i += 4) {
    EXPECT_EQ((std::vector<uint8_t>(small.begin() + i, small.begin() + i + 4)),
              (std::vector<uint8_t>{40, 80, 120, 160}));
  }
}

TEST(PixelOpsTest, OrientOfAShortBufferIsEmpty) {
  std::vector<uint8_t> source(4 * 3 * 2 - 1);
  EXPECT_TRUE(Orient(source, 3, 2, 6).empty());
}

TEST(ProfileDescriptionTest, ReadsVersionTwoAndFourTexts) {
  EXPECT_EQ(ProfileDescription(Quarlo::Test::GammaProfile(2.2, "Wide RGB", 2.1)), "Wide RGB");
  EXPECT_EQ(ProfileDescription(Quarlo::Test::GammaProfile(2.2, "Wide RGB v4", 4.3)), "Wide RGB v4");
}

TEST(ProfileDescriptionTest, MalformedProfilesHaveNoName) {
  std::vector<uint8_t> profile = Quarlo::Test::GammaProfile(2.2, "Some name");
  EXPECT_EQ(ProfileDescription(std::span(profile).first(131)), "");
  // Find the "desc" entry and point its data past the end, then make it too small.
  for (size_t at = 132; at + 12 <= profile.size(); at += 12) {
    if (std::string(profile.begin() + at, profile.begin() + at + 4) != "desc") continue;
    std::vector<uint8_t> farOffset = profile;
    farOffset[at + 4] = 0x7F;
    EXPECT_EQ(ProfileDescription(farOffset), "");
    std::vector<uint8_t> tiny = profile;
    tiny[at + 8] = tiny[at + 9] = tiny[at + 10] = 0, tiny[at + 11] = 11;
    EXPECT_EQ(ProfileDescription(tiny), "");
    std::vector<uint8_t> hugeCount = profile;
    hugeCount[128] = 0xFF;  // tag count far beyond the table: the walk stops at the end
    EXPECT_EQ(ProfileDescription(hugeCount), "Some name");
    return;
  }
  FAIL() << "no desc tag";
}

}  // namespace
}  // namespace Quarlo::Imaging
