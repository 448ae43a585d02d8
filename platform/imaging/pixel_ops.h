#pragma once
// Pixel helpers shared by the decoder backends and the decode pipeline. Every buffer here is BGRA,
// 8 bits per channel, rows top to bottom with stride = width × 4.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/imaging/pixel_memory.h"

namespace Quarlo::Imaging {

// Multiplies the colour of count straight-alpha BGRA pixels by their alpha, in place.
void PremultiplyRow(uint8_t* bgra, uint32_t count);

// True when some alpha byte is below 255.
bool AnyAlphaBelowOpaque(std::span<const uint8_t> bgra);

// Scales a premultiplied picture down by area averaging, one source row at a time, so that a
// decoder can reduce a picture to a thumbnail without ever holding it whole. Each output pixel is the
// mean of the source area it covers. Sizes are at least 1 and the target is not larger than the
// source; throws std::bad_alloc when its buffers cannot be had.
class RowScaler {
 public:
  RowScaler(uint32_t width, uint32_t height, uint32_t targetWidth, uint32_t targetHeight);
  ~RowScaler();

  // Takes the next source row (width × 4 bytes), top to bottom.
  void AddRow(const uint8_t* row);
  // The scaled picture once every row was added.
  PixelBytes Finish();

 private:
  struct Span {
    uint32_t first = 0;
    std::vector<uint32_t> weights;  // in 1/65536 of the output pixel, adding up to 65536
  };
  static std::vector<Span> AreaSpans(uint32_t sourceSize, uint32_t targetSize);

  uint32_t targetWidth_, targetHeight_;
  std::vector<Span> columns_, rows_;
  std::vector<uint32_t> narrow_;  // one source row reduced to the target width, 8 fraction bits
  std::vector<uint64_t> sums_;    // the whole target, weighted sums
  uint32_t nextRow_ = 0, firstOpenRow_ = 0;
};

// The whole-picture form of RowScaler, used for the thumbnail box after any cheaper reduction the
// decoder made.
PixelBytes ScaleDown(std::span<const uint8_t> source, uint32_t width, uint32_t height,
                               uint32_t targetWidth, uint32_t targetHeight);

// Applies an EXIF orientation (2 to 8; other values copy) to a width × height picture. For 5 to 8
// the result is height × width. A source smaller than width × height × 4 yields an empty result.
PixelBytes Orient(std::span<const uint8_t> source, uint32_t width, uint32_t height,
                            uint32_t orientation);

// Allocates a pixel buffer of width × height × 4 bytes, not cleared: the caller writes every byte.
// The size is checked for overflow first.
PixelBytes AllocatePixels(uint32_t width, uint32_t height);

}  // namespace Quarlo::Imaging
