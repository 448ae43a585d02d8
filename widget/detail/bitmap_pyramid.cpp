// Halving pyramid and region-limited bitmap drawing on Cairo.

#include "widget/detail/bitmap_pyramid.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace Quarlo::Widget::Detail {
namespace {

// Cairo image surfaces hold at most this many pixels per side.
constexpr int32_t kMaxSurfaceSide = 32767;

struct LevelView {
  const uint8_t* pixels;
  int32_t width;
  int32_t height;
};

// Two channels of a BGRA pixel in 16-bit lanes: the sum of four pixels plus the rounding term stays below
// 1024, so the lanes never carry into each other. The picture loader halves with the same rounded 2 × 2
// mean in the imaging layer, which the toolkit does not link, so that the copies it makes ahead of time
// and the ones made here agree.
constexpr uint32_t kLaneMask = 0x00FF00FF;
constexpr uint32_t kRounding = 0x00020002;

uint32_t Load(const uint8_t* at) {
  uint32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

uint32_t Mean(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  const uint32_t low = (a & kLaneMask) + (b & kLaneMask) + (c & kLaneMask) + (d & kLaneMask) + kRounding;
  const uint32_t high = ((a >> 8) & kLaneMask) + ((b >> 8) & kLaneMask) + ((c >> 8) & kLaneMask) +
                        ((d >> 8) & kLaneMask) + kRounding;
  return ((low >> 2) & kLaneMask) | (((high >> 2) & kLaneMask) << 8);
}

// A halved copy of a premultiplied BGRA picture; an odd last row or column is left out and a side of 1
// stays 1. Throws std::bad_alloc when the copy cannot be had.
std::shared_ptr<const std::vector<uint8_t>> Halve(const LevelView& parent) {
  const int32_t width = HalfLevelSide(parent.width), height = HalfLevelSide(parent.height);
  auto out =
      std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  const size_t stride = static_cast<size_t>(parent.width) * 4;
  const size_t step = parent.width > 1 ? 4 : 0;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* top = parent.pixels + static_cast<size_t>(std::min(2 * y, parent.height - 1)) * stride;
    const uint8_t* bottom =
        parent.pixels + static_cast<size_t>(std::min(2 * y + 1, parent.height - 1)) * stride;
    uint8_t* row = out->data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
    for (int32_t x = 0; x < width; ++x) {
      const size_t at = static_cast<size_t>(x) * 8;
      const uint32_t value =
          Mean(Load(top + at), Load(top + at + step), Load(bottom + at), Load(bottom + at + step));
      std::memcpy(row + static_cast<size_t>(x) * 4, &value, sizeof value);
    }
  }
  return out;
}

// Level 0 is the bitmap itself; level n is Impl::levels[n - 1], built from the level above when missing.
// When memory for a new level cannot be had, the smallest level there is stands in.
LevelView ViewOf(Bitmap::Impl& bitmap, int& level) {
  std::vector<BitmapLevel>& levels = bitmap.levels;
  try {
    while (static_cast<int>(levels.size()) < level) {
      const LevelView parent =
          levels.empty() ? LevelView{bitmap.pixels, bitmap.width, bitmap.height}
                         : LevelView{levels.back().pixels, levels.back().width, levels.back().height};
      std::shared_ptr<const std::vector<uint8_t>> pixels = Halve(parent);
      const uint8_t* first = pixels->data();
      levels.push_back(
          BitmapLevel{HalfLevelSide(parent.width), HalfLevelSide(parent.height), std::move(pixels), first});
    }
  } catch (const std::bad_alloc&) {
    level = static_cast<int>(levels.size());
  }
  if (level == 0) return {bitmap.pixels, bitmap.width, bitmap.height};
  const BitmapLevel& found = levels[static_cast<size_t>(level - 1)];
  return {found.pixels, found.width, found.height};
}

// Source rectangle in the bitmap's pixels, limited to the bitmap; the destination shrinks with it so the
// mapping between the two stays the caller's.
bool ClipSource(const Bitmap::Impl& bitmap, Rect& destination, Rect source, Rect& pixels) {
  const float toPixels = bitmap.dpi / 96.0f;
  if (source.width <= 0 || source.height <= 0) {
    pixels = Rect{0, 0, static_cast<float>(bitmap.width), static_cast<float>(bitmap.height)};
    return true;
  }
  const Rect wanted{source.x * toPixels, source.y * toPixels, source.width * toPixels,
                    source.height * toPixels};
  const float left = std::max(wanted.x, 0.0f);
  const float top = std::max(wanted.y, 0.0f);
  const float right = std::min(wanted.Right(), static_cast<float>(bitmap.width));
  const float bottom = std::min(wanted.Bottom(), static_cast<float>(bitmap.height));
  if (right <= left || bottom <= top) return false;
  const float sx = destination.width / wanted.width;
  const float sy = destination.height / wanted.height;
  destination = Rect{destination.x + (left - wanted.x) * sx, destination.y + (top - wanted.y) * sy,
                     (right - left) * sx, (bottom - top) * sy};
  pixels = Rect{left, top, right - left, bottom - top};
  return true;
}

// Above this many source pixels Cairo's GOOD filter costs tens of milliseconds per frame.
constexpr int64_t kMaxGoodFilterPixels = 1 << 20;

// Bilinear sampling from the pyramid level is clean and fast; high quality adds Cairo's GOOD filter for the
// remaining shrink only where the sampled region is small (thumbnails, icons), where it stays cheap.
cairo_filter_t FilterFor(Interpolation interpolation, float remainingScale, int64_t regionPixels) {
  switch (interpolation) {
    case Interpolation::NearestNeighbor:
      return CAIRO_FILTER_NEAREST;
    case Interpolation::HighQualityCubic:
      return remainingScale < 1 && regionPixels <= kMaxGoodFilterPixels ? CAIRO_FILTER_GOOD
                                                                        : CAIRO_FILTER_BILINEAR;
    case Interpolation::Linear:
      break;
  }
  return CAIRO_FILTER_BILINEAR;
}

struct Region {
  int32_t x0, y0, x1, y1;
  bool FitsCairo(int32_t levelWidth) const {
    const int32_t w = x1 - x0;
    const int32_t h = y1 - y0;
    // Pixman addresses rows with an int product of row and stride.
    return w <= kMaxSurfaceSide && h <= kMaxSurfaceSide &&
           static_cast<int64_t>(h) * levelWidth < static_cast<int64_t>(INT_MAX);
  }
};

// Whole pixels of a level covering the source, with one pixel of margin for the filter where there is one.
Region RegionOf(Rect source, int32_t width, int32_t height) {
  return Region{std::max(static_cast<int32_t>(std::floor(source.x)) - 1, 0),
                std::max(static_cast<int32_t>(std::floor(source.y)) - 1, 0),
                std::min(static_cast<int32_t>(std::ceil(source.Right())) + 1, width),
                std::min(static_cast<int32_t>(std::ceil(source.Bottom())) + 1, height)};
}

}  // namespace

