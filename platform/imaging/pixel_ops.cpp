#include "platform/imaging/pixel_ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace Quarlo::Imaging {

namespace {

// x × a / 255 rounded to nearest, without a division.
inline uint8_t MulDiv255(uint32_t x, uint32_t a) {
  uint32_t t = x * a + 128;
  return static_cast<uint8_t>((t + (t >> 8)) >> 8);
}

}  // namespace

PixelBytes AllocatePixels(uint32_t width, uint32_t height) {
  uint64_t bytes = uint64_t(width) * height * 4;
  if (bytes > SIZE_MAX / 2) throw std::bad_alloc();
  return PixelBytes(static_cast<size_t>(bytes));
}

void PremultiplyRow(uint8_t* bgra, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i, bgra += 4) {
    uint32_t a = bgra[3];
    if (a == 255) continue;
    bgra[0] = MulDiv255(bgra[0], a);
    bgra[1] = MulDiv255(bgra[1], a);
    bgra[2] = MulDiv255(bgra[2], a);
  }
}

bool AnyAlphaBelowOpaque(std::span<const uint8_t> bgra) {
  for (size_t i = 3; i < bgra.size(); i += 4) {
    if (bgra[i] != 255) return true;
  }
  return false;
}

std::vector<RowScaler::Span> RowScaler::AreaSpans(uint32_t sourceSize, uint32_t targetSize) {
  std::vector<Span> spans(targetSize);
  const double scale = double(sourceSize) / targetSize;
  for (uint32_t i = 0; i < targetSize; ++i) {
    double begin = i * scale, end = std::min<double>((i + 1) * scale, sourceSize);
    uint32_t first = static_cast<uint32_t>(begin);
    uint32_t last = std::min<uint32_t>(static_cast<uint32_t>(std::ceil(end)) - 1, sourceSize - 1);
    Span& span = spans[i];
    span.first = first;
    uint32_t total = 0;
    for (uint32_t s = first; s <= last; ++s) {
      double covered = std::min<double>(s + 1, end) - std::max<double>(s, begin);
      uint32_t weight = static_cast<uint32_t>(covered / (end - begin) * 65536.0 + 0.5);
      span.weights.push_back(weight);
      total += weight;
    }
    // Rounding may leave the sum a little off; the largest weight takes the difference.
    auto largest = std::max_element(span.weights.begin(), span.weights.end());
    *largest += 65536 - total;
  }
  return spans;
}

RowScaler::RowScaler(uint32_t width, uint32_t height, uint32_t targetWidth, uint32_t targetHeight)
    : targetWidth_(targetWidth),
      targetHeight_(targetHeight),
      columns_(AreaSpans(width, targetWidth)),
      rows_(AreaSpans(height, targetHeight)),
      narrow_(size_t(targetWidth) * 4),
      sums_(size_t(targetWidth) * targetHeight * 4) {}

RowScaler::~RowScaler() = default;

void RowScaler::AddRow(const uint8_t* row) {
  const uint32_t y = nextRow_++;
  uint32_t* out = narrow_.data();
  for (uint32_t x = 0; x < targetWidth_; ++x, out += 4) {
    const Span& span = columns_[x];
    uint32_t sum[4] = {0, 0, 0, 0};
    const uint8_t* p = row + size_t(span.first) * 4;
    for (uint32_t w : span.weights) {
      for (int c = 0; c < 4; ++c) sum[c] += p[c] * w;
      p += 4;
    }
    for (int c = 0; c < 4; ++c) out[c] = (sum[c] + 128) >> 8;  // 8 fraction bits kept
  }
  // A source row falls into at most a few consecutive output rows; earlier ones are complete.
  while (firstOpenRow_ < targetHeight_ &&
         rows_[firstOpenRow_].first + rows_[firstOpenRow_].weights.size() <= y) {
    ++firstOpenRow_;
  }
  for (uint32_t i = firstOpenRow_; i < targetHeight_ && rows_[i].first <= y; ++i) {
    const uint32_t weight = rows_[i].weights[y - rows_[i].first];
    uint64_t* sums = sums_.data() + size_t(i) * targetWidth_ * 4;
    for (size_t k = 0; k < size_t(targetWidth_) * 4; ++k) sums[k] += uint64_t(narrow_[k]) * weight;
  }
}

PixelBytes RowScaler::Finish() {
  PixelBytes result = AllocatePixels(targetWidth_, targetHeight_);
  for (size_t i = 0; i < result.size(); ++i) {
    result[i] = static_cast<uint8_t>(std::min<uint64_t>((sums_[i] + (1u << 23)) >> 24, 255));
  }
  return result;
}

PixelBytes ScaleDown(std::span<const uint8_t> source, uint32_t width, uint32_t height,
                               uint32_t targetWidth, uint32_t targetHeight) {
  RowScaler scaler(width, height, targetWidth, targetHeight);
  for (uint32_t y = 0; y < height; ++y) scaler.AddRow(source.data() + size_t(y) * width * 4);
  return scaler.Finish();
}

PixelBytes Orient(std::span<const uint8_t> source, uint32_t width, uint32_t height,
                            uint32_t orientation) {
  const uint64_t pixels = uint64_t(width) * height;
  if (source.size() < pixels * 4) return {};
  if (orientation < 2 || orientation > 8)
    return PixelBytes(source.begin(), source.begin() + pixels * 4);
  const bool turned = orientation >= 5;
  const uint32_t outWidth = turned ? height : width;
  const uint32_t outHeight = turned ? width : height;
  PixelBytes result = AllocatePixels(outWidth, outHeight);
  // Each output row walks the input along a straight line: a start pixel and a fixed step.
  const int64_t W = width, H = height;
  for (uint32_t row = 0; row < outHeight; ++row) {
    int64_t base = 0, step = 0;
    switch (orientation) {
      case 2:
        base = row * W + W - 1;
        step = -1;
        break;
      case 3:
        base = (H - 1 - row) * W + W - 1;
        step = -1;
        break;
      case 4:
        base = (H - 1 - row) * W;
        step = 1;
        break;
      case 5:
        base = row;
        step = W;
        break;
      case 6:
        base = (H - 1) * W + row;
        step = -W;
        break;
      case 7:
        base = (H - 1) * W + W - 1 - row;
        step = -W;
        break;
      case 8:
        base = W - 1 - row;
        step = W;
        break;
    }
    uint8_t* out = result.data() + size_t(row) * outWidth * 4;
    for (uint32_t column = 0; column < outWidth; ++column, base += step) {
      std::memcpy(out + size_t(column) * 4, source.data() + base * 4, 4);
    }
  }
  return result;
}

}  // namespace Quarlo::Imaging
