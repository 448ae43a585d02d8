#pragma once
// Pixel helpers shared by the decoder backends and the decode pipeline. Every buffer here is BGRA,
// 8 bits per channel, rows top to bottom with stride = width × 4.

#include <cstdint>
#include <span>
#include <vector>

namespace Quarlo::Imaging {

// Multiplies the colour of count straight-alpha BGRA pixels by their alpha, in place.
void PremultiplyRow(uint8_t* bgra, uint32_t count);

// True when some alpha byte is below 255.
bool AnyAlphaBelowOpaque(std::span<const uint8_t> bgra);

// Scales a premultiplied picture down by area averaging (each output pixel is the mean of the source
// area it covers). Used for the thumbnail box after any cheaper reduction the decoder made. Target
// sizes are at least 1; throws std::bad_alloc when the buffers cannot be had.
std::vector<uint8_t> ScaleDown(std::span<const uint8_t> source, uint32_t width, uint32_t height,
                               uint32_t targetWidth, uint32_t targetHeight);

// Applies an EXIF orientation (2 to 8; other values copy) to a width × height picture. For 5 to 8
// the result is height × width. A source smaller than width × height × 4 yields an empty result.
std::vector<uint8_t> Orient(std::span<const uint8_t> source, uint32_t width, uint32_t height,
                            uint32_t orientation);

// Allocates a pixel buffer of width × height × 4 bytes; the size is checked for overflow first.
std::vector<uint8_t> AllocatePixels(uint32_t width, uint32_t height);

}  // namespace Quarlo::Imaging