namespace {

// Fills destination with the pattern at the opacity; aliased edges where asked.
void FillWithPattern(cairo_t* cr, cairo_pattern_t* pattern, Rect destination, float opacity, bool aliased) {
  cairo_save(cr);
  cairo_set_source(cr, pattern);
  if (aliased) cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_rectangle(cr, destination.x, destination.y, destination.width, destination.height);
  if (opacity >= 1) {
    cairo_fill(cr);
  } else {
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, opacity);
  }
  cairo_restore(cr);
}

// Bitmaps up to this size keep their last shrunk copy (a thumbnail is 256 × 256 at most).
constexpr int64_t kMaxScaledCopyPixels = 512 * 512;

// The shrunk copy for a device size, made once with the draw's filter from the pyramid level the draw
// samples.
std::vector<uint8_t>& ScaledCopy(Bitmap::Impl& bitmap, const LevelView& level, int32_t width, int32_t height,
                                 Interpolation interpolation) {
  if (bitmap.scaledWidth == width && bitmap.scaledHeight == height &&
      bitmap.scaledInterpolation == interpolation && !bitmap.scaledPixels.empty()) {
    return bitmap.scaledPixels;
  }
  bitmap.scaledPixels.assign(static_cast<size_t>(width) * height * 4, 0);
  bitmap.scaledWidth = width;
  bitmap.scaledHeight = height;
  bitmap.scaledInterpolation = interpolation;
  cairo_surface_t* target = cairo_image_surface_create_for_data(
      bitmap.scaledPixels.data(), CAIRO_FORMAT_ARGB32, width, height, width * 4);
  cairo_surface_t* source = cairo_image_surface_create_for_data(
      const_cast<uint8_t*>(level.pixels), CAIRO_FORMAT_ARGB32, level.width, level.height, level.width * 4);
  cairo_t* cr = cairo_create(target);
  cairo_scale(cr, static_cast<double>(width) / level.width, static_cast<double>(height) / level.height);
  cairo_set_source_surface(cr, source, 0, 0);
  const float scale = static_cast<float>(width) / static_cast<float>(level.width);
  cairo_pattern_set_filter(cairo_get_source(cr),
                           FilterFor(interpolation, scale, static_cast<int64_t>(level.width) * level.height));
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(source);
  cairo_surface_flush(target);
  cairo_surface_destroy(target);
  return bitmap.scaledPixels;
}

