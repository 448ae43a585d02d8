// The portable parts of the drawing records: matrices, path building and bitmap handles.

#include "widget/canvas.h"

#include <cmath>
#include <numbers>

namespace Quarlo::Widget {

Matrix Matrix::Scaling(float sx, float sy, Point centre) {
  return Matrix{sx, 0, 0, sy, centre.x - centre.x * sx, centre.y - centre.y * sy};
}

Matrix Matrix::Rotation(float degrees, Point centre) {
  const double radians = degrees * std::numbers::pi / 180.0;
  const auto c = static_cast<float>(std::cos(radians));
  const auto s = static_cast<float>(std::sin(radians));
  return Translation(-centre.x, -centre.y) * Matrix{c, s, -s, c, 0, 0} * Translation(centre.x, centre.y);
}

Matrix operator*(const Matrix& a, const Matrix& b) {
  return Matrix{a.m11 * b.m11 + a.m12 * b.m21,      a.m11 * b.m12 + a.m12 * b.m22,
                a.m21 * b.m11 + a.m22 * b.m21,      a.m21 * b.m12 + a.m22 * b.m22,
                a.dx * b.m11 + a.dy * b.m21 + b.dx, a.dx * b.m12 + a.dy * b.m22 + b.dy};
}

Path& Path::MoveTo(Point p) {
  commands.push_back({PathKind::MoveTo, {p}});
  return *this;
}

Path& Path::LineTo(Point p) {
  commands.push_back({PathKind::LineTo, {p}});
  return *this;
}

Path& Path::QuadraticTo(Point control, Point end) {
  commands.push_back({PathKind::QuadraticTo, {control, end}});
  return *this;
}

Path& Path::CubicTo(Point control1, Point control2, Point end) {
  commands.push_back({PathKind::CubicTo, {control1, control2, end}});
  return *this;
}

Path& Path::Close() {
  commands.push_back({PathKind::Close, {}});
  return *this;
}

namespace {

// Byte count of a width × height BGRA picture, or 0 when a side is not positive.
size_t PixelBytes(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return 0;
  return static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
}

}  // namespace

Bitmap Bitmap::FromPixels(int32_t width, int32_t height, const std::vector<uint8_t>& pixels, float dpi) {
  const size_t bytes = PixelBytes(width, height);
  if (bytes == 0 || pixels.size() < bytes) return {};
  Bitmap bitmap;
  bitmap.impl_ = std::make_shared<Impl>();
  bitmap.impl_->width = width;
  bitmap.impl_->height = height;
  bitmap.impl_->dpi = dpi > 0 ? dpi : 96;
  bitmap.impl_->ownedPixels.assign(pixels.begin(), pixels.begin() + static_cast<std::ptrdiff_t>(bytes));
  bitmap.impl_->pixels = bitmap.impl_->ownedPixels.data();
  return bitmap;
}

Bitmap Bitmap::Wrap(int32_t width, int32_t height, std::shared_ptr<const void> owner, const uint8_t* pixels,
                    float dpi) {
  if (PixelBytes(width, height) == 0 || pixels == nullptr) return {};
  Bitmap bitmap;
  bitmap.impl_ = std::make_shared<Impl>();
  bitmap.impl_->width = width;
  bitmap.impl_->height = height;
  bitmap.impl_->dpi = dpi > 0 ? dpi : 96;
  bitmap.impl_->owner = std::move(owner);
  bitmap.impl_->pixels = pixels;
  return bitmap;
}

Bitmap Bitmap::WrapWithLevels(int32_t width, int32_t height, std::shared_ptr<const void> owner,
                              const uint8_t* pixels, std::vector<BitmapLevel> levels, float dpi) {
  Bitmap bitmap = Wrap(width, height, std::move(owner), pixels, dpi);
  if (!bitmap) return bitmap;
  int32_t parentWidth = width, parentHeight = height;
  size_t kept = 0;
  for (const BitmapLevel& level : levels) {
    if (level.pixels == nullptr || level.width != HalfLevelSide(parentWidth) ||
        level.height != HalfLevelSide(parentHeight))
      break;
    parentWidth = level.width;
    parentHeight = level.height;
    ++kept;
  }
  levels.resize(kept);
  bitmap.impl_->levels = std::move(levels);
  return bitmap;
}

}  // namespace Quarlo::Widget
