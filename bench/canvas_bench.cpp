// Frame times of the canvas: a full 1920 × 1080 repaint of shapes, text and icons, and a 24-megapixel
// picture scaled to fit, drawn from the halving pyramid against Cairo's GOOD filter on the whole picture.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "screen_surface.h"
#include "widget/canvas.h"
#include "widget/detail/cairo_canvas.h"
#include "widget/detail/icon_glyphs.h"
#include "widget/theme.h"

namespace {

using Quarlo::Bench::kScreenHeight;
using Quarlo::Bench::kScreenWidth;
using Quarlo::Bench::Screen;

using namespace Quarlo::Widget;

constexpr int kPictureWidth = 6000;
constexpr int kPictureHeight = 4000;

// A photograph-like picture: smooth ramps with fine detail that shimmers when scaled badly.
std::shared_ptr<std::vector<uint8_t>> PicturePixels() {
  static auto pixels = [] {
    auto data =
        std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(kPictureWidth) * kPictureHeight * 4);
    for (int y = 0; y < kPictureHeight; ++y) {
      for (int x = 0; x < kPictureWidth; ++x) {
        uint8_t* p = data->data() + (static_cast<size_t>(y) * kPictureWidth + x) * 4;
        p[0] = static_cast<uint8_t>(x * 255 / kPictureWidth);
        p[1] = static_cast<uint8_t>(((x ^ y) & 8) != 0 ? 200 : 40);
        p[2] = static_cast<uint8_t>(y * 255 / kPictureHeight);
        p[3] = 255;
      }
    }
    return data;
  }();
  return pixels;
}

Bitmap Picture() {
  auto pixels = PicturePixels();
  return Bitmap::Wrap(kPictureWidth, kPictureHeight, pixels, pixels->data());
}

constexpr Rect kFit{150, 0, 1620, 1080};

// One frame of a busy window: a grid of 160 tiles with captions, a tool bar of icons and dividers.
void PaintWindow(Canvas& canvas, const Theme& theme, const std::vector<TextLayout>& captions) {
  canvas.Clear(theme.Get(ThemeColor::WindowBackground));
  const std::vector<char32_t> icons = Detail::IconCodePoints();
  for (size_t i = 0; i < icons.size(); ++i) {
    const Rect cell{8 + 44.0f * static_cast<float>(i), 8, 40, 40};
    canvas.FillRoundedRect(cell, 4, theme.Get(ThemeColor::SubtleFillHover));
    canvas.DrawIcon(icons[i], cell, 16, theme.Get(ThemeColor::TextPrimary));
  }
  canvas.DrawLine(Point{0, 56}, Point{kScreenWidth, 56}, theme.Get(ThemeColor::Divider), 1);
  for (int i = 0; i < 160; ++i) {
    const float x = 16 + static_cast<float>(i % 16) * 118;
    const float y = 72 + static_cast<float>(i / 16) * 100;
    canvas.FillRoundedRect(Rect{x, y, 110, 70}, 4, theme.Get(ThemeColor::ControlFill));
    canvas.StrokeRoundedRect(Rect{x, y, 110, 70}, 4, theme.Get(ThemeColor::ControlBorder), 1);
    canvas.DrawText(captions[static_cast<size_t>(i) % captions.size()], Point{x, y + 74},
                    theme.Get(ThemeColor::TextPrimary));
  }
}

std::vector<TextLayout> Captions() {
  TextOptions trimmed;
  trimmed.trimming = TextTrimming::CharacterEllipsis;
  std::vector<TextLayout> captions;
  for (int i = 0; i < 40; ++i) {
    const std::string name = (i % 2 == 0 ? "holiday_photo_" : "여름 휴가 사진 ") + std::to_string(i) + ".jpg";
    captions.push_back(TextLayout::Create(name, TextStyle{}, Size{110, 20}, trimmed));
  }
  return captions;
}

void BM_FullRepaint1080p(benchmark::State& state) {
  Screen screen;
  const Theme theme = Theme::Dark(kDefaultAccent);
  const std::vector<TextLayout> captions = Captions();
  for (auto _ : state) {
    Detail::CairoCanvas canvas(screen.cr, 1);
    PaintWindow(canvas, theme, captions);
    cairo_surface_flush(screen.surface);
  }
}
BENCHMARK(BM_FullRepaint1080p)->Unit(benchmark::kMillisecond);

void BM_FullRepaint1080pWithNewLayouts(benchmark::State& state) {
  Screen screen;
  const Theme theme = Theme::Dark(kDefaultAccent);
  for (auto _ : state) {
    const std::vector<TextLayout> captions = Captions();
    Detail::CairoCanvas canvas(screen.cr, 1);
    PaintWindow(canvas, theme, captions);
    cairo_surface_flush(screen.surface);
  }
}
BENCHMARK(BM_FullRepaint1080pWithNewLayouts)->Unit(benchmark::kMillisecond);

void DrawFitted(benchmark::State& state, Interpolation interpolation) {
  Screen screen;
  const Bitmap picture = Picture();
  {
    Detail::CairoCanvas warm(screen.cr, 1);
    warm.DrawBitmap(picture, kFit, Rect{}, 1, interpolation);  // builds the pyramid once
  }
  for (auto _ : state) {
    Detail::CairoCanvas canvas(screen.cr, 1);
    canvas.DrawBitmap(picture, kFit, Rect{}, 1, interpolation);
    cairo_surface_flush(screen.surface);
  }
}

void BM_Picture24MpPyramidLinear(benchmark::State& state) { DrawFitted(state, Interpolation::Linear); }
BENCHMARK(BM_Picture24MpPyramidLinear)->Unit(benchmark::kMillisecond);

void BM_Picture24MpPyramidCubic(benchmark::State& state) {
  DrawFitted(state, Interpolation::HighQualityCubic);
}
BENCHMARK(BM_Picture24MpPyramidCubic)->Unit(benchmark::kMillisecond);

void BM_Picture24MpPyramidBuild(benchmark::State& state) {
  Screen screen;
  for (auto _ : state) {
    const Bitmap picture = Picture();  // wraps without copying; the first draw builds the levels
    Detail::CairoCanvas canvas(screen.cr, 1);
    canvas.DrawBitmap(picture, kFit, Rect{}, 1, Interpolation::Linear);
  }
}
BENCHMARK(BM_Picture24MpPyramidBuild)->Unit(benchmark::kMillisecond);

// The reference: Cairo's GOOD filter sampling the whole picture every frame.
void BM_Picture24MpDirectGood(benchmark::State& state) {
  Screen screen;
  auto pixels = PicturePixels();
  cairo_surface_t* picture = cairo_image_surface_create_for_data(
      pixels->data(), CAIRO_FORMAT_ARGB32, kPictureWidth, kPictureHeight, kPictureWidth * 4);
  for (auto _ : state) {
    cairo_save(screen.cr);
    cairo_translate(screen.cr, kFit.x, kFit.y);
    cairo_scale(screen.cr, kFit.width / kPictureWidth, kFit.height / kPictureHeight);
    cairo_set_source_surface(screen.cr, picture, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(screen.cr), CAIRO_FILTER_GOOD);
    cairo_paint(screen.cr);
    cairo_restore(screen.cr);
    cairo_surface_flush(screen.surface);
  }
  cairo_surface_destroy(picture);
}
BENCHMARK(BM_Picture24MpDirectGood)->Unit(benchmark::kMillisecond);

}  // namespace
