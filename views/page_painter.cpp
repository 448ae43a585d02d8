#include "views/page_painter.h"

#include <algorithm>
#include <set>

namespace App {

using Quarlo::Widget::Bitmap;
using Quarlo::Widget::BitmapLevel;
using Quarlo::Widget::Canvas;
using Quarlo::Widget::Interpolation;
using Quarlo::Widget::Rect;

namespace {

// The checkerboard tile: 256 × 256 pixels at 96 DPI with squares of 8.
constexpr int32_t kCheckerSide = 256;
constexpr int32_t kSquareBit = 8;
constexpr uint8_t kLightA = 228, kLightB = 255;
constexpr uint8_t kDarkA = 44, kDarkB = 58;

Bitmap MakeCheckerboard(uint8_t a, uint8_t b) {
  std::vector<uint8_t> pixels(static_cast<size_t>(kCheckerSide) * kCheckerSide * 4);
  for (int32_t i = 0; i < kCheckerSide; ++i) {
    for (int32_t j = 0; j < kCheckerSide; ++j) {
      const uint8_t grey = ((i & kSquareBit) != (j & kSquareBit)) ? a : b;
      uint8_t* p = &pixels[(static_cast<size_t>(i) * kCheckerSide + j) * 4];
      p[0] = p[1] = p[2] = grey;
      p[3] = 255;
    }
  }
  return Bitmap::FromPixels(kCheckerSide, kCheckerSide, pixels);
}

// One tile per variant for the life of the process.
const Bitmap& Checkerboard(bool dark) {
  static const Bitmap light = MakeCheckerboard(kLightA, kLightB);
  static const Bitmap darkTile = MakeCheckerboard(kDarkA, kDarkB);
  return dark ? darkTile : light;
}

bool Overlaps(const Rect& a, const Rect& b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

std::vector<BitmapLevel> LevelsOf(const PictureTile& tile) {
  std::vector<BitmapLevel> levels;
  levels.reserve(tile.levels.size());
  for (const Quarlo::View::PictureLevel& level : tile.levels) {
    if (!level.pixels || level.pixels->size() < static_cast<size_t>(level.width) * level.height * 4) break;
    levels.push_back(BitmapLevel{level.width, level.height, level.pixels, level.pixels->data()});
  }
  return levels;
}

}  // namespace

Bitmap TileBitmaps::Get(const PictureTile& tile) {
  const int32_t width = tile.PixelWidth(), height = tile.PixelHeight();
  if (!tile.pixels || width <= 0 || height <= 0 ||
      tile.pixels->size() < static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
    return {};
  }
  auto found = bitmaps_.find(tile.pixels.get());
  if (found != bitmaps_.end()) return found->second;
  Bitmap bitmap = Bitmap::WrapWithLevels(width, height, tile.pixels, tile.pixels->data(), LevelsOf(tile));
  if (bitmap) bitmaps_.emplace(tile.pixels.get(), bitmap);
  return bitmap;
}

void TileBitmaps::KeepOnly(const std::vector<PicturePtr>& pictures) {
  if (bitmaps_.empty()) return;
  std::set<const Quarlo::View::PixelBytes*> kept;
  for (const PicturePtr& picture : pictures) {
    if (!picture) continue;
    for (const std::vector<PictureTile>& frame : picture->tiles) {
      for (const PictureTile& tile : frame) kept.insert(tile.pixels.get());
    }
  }
  std::erase_if(bitmaps_, [&](const auto& entry) { return !kept.contains(entry.first); });
}

Interpolation InterpolationFor(double devicePixelsPerPicturePixel, bool smooth) {
  return devicePixelsPerPicturePixel < kShrinkThreshold || smooth ? Interpolation::HighQualityCubic
                                                                  : Interpolation::NearestNeighbor;
}

void DrawPictureFrame(Canvas& canvas, TileBitmaps& bitmaps, const LoadedPicture& picture, size_t frame,
                      Rect destination, Rect visible, Interpolation interpolation) {
  if (picture.tiles.empty() || picture.width <= 0 || picture.height <= 0) return;
  const std::vector<PictureTile>& tiles = picture.tiles[std::min(frame, picture.tiles.size() - 1)];
  const float sx = destination.width / static_cast<float>(picture.width);
  const float sy = destination.height / static_cast<float>(picture.height);
  for (const PictureTile& tile : tiles) {
    const Rect rect{destination.x + static_cast<float>(tile.x) * sx,
                    destination.y + static_cast<float>(tile.y) * sy, static_cast<float>(tile.width) * sx,
                    static_cast<float>(tile.height) * sy};
    if (!Overlaps(rect, visible)) continue;
    const Bitmap bitmap = bitmaps.Get(tile);
    if (bitmap) canvas.DrawBitmap(bitmap, rect, Rect{}, 1, interpolation);
  }
}

void FillCheckerboard(Canvas& canvas, Rect rect, bool dark) {
  if (!(rect.width > 0) || !(rect.height > 0)) return;
  const Bitmap& tile = Checkerboard(dark);
  const float step = static_cast<float>(kCheckerSide);
  canvas.PushClip(rect);
  for (float y = 0; y < rect.height; y += step) {
    const float height = std::min(step, rect.height - y);
    for (float x = 0; x < rect.width; x += step) {
      const float width = std::min(step, rect.width - x);
      canvas.DrawBitmap(tile, Rect{rect.x + x, rect.y + y, width, height}, Rect{0, 0, width, height}, 1,
                        Interpolation::NearestNeighbor);
    }
  }
  canvas.PopClip();
}

Rect Intersection(const Rect& a, const Rect& b) {
  const float left = std::max(a.x, b.x), top = std::max(a.y, b.y);
  const float right = std::min(a.Right(), b.Right()), bottom = std::min(a.Bottom(), b.Bottom());
  return Rect{left, top, std::max(0.0f, right - left), std::max(0.0f, bottom - top)};
}

}  // namespace App
