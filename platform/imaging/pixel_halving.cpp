#include "platform/imaging/pixel_halving.h"

#include <algorithm>
#include <cstring>

namespace Quarlo::Imaging {

namespace {

// Two channels of a BGRA pixel in 16-bit lanes (blue and red, or green and alpha after a shift):
// the sum of four pixels plus the rounding term stays below 1024, so the lanes never carry into each
// other and four pixels average with plain 32-bit arithmetic.
constexpr uint32_t kLaneMask = 0x00FF00FF;
constexpr uint32_t kRounding = 0x00020002;

inline uint32_t Load(const uint8_t* at) {
  uint32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

inline uint32_t Average4(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  const uint32_t low = (a & kLaneMask) + (b & kLaneMask) + (c & kLaneMask) + (d & kLaneMask) + kRounding;
  const uint32_t high = ((a >> 8) & kLaneMask) + ((b >> 8) & kLaneMask) + ((c >> 8) & kLaneMask) +
                        ((d >> 8) & kLaneMask) + kRounding;
  return ((low >> 2) & kLaneMask) | (((high >> 2) & kLaneMask) << 8);
}

// One output row from two source rows; the loop body has no branches so that the compiler can run it
// on vector registers.
void HalveRow(const uint8_t* top, const uint8_t* bottom, uint32_t outWidth, uint8_t* out) {
  for (uint32_t x = 0; x < outWidth; ++x) {
    const size_t at = size_t(x) * 8;
    const uint32_t value =
        Average4(Load(top + at), Load(top + at + 4), Load(bottom + at), Load(bottom + at + 4));
    std::memcpy(out + size_t(x) * 4, &value, sizeof value);
  }
}

// A picture one pixel wide keeps its width: each output pixel averages a pixel with the one below.
void HalveColumn(const uint8_t* top, const uint8_t* bottom, uint8_t* out) {
  const uint32_t a = Load(top), c = Load(bottom);
  const uint32_t value = Average4(a, a, c, c);
  std::memcpy(out, &value, sizeof value);
}

}  // namespace

PixelBytes HalvePixels(const uint8_t* pixels, uint32_t width, uint32_t height) {
  const uint32_t outWidth = HalfSide(width), outHeight = HalfSide(height);
  PixelBytes out(size_t(outWidth) * outHeight * 4);
  const size_t stride = size_t(width) * 4;
  for (uint32_t y = 0; y < outHeight; ++y) {
    const uint8_t* top = pixels + size_t(std::min(2 * y, height - 1)) * stride;
    const uint8_t* bottom = pixels + size_t(std::min(2 * y + 1, height - 1)) * stride;
    uint8_t* row = out.data() + size_t(y) * outWidth * 4;
    if (width == 1) {
      HalveColumn(top, bottom, row);
    } else {
      HalveRow(top, bottom, outWidth, row);
    }
  }
  return out;
}

}  // namespace Quarlo::Imaging
