#pragma once
// Halving a picture with a 2 × 2 box filter: the step that builds the pre-scaled copies pictures are
// drawn from when they are shown at half their size or less. Used by the decode pipeline (copies made
// on the loader thread beside the picture) and by the canvas (copies of other bitmaps, made on first
// draw), so that both give the same pixels.

#include <cstdint>

#include "platform/imaging/pixel_memory.h"

namespace Quarlo::Imaging {

// The side of a halved picture: floor(side / 2), at least 1.
constexpr uint32_t HalfSide(uint32_t side) { return side > 1 ? side / 2 : 1; }

// Halves a premultiplied BGRA picture (width × height, stride width × 4, both sides at least 1). Each
// output pixel is the rounded mean of a 2 × 2 block; an odd last row or column is left out, and a side
// of 1 stays 1. Throws std::bad_alloc when the result cannot be had.
PixelBytes HalvePixels(const uint8_t* pixels, uint32_t width, uint32_t height);

}  // namespace Quarlo::Imaging
