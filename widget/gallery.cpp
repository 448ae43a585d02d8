// The canvas gallery page.

#include "widget/gallery.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <vector>

#include "widget/canvas.h"
#include "widget/icon_set.h"
#include "widget/pixel_image.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Detail {
namespace {

constexpr float kWidth = 760;
constexpr float kHeight = 560;
constexpr float kMargin = 24;

// A 600 × 400 picture of colour ramps with a fine grid, so that poor downscaling shows as moiré.
Bitmap SamplePicture() {
  constexpr int kW = 600;
  constexpr int kH = 400;
  auto pixels = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(kW) * kH * 4);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      uint8_t* p = pixels->data() + (static_cast<size_t>(y) * kW + x) * 4;
      const bool line = x % 4 == 0 || y % 4 == 0;
      p[0] = line ? 255 : static_cast<uint8_t>(255 * y / kH);
      p[1] = line ? 255 : static_cast<uint8_t>(255 * x / kW);
      p[2] = line ? 255 : static_cast<uint8_t>(255 - 255 * x / kW);
      p[3] = 255;
    }
  }
  return Bitmap::Wrap(kW, kH, pixels, pixels->data());
}

void DrawShapes(Canvas& c, const Theme& theme, float top) {
  const Color accent = theme.Get(ThemeColor::Accent);
  const Color text = theme.Get(ThemeColor::TextPrimary);
  float x = kMargin;
  c.FillRect(Rect{x, top, 60, 60}, accent);
  x += 76;
  c.StrokeRect(Rect{x, top, 60, 60}, text, 3);
  x += 76;
  c.FillRoundedRect(Rect{x, top, 60, 60}, theme.cornerRadius * 3, theme.Get(ThemeColor::ControlFill));
  c.StrokeRoundedRect(Rect{x, top, 60, 60}, theme.cornerRadius * 3, theme.Get(ThemeColor::StrongBorder), 1);
  x += 76;
  c.FillEllipse(Point{x + 30, top + 30}, 30, 22, theme.Get(ThemeColor::Success));
  x += 76;
  c.StrokeEllipse(Point{x + 30, top + 30}, 30, 30, theme.Get(ThemeColor::Critical), 4);
  x += 76;
  Path star;
  for (int i = 0; i < 10; ++i) {
    const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
    const float radius = i % 2 == 0 ? 30.0f : 12.0f;
    const Point p{x + 30 + radius * static_cast<float>(std::cos(angle)),
                  top + 32 + radius * static_cast<float>(std::sin(angle))};
    if (i == 0) {
      star.MoveTo(p);
    } else {
      star.LineTo(p);
    }
  }
  star.Close();
  c.FillPath(star, theme.Get(ThemeColor::Caution));
  x += 76;
  Gradient linear;
  linear.start = {x, top};
  linear.end = {x + 60, top + 60};
  linear.stops = {{0, accent}, {1, theme.Get(ThemeColor::Critical)}};
  c.FillRectGradient(Rect{x, top, 60, 60}, linear);
  x += 76;
  Gradient radial;
  radial.radial = true;
  radial.start = {x + 30, top + 30};
  radial.radiusX = radial.radiusY = 30;
  radial.stops = {{0, Color{1, 1, 1, 1}}, {1, accent.WithAlpha(0)}};
  Path circle;
  circle.MoveTo({x, top + 30})
      .CubicTo({x, top - 10}, {x + 60, top - 10}, {x + 60, top + 30})
      .CubicTo({x + 60, top + 70}, {x, top + 70}, {x, top + 30})
      .Close();
  c.FillPathGradient(circle, radial);

  StrokeStyle style;
  style.width = 3;
  style.cap = CapStyle::Round;
  const float y = top + 80;
  for (DashStyle dash : {DashStyle::Solid, DashStyle::Dash, DashStyle::Dot, DashStyle::DashDot}) {
    style.dash = dash;
    const float left = kMargin + static_cast<float>(dash) * 180;
    c.DrawLine(Point{left, y}, Point{left + 160, y}, text, style);
  }
}