// A whole small bitmap shrunk on an unrotated canvas: drawn from its shrunk copy, one copy pixel per device
// pixel, instead of filtering it again at every draw. False when the draw is not of that kind.
bool DrawFromScaledCopy(cairo_t* cr, Bitmap::Impl& bitmap, Rect destination, Rect pixels,
                        const cairo_matrix_t& ctm, float opacity, Interpolation interpolation) {
  if (interpolation == Interpolation::NearestNeighbor || ctm.xy != 0 || ctm.yx != 0 || ctm.xx <= 0 ||
      ctm.yy <= 0 ||
      pixels != Rect{0, 0, static_cast<float>(bitmap.width), static_cast<float>(bitmap.height)} ||
      static_cast<int64_t>(bitmap.width) * bitmap.height > kMaxScaledCopyPixels) {
    return false;
  }
  const auto width = static_cast<int32_t>(std::lround(destination.width * ctm.xx));
  const auto height = static_cast<int32_t>(std::lround(destination.height * ctm.yy));
  if (width < 1 || height < 1 || width >= bitmap.width || height >= bitmap.height) return false;
  int level = PyramidLevelFor(static_cast<float>(width) / static_cast<float>(bitmap.width), bitmap.width,
                              bitmap.height);
  const LevelView view = ViewOf(bitmap, level);
  if (view.pixels == nullptr) return false;
  std::vector<uint8_t>& copy = ScaledCopy(bitmap, view, width, height, interpolation);
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(copy.data(), CAIRO_FORMAT_ARGB32, width, height, width * 4);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
  cairo_matrix_t toCopy;
  cairo_matrix_init_scale(&toCopy, width / destination.width, height / destination.height);
  cairo_matrix_translate(&toCopy, -destination.x, -destination.y);
  cairo_pattern_set_matrix(pattern, &toCopy);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  FillWithPattern(cr, pattern, destination, opacity, true);
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(surface);
  return true;
}

}  // namespace

int PyramidLevelFor(float devicePixelsPerSourcePixel, int32_t width, int32_t height) {
  int level = 0;
  float scale = devicePixelsPerSourcePixel;
  while (scale * 2 <= 1 && (width > 1 || height > 1)) {
    scale *= 2;
    width = HalfLevelSide(width);
    height = HalfLevelSide(height);
    ++level;
  }
  return level;
}

void DrawBitmapScaled(cairo_t* cr, Bitmap::Impl& bitmap, Rect destination, Rect source, float opacity,
                      Interpolation interpolation) {
  Rect pixels;
  if (bitmap.pixels == nullptr || !ClipSource(bitmap, destination, source, pixels)) return;

  cairo_matrix_t ctm;
  cairo_get_matrix(cr, &ctm);
  if (DrawFromScaledCopy(cr, bitmap, destination, pixels, ctm, opacity, interpolation)) return;
  const float perPixelX = static_cast<float>(std::hypot(ctm.xx, ctm.yx)) * destination.width / pixels.width;
  const float perPixelY = static_cast<float>(std::hypot(ctm.xy, ctm.yy)) * destination.height / pixels.height;
  const float devicePerPixel = std::max(perPixelX, perPixelY);
  int level = interpolation == Interpolation::NearestNeighbor
                  ? 0
                  : PyramidLevelFor(devicePerPixel, bitmap.width, bitmap.height);

  LevelView view{};
  Rect levelSource;
  Region region{};
  while (true) {
    const int wanted = level;
    view = ViewOf(bitmap, level);
    const float sx = static_cast<float>(view.width) / static_cast<float>(bitmap.width);
    const float sy = static_cast<float>(view.height) / static_cast<float>(bitmap.height);
    levelSource = Rect{pixels.x * sx, pixels.y * sy, pixels.width * sx, pixels.height * sy};
    region = RegionOf(levelSource, view.width, view.height);
    if (region.FitsCairo(view.width) || (view.width == 1 && view.height == 1)) break;
    if (level < wanted) return;  // too large for Cairo, and no smaller level could be made
    ++level;
  }

  const int stride = view.width * 4;
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      const_cast<uint8_t*>(view.pixels) + (static_cast<size_t>(region.y0) * static_cast<size_t>(view.width) +
                                           static_cast<size_t>(region.x0)) *
                                              4,
      CAIRO_FORMAT_ARGB32, region.x1 - region.x0, region.y1 - region.y0, stride);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return;
  }
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
  cairo_matrix_t toRegion;
  cairo_matrix_init_translate(&toRegion, levelSource.x - static_cast<float>(region.x0),
                              levelSource.y - static_cast<float>(region.y0));
  cairo_matrix_scale(&toRegion, levelSource.width / destination.width,
                     levelSource.height / destination.height);
  cairo_matrix_translate(&toRegion, -destination.x, -destination.y);
  cairo_pattern_set_matrix(pattern, &toRegion);
  const float remainingScale =
      devicePerPixel * static_cast<float>(bitmap.width) / static_cast<float>(view.width);
  const int64_t regionPixels = static_cast<int64_t>(region.x1 - region.x0) * (region.y1 - region.y0);
  cairo_pattern_set_filter(pattern, FilterFor(interpolation, remainingScale, regionPixels));
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);

  // Pictures arrive in tiles: with axis-aligned edges each device pixel goes wholly to one tile, so
  // neighbouring tiles meet without a seam. Rotated pictures keep smooth edges.
  FillWithPattern(cr, pattern, destination, opacity,
                  (ctm.xy == 0 && ctm.yx == 0) || (ctm.xx == 0 && ctm.yy == 0));
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(surface);
}

}  // namespace Quarlo::Widget::Detail
