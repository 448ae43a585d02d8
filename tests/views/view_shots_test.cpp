// The views drawn through the real canvas into images: a few pixels are checked, and the images are
// written as PNG files (into $QUARLO_VIEW_TEST_SHOTS when set, else a temporary folder) for people to
// look at.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "support/fake_host.h"
#include "support/hosted_view.h"
#include "support/made_pictures.h"
#include "support/temp_folder.h"
#include "views/picture_view.h"
#include "views/webtoon_view.h"
#include "widget/pixel_image.h"
#include "widget/theme.h"
#include "widget/window_image.h"

namespace App {
namespace {

using Quarlo::Test::MakePicture;
using Quarlo::Test::PhotoPixel;
using Quarlo::Test::PictureSpec;
using Quarlo::Widget::PixelImage;
using Quarlo::Widget::Size;
using Quarlo::Widget::WindowImageOptions;
using Quarlo::Widget::Testing::FakeHost;
using Quarlo::Widget::Testing::HostedView;

struct Bgra {
  int b, g, r, a;
};

Bgra PixelAt(const PixelImage& image, int x, int y) {
  const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + static_cast<size_t>(x)) * 4];
  return Bgra{p[0], p[1], p[2], p[3]};
}

class ViewShotsTest : public testing::Test {
 protected:
  // Writes the image as PNG where people can find it.
  void Save(const PixelImage& image, const std::string& name) {
    const char* folder = std::getenv("QUARLO_VIEW_TEST_SHOTS");
    const std::string path =
        (folder != nullptr && *folder != 0 ? std::string(folder) : temp.Path()) + "/" + name;
    const std::vector<uint8_t> png = Quarlo::Widget::EncodeImage(image, {});
    ASSERT_FALSE(png.empty());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  }

  PixelImage Render(FakeHost& host, Size size, float dpi = 96) {
    WindowImageOptions options;
    options.size = size;
    options.dpi = dpi;
    options.theme = Quarlo::Widget::Theme::Dark(Quarlo::Widget::kDefaultAccent);
    return Quarlo::Widget::RenderWindowToImage(host, options);
  }

  Quarlo::Test::TempFolder temp;
};

TEST_F(ViewShotsTest, ShrunkPhotoIsDrawnInPlaceFromItsCopies) {
  // 3000 x 2000 fitted into 900 x 600: drawn from the 1500 x 1000 copy. Its colour ramps run blue
  // left to right and red top to bottom, so a pixel shows whether it sits where it belongs.
  PictureSpec made;
  made.width = 3000;
  made.height = 2000;
  made.levels = true;
  made.painter = [](int32_t x, int32_t y, size_t, uint8_t* p) { PhotoPixel(x, y, 3000, 2000, p); };
  HostedView<PictureView> hosted{Size{900, 700}};
  FakeHost& host = hosted.host;
  PictureView* view = hosted.view;
  view->SetPages({MakePicture(made)}, 0, true, false, false);
  const PixelImage image = Render(host, {900, 700});
  Save(image, "picture-view-fit.png");
  ASSERT_EQ(image.width, 900u);
  const Bgra corner = PixelAt(image, 2, 2);  // the band above the picture: the dark theme background
  EXPECT_LT(corner.r + corner.g + corner.b, 3 * 60);
  const Bgra middle = PixelAt(image, 450, 350);
  EXPECT_NEAR(middle.b, 128, 6);
  EXPECT_NEAR(middle.r, 128, 6);
  EXPECT_NEAR(middle.g, 128, 12) << "the fine stripes average out, they do not alias";
  const Bgra nearRight = PixelAt(image, 890, 640);
  EXPECT_GT(nearRight.b, 240);
  EXPECT_GT(nearRight.r, 230);
}

TEST_F(ViewShotsTest, EnlargedPixelArtKeepsHardEdgesWithoutSmoothing) {
  // A 10 x 10 board of black and white pixels at 30 times its size: sharp squares, no grey ramps.
  PictureSpec made;
  made.width = made.height = 10;
  made.painter = [](int32_t x, int32_t y, size_t, uint8_t* p) {
    p[0] = p[1] = p[2] = (x + y) % 2 == 0 ? 255 : 0;
    p[3] = 255;
  };
  HostedView<PictureView> hosted{Size{300, 300}};
  FakeHost& host = hosted.host;
  PictureView* view = hosted.view;
  ViewAppearance appearance;
  appearance.smooth = false;
  view->SetAppearance(appearance);
  view->SetFitMode(FitMode::Fill);
  view->SetPages({MakePicture(made)}, 0, true, false, false);
  const PixelImage image = Render(host, {300, 300});
  Save(image, "picture-view-pixel-art.png");
  EXPECT_EQ(PixelAt(image, 29, 15).g, 255);
  EXPECT_EQ(PixelAt(image, 30, 15).g, 0);
  EXPECT_EQ(PixelAt(image, 59, 45).g, 255);
  EXPECT_EQ(PixelAt(image, 60, 45).g, 0);
}

