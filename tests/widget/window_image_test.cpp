// Rendering a window's tree into an image, and the application-wide theme choice reaching every window.
// The windows here never create a native window, so no display is needed.

#include "widget/window_image.h"

#include <gtest/gtest.h>

#include <memory>

#include "widget/animator.h"
#include "widget/canvas.h"
#include "widget/theme.h"
#include "widget/window.h"

namespace Quarlo::Widget {
namespace {

// Wants 120 by 50 DIPs; paints its left half in the theme's accent and an animated bar in red.
class Swatch : public Widget {
 public:
  Swatch() : bar(this, 0) {}
  Size MeasureOverride(Size) override { return {120, 50}; }
  void Paint(Canvas& canvas) override {
    const Size size = ActualSize();
    canvas.FillRect({0, 0, size.width / 2, size.height}, GetTheme().Get(ThemeColor::Accent));
    canvas.FillRect({size.width / 2, 0, bar.Value(), 10}, Color{1, 0, 0, 1});
  }
  AnimatedValue bar;
};

// Premultiplied BGRA of one pixel.
struct Pixel {
  uint8_t b, g, r, a;
};
Pixel At(const PixelImage& image, uint32_t x, uint32_t y) {
  const uint8_t* p = image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * 4;
  return Pixel{p[0], p[1], p[2], p[3]};
}

TEST(WindowImage, SizesFromTheRootAndDrawsAtTheDpiWithTheGivenTheme) {
  Window window;
  auto* swatch = static_cast<Swatch*>(window.SetRoot(std::make_unique<Swatch>()));
  swatch->bar.AnimateTo(60, 10.0, Easing::Linear);  // far from done: the image shows its end
  WindowImageOptions options;
  options.dpi = 192;
  options.theme = Theme::Dark(Color::FromBytes(0, 200, 0));
  const PixelImage image = RenderWindowToImage(window, options);
  ASSERT_EQ(image.width, 240u);
  ASSERT_EQ(image.height, 100u);
  EXPECT_EQ(window.GetTheme().mode, ThemeKind::Dark);
  const Pixel accent = At(image, 10, 50);
  EXPECT_GT(accent.g, accent.r);  // the dark theme's lighter shade of the green accent
  const Pixel bar = At(image, 230, 5);
  EXPECT_EQ(bar.r, 255);
  EXPECT_EQ(bar.g, 0);
  const Color background = Theme::Dark(kDefaultAccent).Get(ThemeColor::WindowBackground);
  const Pixel below = At(image, 230, 60);
  EXPECT_NEAR(below.r, background.r * 255, 1);
  EXPECT_EQ(below.a, 255);
}

TEST(WindowImage, WidthIsLimitedAndTransparentBackgroundsStayClear) {
  Window window;
  window.SetRoot(std::make_unique<Swatch>());
  WindowImageOptions options;
  options.maxWidth = 100;
  options.transparent = true;
  const PixelImage image = RenderWindowToImage(window, options);
  ASSERT_EQ(image.width, 100u);
  EXPECT_EQ(At(image, 80, 40).a, 0);
  Window empty;
  EXPECT_TRUE(RenderWindowToImage(empty, options).Empty());
}

TEST(WindowTheme, ThemeModeReachesEveryWindowThatFollowsTheSystem) {
  Window following;
  Window fixed;
  fixed.Options().followSystemTheme = false;
  Window provided;
  provided.SetThemeProvider([] { return Theme::HighContrast(); });
  SetThemeMode(ThemeMode::Dark);
  EXPECT_EQ(following.GetTheme().mode, ThemeKind::Dark);
  EXPECT_EQ(fixed.GetTheme().mode, ThemeKind::Light);
  EXPECT_EQ(provided.GetTheme().mode, ThemeKind::HighContrast);
  SetThemeMode(ThemeMode::Light);
  EXPECT_EQ(following.GetTheme().mode, ThemeKind::Light);
  SetThemeMode(ThemeMode::System);
}

}  // namespace
}  // namespace Quarlo::Widget
