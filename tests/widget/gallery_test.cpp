// The gallery page renders in both themes and is written as PNG files people can look at.

#include "widget/gallery.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "widget/pixel_image.h"

namespace Quarlo::Widget {
namespace {

PixelImage ReadPng(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return DecodeImage(bytes);
}

int Brightness(const PixelImage& image, uint32_t x, uint32_t y) {
  const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
  return (p[0] + p[1] + p[2]) / 3;
}

TEST(Gallery, WritesBothThemesAtTheRequestedDpi) {
  Quarlo::Test::TempFolder folder;
  ASSERT_TRUE(Detail::WriteGalleryShots(folder.Path(), 144));
  const PixelImage light = ReadPng(folder.At("gallery-light.png"));
  const PixelImage dark = ReadPng(folder.At("gallery-dark.png"));
  const Size size = Detail::GallerySize();
  ASSERT_EQ(light.width, static_cast<uint32_t>(size.width * 1.5f));
  ASSERT_EQ(dark.height, static_cast<uint32_t>(size.height * 1.5f));
  EXPECT_GT(Brightness(light, 2, 2), 230);
  EXPECT_LT(Brightness(dark, 2, 2), 40);
  EXPECT_FALSE(Detail::WriteGalleryShots(folder.At("missing"), 96));
}

}  // namespace
}  // namespace Quarlo::Widget