void DrawTexts(Canvas& c, const Theme& theme, float top) {
  const Color primary = theme.Get(ThemeColor::TextPrimary);
  const Color secondary = theme.Get(ThemeColor::TextSecondary);
  TextStyle title;
  title.size = 20;
  title.weight = 600;
  c.DrawText(TextLayout::Create("QuarloView canvas gallery", title, Size{kWidth, 40}, TextOptions{}),
             Point{kMargin, top}, primary);
  TextStyle body;
  TextOptions wrap;
  wrap.wrapping = TextWrapping::Wrap;
  const float column = (kWidth - 3 * kMargin) / 2;
  c.DrawText(TextLayout::Create("Pictures of a folder or an archive, paged in natural name order, fitted to "
                                "the window or zoomed, one page or two facing pages.",
                                body, Size{column, INFINITY}, wrap),
             Point{kMargin, top + 36}, primary);
  c.DrawText(TextLayout::Create("폴더나 압축 파일의 그림을 자연스러운 이름 순서로 넘겨 보고, 창에 맞추거나 "
                                "확대해서 한 쪽 또는 마주 보는 두 쪽으로 봅니다.",
                                body, Size{column, INFINITY}, wrap),
             Point{2 * kMargin + column, top + 36}, primary);

  TextOptions trimmed;
  trimmed.trimming = TextTrimming::CharacterEllipsis;
  TextOptions words;
  words.trimming = TextTrimming::WordEllipsis;
  TextOptions centred;
  centred.alignment = TextAlignment::Center;
  centred.verticalAlignment = TextVerticalAlignment::Center;
  const float y = top + 120;
  const Rect boxes[] = {{kMargin, y, 200, 32}, {kMargin + 216, y, 200, 32}, {kMargin + 432, y, 200, 32}};
  for (const Rect& box : boxes) c.StrokeRect(box, theme.Get(ThemeColor::ControlBorder), 1);
  c.DrawText(TextLayout::Create("A very long file name that cannot fit.jpg", body, Size{184, 32}, words),
             Point{boxes[0].x + 8, y + 7}, secondary);
  c.DrawText(TextLayout::Create("아주 긴 파일 이름이 들어가지 않습니다.jpg", body, Size{184, 32}, trimmed),
             Point{boxes[1].x + 8, y + 7}, secondary);
  c.DrawText(TextLayout::Create("가운데 Centre", body, Size{200, 32}, centred), Point{boxes[2].x, y},
             theme.Get(ThemeColor::Accent));
}

void DrawIcons(Canvas& c, const Theme& theme, float top) {
  float x = kMargin;
  float y = top;
  bool accent = true;
  for (char32_t codePoint : IconCodePoints()) {
    const Rect cell{x, y, 40, 40};
    if (accent) {
      c.FillRoundedRect(cell, theme.cornerRadius, theme.Get(ThemeColor::Accent));
      c.DrawIcon(codePoint, cell, 20, theme.Get(ThemeColor::TextOnAccent));
    } else {
      c.FillRoundedRect(cell, theme.cornerRadius, theme.Get(ThemeColor::SubtleFillHover));
      c.DrawIcon(codePoint, cell, 20, theme.Get(ThemeColor::TextPrimary));
    }
    accent = false;
    x += 48;
    if (x + 40 > kWidth - kMargin) {
      x = kMargin;
      y += 48;
    }
  }
}

void DrawPictures(Canvas& c, const Theme& theme, float top) {
  const Bitmap picture = SamplePicture();
  c.DrawBitmap(picture, Rect{kMargin, top, 150, 100}, Rect{}, 1, Interpolation::Linear);
  c.DrawBitmap(picture, Rect{kMargin + 166, top, 150, 100}, Rect{}, 1, Interpolation::HighQualityCubic);
  c.DrawBitmap(picture, Rect{kMargin + 332, top, 100, 100}, Rect{0, 0, 10, 10}, 1,
               Interpolation::NearestNeighbor);
  c.PushRoundedClip(Rect{kMargin + 448, top, 150, 100}, 24);
  c.PushOpacity(0.5f);
  c.DrawBitmap(picture, Rect{kMargin + 448, top, 150, 100}, Rect{}, 1, Interpolation::Linear);
  c.PopOpacity();
  c.PopClip();
  c.PushTransform(Matrix::Rotation(15, Point{kMargin + 660, top + 50}));
  c.FillRect(Rect{kMargin + 630, top + 20, 60, 60}, theme.Get(ThemeColor::Accent));
  c.PopTransform();
}

}  // namespace

Size GallerySize() { return Size{kWidth, kHeight}; }

void DrawGallery(Canvas& canvas, const Theme& theme) {
  canvas.FillRect(Rect{0, 0, kWidth, kHeight}, theme.Get(ThemeColor::WindowBackground));
  DrawTexts(canvas, theme, kMargin);
  DrawShapes(canvas, theme, 196);
  DrawIcons(canvas, theme, 312);
  DrawPictures(canvas, theme, 424);
}

bool WriteGalleryShots(const std::string& folder, float dpi) {
  const std::pair<const char*, Theme> shots[] = {{"gallery-light.png", Theme::Light(kDefaultAccent)},
                                                 {"gallery-dark.png", Theme::Dark(kDefaultAccent)}};
  for (const auto& [name, theme] : shots) {
    const PixelImage image = RenderToImage(GallerySize(), dpi, theme.Get(ThemeColor::WindowBackground),
                                           [&theme = theme](Canvas& canvas) { DrawGallery(canvas, theme); });
    if (!WritePngFile(image, folder + "/" + name)) return false;
  }
  return true;
}

bool WritePngFile(const PixelImage& image, const std::string& path) {
  const std::vector<uint8_t> png = EncodeImage(image, ImageOptions{});
  FILE* file = png.empty() ? nullptr : std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace Quarlo::Widget::Detail
