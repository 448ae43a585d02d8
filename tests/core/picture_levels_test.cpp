#include "core/picture_levels.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/loaded_picture.h"
#include "support/fixture_pictures.h"
#include "support/gif_builder.h"

namespace Quarlo::View {
namespace {

using Quarlo::Test::RgbaImage;

uint64_t FrameBytes(const LoadedPicture& picture) {
  return uint64_t(picture.frames.size()) * uint64_t(picture.width) * uint64_t(picture.height) * 4;
}

TEST(PictureLevelsTest, CopiesHalveDownToTheSmallestSide) {
  // 2049 x 1100: 1024 x 550, 512 x 275, 256 x 137; the next (128 x 68) is left to the canvas.
  Imaging::PixelBytes pixels(size_t(2049) * 1100 * 4);
  for (size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = 10, pixels[i + 1] = 20, pixels[i + 2] = 30, pixels[i + 3] = 255;
  }
  const std::vector<PictureLevel> levels = BuildLevels(pixels, 2049, 1100);
  ASSERT_EQ(levels.size(), 3u);
  const int32_t sizes[][2] = {{1024, 550}, {512, 275}, {256, 137}};
  for (size_t i = 0; i < levels.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(levels[i].width, sizes[i][0]);
    EXPECT_EQ(levels[i].height, sizes[i][1]);
    ASSERT_EQ(levels[i].pixels->size(), size_t(sizes[i][0]) * sizes[i][1] * 4);
    EXPECT_EQ((*levels[i].pixels)[size_t(levels[i].width) * 4 + 2], 30);
  }
}

TEST(PictureLevelsTest, LargeStillsCarryCopiesAndPayForThem) {
  struct Case {
    const char* name;
    uint32_t width, height;
    size_t expectedLevels;
  };
  const Case cases[] = {
      {"a long side of 2048 gets copies", 2048, 16, 3},
      {"just below the threshold gets none", 2047, 1200, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PicturePtr picture = LoadPictureBytes(
        Quarlo::Test::EncodePng(RgbaImage::Filled(c.width, c.height, 200, 100, 50)), "a.png", {});
    ASSERT_EQ(picture->error, LoadError::None);
    ASSERT_EQ(picture->tiles.size(), 1u);
    ASSERT_EQ(picture->tiles[0].size(), 1u);
    EXPECT_EQ(picture->tiles[0][0].levels.size(), c.expectedLevels);
    EXPECT_EQ(picture->cost, kPictureOverheadCost + FrameBytes(*picture) + LevelBytes(*picture));
    if (c.expectedLevels > 0) {
      EXPECT_EQ(LevelBytes(*picture), uint64_t(1024 * 8 + 512 * 4 + 256 * 2) * 4);
    }
  }
}

TEST(PictureLevelsTest, TilesOfAHugePictureEachGetTheirOwnCopies) {
  const PicturePtr picture =
      LoadPictureBytes(Quarlo::Test::EncodePng(RgbaImage::Filled(9000, 300, 0, 0, 255)), "wide.png", {});
  ASSERT_EQ(picture->error, LoadError::None);
  ASSERT_EQ(picture->tiles[0].size(), 3u);
  for (const PictureTile& tile : picture->tiles[0]) {
    ASSERT_FALSE(tile.levels.empty());
    EXPECT_EQ(tile.levels[0].width, tile.width / 2);
  }
}

TEST(PictureLevelsTest, AnimationsGetNoCopies) {
  Quarlo::Test::TestGif gif;
  gif.width = 2100;
  gif.height = 8;
  gif.frames = {Quarlo::Test::FilledGifFrame(0, 0, 2100, 8, Quarlo::Test::kGifRed),
                Quarlo::Test::FilledGifFrame(0, 0, 2100, 8, Quarlo::Test::kGifBlue)};
  const PicturePtr picture = LoadPictureBytes(Quarlo::Test::EncodeGif(gif), "a.gif", {});
  ASSERT_EQ(picture->frames.size(), 2u);
  EXPECT_EQ(LevelBytes(*picture), 0u);
  EXPECT_EQ(picture->cost, kPictureOverheadCost + FrameBytes(*picture));
}

}  // namespace
}  // namespace Quarlo::View