TEST_F(ViewShotsTest, TransparentSpreadShowsTheCheckerboardBehindIt) {
  // Two pages, the left one half transparent red, on a white background.
  PictureSpec made;
  made.width = 300;
  made.height = 400;
  made.transparent = true;
  made.painter = [](int32_t x, int32_t, size_t, uint8_t* p) {
    const bool clear = x < 150;
    p[0] = p[1] = 0;
    p[2] = p[3] = clear ? 0 : 128;
  };
  PictureSpec opaque;
  opaque.width = 300;
  opaque.height = 400;
  opaque.painter = [](int32_t x, int32_t y, size_t, uint8_t* p) { PhotoPixel(x, y, 300, 400, p); };
  HostedView<PictureView> hosted{Size{640, 400}};
  FakeHost& host = hosted.host;
  PictureView* view = hosted.view;
  ViewAppearance appearance;
  appearance.useThemeBackground = false;
  appearance.backgroundColor = Quarlo::Widget::Color{1, 1, 1, 1};
  view->SetAppearance(appearance);
  view->SetPages({MakePicture(made), MakePicture(opaque)}, 20, true, false, false);
  const PixelImage image = Render(host, {640, 400});
  Save(image, "picture-view-spread-checkerboard.png");
  // The spread is 620 wide, so the left page starts at x 10; squares count from there.
  EXPECT_EQ(PixelAt(image, 10 + 4, 4).g, 255);
  EXPECT_EQ(PixelAt(image, 10 + 12, 4).g, 228);
  const Bgra red = PixelAt(image, 10 + 200, 100);
  EXPECT_GT(red.r, 240);
  EXPECT_NEAR(red.g, 255 - 128, 20) << "half transparent over the light squares";
  EXPECT_EQ(PixelAt(image, 320, 200).g, 255) << "the gap shows the background";
}

TEST_F(ViewShotsTest, LoadingLabelIsCentredOverTheView) {
  HostedView<PictureView> hosted{Size{400, 300}};
  FakeHost& host = hosted.host;
  PictureView* view = hosted.view;
  view->ShowLoadingAfterDelay();
  host.Advance(kLoadingDelaySeconds + 0.01);
  ASSERT_TRUE(view->IsLoadingShown());
  const PixelImage image = Render(host, {400, 300});
  Save(image, "picture-view-loading.png");
  int left = 400, right = 0, top = 300, bottom = 0;
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      if (PixelAt(image, x, y).g < 120) continue;  // text is light on the dark background
      left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
      bottom = std::max(bottom, y);
    }
  }
  ASSERT_LT(left, right) << "the label was drawn";
  EXPECT_NEAR((left + right) / 2.0, 200, 4);
  EXPECT_NEAR((top + bottom) / 2.0, 150, 6);
}

TEST_F(ViewShotsTest, WebtoonStripWithPlaceholders) {
  std::vector<PicturePtr> pages;
  for (int i = 0; i < 3; ++i) {
    PictureSpec made;
    made.width = 720;
    made.height = 1024;
    made.painter = [](int32_t x, int32_t y, size_t, uint8_t* p) { PhotoPixel(x, y, 720, 1024, p); };
    pages.push_back(MakePicture(made));
  }
  pages[1] = nullptr;
  pages.push_back(Quarlo::Test::FailedPicture());
  HostedView<WebtoonView> hosted{Size{600, 900}};
  FakeHost& host = hosted.host;
  WebtoonView* view = hosted.view;
  view->SetSources([&] { return pages.size(); }, [&](size_t i) { return pages[i]; },
                   [&](size_t i) { return pages[i] ? 1024.0 / 720 : 0; });
  view->SetWidthMode(FitMode::Fit);
  view->ScrollBy(0, 600);
  PixelImage image = Render(host, {600, 900});
  Save(image, "webtoon-strip.png");
  // 600 DIPs per 1000 units: picture 0 ends 853 DIPs down the strip, 253 into the window.
  const Bgra placeholder = PixelAt(image, 300, 400);
  EXPECT_EQ(placeholder.g, 43);
  EXPECT_GT(PixelAt(image, 590, 245).b, 240) << "the right edge of picture 0's bottom";
  view->ScrollToIndex(3, true);
  image = Render(host, {600, 900});
  Save(image, "webtoon-strip-failed.png");
  EXPECT_EQ(PixelAt(image, 20, 880).g, 43);
}

}  // namespace
}  // namespace App
