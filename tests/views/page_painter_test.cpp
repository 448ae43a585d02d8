// The drawing both views share, on real offscreen canvases: the checkerboard's squares and greys, tile
// bitmaps made once per buffer, and the appearance record built from the settings.

#include "views/page_painter.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "support/made_pictures.h"
#include "views/view_appearance.h"
#include "widget/pixel_image.h"

namespace App {
namespace {

using Quarlo::Widget::Canvas;
using Quarlo::Widget::Color;
using Quarlo::Widget::Interpolation;
using Quarlo::Widget::PixelImage;
using Quarlo::Widget::Rect;
using Quarlo::Widget::RenderToImage;

int GreyAt(const PixelImage& image, int x, int y) {
  return image.pixels[(static_cast<size_t>(y) * image.width + static_cast<size_t>(x)) * 4 + 1];
}

TEST(PagePainterTest, CheckerboardSquaresAreEightDipsFromTheRectangleCorner) {
  struct Case {
    const char* name;
    bool dark;
    float dpi;
    int a, b;  // a where the row and column squares differ, b where they agree
  };
  const Case cases[] = {
      {"light", false, 96, 228, 255},
      {"dark", true, 96, 44, 58},
      {"light at 200%", false, 192, 228, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PixelImage image = RenderToImage({600, 300}, c.dpi, Color{1, 0, 0, 1}, [&](Canvas& canvas) {
      FillCheckerboard(canvas, Rect{3, 5, 590, 290}, c.dark);
    });
    const int s = c.dpi == 96 ? 1 : 2;  // device pixels per DIP
    auto at = [&](int x, int y) { return GreyAt(image, (3 + x) * s, (5 + y) * s); };
    EXPECT_EQ(at(4, 4), c.b);
    EXPECT_EQ(at(12, 4), c.a);
    EXPECT_EQ(at(12, 12), c.b);
    EXPECT_EQ(at(268, 4), c.a) << "the second 256-DIP copy continues the pattern";
    EXPECT_EQ(at(300, 270), c.b);
    EXPECT_EQ(GreyAt(image, 1 * s, 1 * s), 0) << "nothing outside the rectangle";
    EXPECT_EQ(GreyAt(image, 595 * s, 100 * s), 0);
  }
}

TEST(PagePainterTest, AnEmptyRectangleGetsNoCheckerboard) {
  const PixelImage image = RenderToImage({20, 20}, 96, Color{1, 0, 0, 1}, [](Canvas& canvas) {
    FillCheckerboard(canvas, Rect{2, 2, 0, 10}, false);
    FillCheckerboard(canvas, Rect{2, 2, 10, -1}, false);
  });
  EXPECT_EQ(GreyAt(image, 3, 3), 0);
}

TEST(PagePainterTest, TilesOfAFrameAreDrawnWhereTheyBelong) {
  // 40 x 20 in tiles of 20: red on the left, blue on the right, drawn twice the size at (10, 10).
  Quarlo::Test::PictureSpec made;
  made.width = 40;
  made.height = 20;
  made.tileSide = 20;
  made.painter = [](int32_t x, int32_t, size_t, uint8_t* p) {
    p[0] = x < 20 ? 0 : 255;
    p[1] = 0;
    p[2] = x < 20 ? 255 : 0;
    p[3] = 255;
  };
  const PicturePtr picture = Quarlo::Test::MakePicture(made);
  TileBitmaps bitmaps;
  const PixelImage image = RenderToImage({100, 60}, 96, Color{0, 0, 0, 1}, [&](Canvas& canvas) {
    DrawPictureFrame(canvas, bitmaps, *picture, 0, Rect{10, 10, 80, 40}, Rect{0, 0, 100, 60},
                     Interpolation::NearestNeighbor);
  });
  auto pixel = [&](int x, int y) { return &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4]; };
  EXPECT_EQ(pixel(30, 30)[2], 255);
  EXPECT_EQ(pixel(70, 30)[0], 255);
  EXPECT_EQ(pixel(5, 30)[2], 0);
  EXPECT_EQ(bitmaps.Count(), 2u);
  // Culled: only the right tile meets a visible region on the right.
  TileBitmaps culled;
  RenderToImage({100, 60}, 96, Color{0, 0, 0, 1}, [&](Canvas& canvas) {
    DrawPictureFrame(canvas, culled, *picture, 0, Rect{10, 10, 80, 40}, Rect{60, 0, 40, 60},
                     Interpolation::NearestNeighbor);
  });
  EXPECT_EQ(culled.Count(), 1u);
}

TEST(PagePainterTest, TileBitmapsWrapTheTileOnceAndRefuseShortBuffers) {
  Quarlo::Test::PictureSpec made;
  made.width = 3000;
  made.height = 2000;
  made.levels = true;
  const PicturePtr picture = Quarlo::Test::MakePicture(made);
  TileBitmaps bitmaps;
  const PictureTile& tile = picture->tiles[0][0];
  const Quarlo::Widget::Bitmap bitmap = bitmaps.Get(tile);
  EXPECT_EQ(bitmap.Pixels(), tile.pixels->data()) << "no copy";
  EXPECT_EQ(bitmap.LevelCount(), tile.levels.size());
  EXPECT_EQ(bitmaps.Get(tile).Get(), bitmap.Get()) << "made once";
  PictureTile broken = tile;
  broken.height = 2001;
  EXPECT_FALSE(bitmaps.Get(broken));
  EXPECT_EQ(bitmaps.Count(), 1u);
  bitmaps.KeepOnly({nullptr, Quarlo::Test::MakePicture({})});
  EXPECT_EQ(bitmaps.Count(), 0u);
}

TEST(PagePainterTest, InterpolationIsSmoothWhenShrinkingOrAskedFor) {
  EXPECT_EQ(InterpolationFor(0.998, false), Interpolation::HighQualityCubic);
  EXPECT_EQ(InterpolationFor(0.999, false), Interpolation::NearestNeighbor);
  EXPECT_EQ(InterpolationFor(3, true), Interpolation::HighQualityCubic);
}

TEST(ViewAppearanceTest, BackgroundSettingGivesTheColour) {
  struct Case {
    int background;
    int custom;
    bool useTheme;
    Color color;
  };
  const Color unchanged = ViewAppearance{}.backgroundColor;
  const Case cases[] = {
      {0, 0, true, unchanged},
      {1, 0, false, Color::FromBytes(0, 0, 0)},
      {2, 0, false, Color::FromBytes(110, 110, 110)},
      {3, 0, false, Color::FromBytes(255, 255, 255)},
      {4, 0x336699, false, Color::FromBytes(0x33, 0x66, 0x99)},
      {9, 0, true, unchanged},
      {-1, 0, true, unchanged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.background);
    Quarlo::View::Settings settings;
    settings.background = static_cast<Quarlo::View::BackgroundKind>(c.background);
    settings.customBackground = c.custom;
    settings.checkerboard = false;
    settings.smoothScaling = false;
    const ViewAppearance appearance = AppearanceFromSettings(settings);
    EXPECT_EQ(appearance.useThemeBackground, c.useTheme);
    EXPECT_EQ(appearance.backgroundColor, c.color);
    EXPECT_FALSE(appearance.checkerboard);
    EXPECT_FALSE(appearance.smooth);
  }
}

TEST(ViewAppearanceTest, DarknessIsTheWeightedLuminance) {
  EXPECT_TRUE(IsDarkColor(Color::FromBytes(110, 110, 110)));
  EXPECT_FALSE(IsDarkColor(Color::FromBytes(128, 128, 128)));
  EXPECT_TRUE(IsDarkColor(Color{0, 0.8f, 0, 1})) << "0.59 x 0.8 is below one half";
  EXPECT_FALSE(IsDarkColor(Color{1, 0.4f, 0, 1}));
}

}  // namespace
}  // namespace App
