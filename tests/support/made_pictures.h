#pragma once
// Decoded pictures built in memory for the view tests and benchmarks, with the frames, tiles, halved
// copies and transparency flag a test needs, without going through a codec.

#include <cstdint>
#include <functional>
#include <vector>

#include "core/loaded_picture.h"

namespace Quarlo::Test {

// Writes the premultiplied BGRA pixel at (x, y) of a frame.
using PixelPainter = std::function<void(int32_t x, int32_t y, size_t frame, uint8_t* bgra)>;

struct PictureSpec {
  int32_t width = 1, height = 1;
  std::vector<uint32_t> delaysMs = {0};  // one frame per entry
  bool transparent = false;              // sets hasTransparency (the pixels are the painter's)
  int32_t tileSide = 0;                  // above 0: frames are cut into tiles of at most this side
  bool levels = false;                   // halved copies as the decode pipeline makes them
  PixelPainter painter;                  // none: opaque mid grey
};

View::PicturePtr MakePicture(const PictureSpec& made);

// A preview of a width × height picture, as the decode pipeline makes one: the full sizes, no frame
// buffer, and one tile over the whole picture whose mid-grey pixels are `divisor` times smaller.
View::PicturePtr MakePreview(int32_t width, int32_t height, int32_t divisor);

// A picture that failed to decode.
View::PicturePtr FailedPicture(View::LoadError error = View::LoadError::Damaged);

// Colour ramps (blue left to right, red top to bottom) under a one-pixel green checker: a shrunk
// draw must average the checker to an even 128, so aliasing and misplacement show at a glance.
void PhotoPixel(int32_t x, int32_t y, int32_t width, int32_t height, uint8_t* bgra);

}  // namespace Quarlo::Test
