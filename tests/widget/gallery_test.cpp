// The gallery pages: the canvas page renders in both themes, the controls page holds every leaf control in
// three themes at two scales, and both are written as PNG files people can look at.

#include "widget/gallery.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "widget/controls_gallery.h"
#include "widget/host.h"
#include "widget/pixel_image.h"
#include "widget/widget.h"

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

TEST(ControlsGallery, HoldsEveryControlWithKeyboardFocusOnOne) {
  Host host;
  Detail::ShowControlsGallery(host);
  std::set<std::string> classes;
  ForEachInTree(host.Root(), [&](Widget* w) { classes.insert(w->ClassName()); });
  for (const char* name : {"Button", "ToggleButton", "CheckBox", "RadioButton", "NavTab", "Slider",
                           "ProgressBar", "Label", "Icon", "Separator"}) {
    EXPECT_TRUE(classes.count(name)) << name;
  }
  ASSERT_NE(host.Focused(), nullptr);
  EXPECT_TRUE(host.FocusVisible());
  EXPECT_TRUE(host.ShowAccessKeys());
}

TEST(ControlsGallery, WritesThreeThemesAtTwoScales) {
  Quarlo::Test::TempFolder folder;
  ASSERT_TRUE(Detail::WriteControlsShots(folder.Path()));
  const Size size = Detail::ControlsGallerySize();
  struct Shot {
    const char* name;
    float scale;
    bool lightBackground;
  };
  const Shot shots[] = {{"controls-light-100.png", 1, true},     {"controls-light-200.png", 2, true},
                        {"controls-dark-100.png", 1, false},     {"controls-dark-200.png", 2, false},
                        {"controls-contrast-100.png", 1, false}, {"controls-contrast-200.png", 2, false}};
  for (const Shot& shot : shots) {
    const PixelImage image = ReadPng(folder.At(shot.name));
    ASSERT_EQ(image.width, static_cast<uint32_t>(size.width * shot.scale)) << shot.name;
    ASSERT_EQ(image.height, static_cast<uint32_t>(size.height * shot.scale)) << shot.name;
    EXPECT_EQ(Brightness(image, 2, 2) > 128, shot.lightBackground) << shot.name;
  }
  EXPECT_FALSE(Detail::WriteControlsShots(folder.At("missing")));
}

}  // namespace
}  // namespace Quarlo::Widget
