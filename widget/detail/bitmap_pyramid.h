#pragma once
// Drawing pictures of any size quickly: a bitmap keeps a pyramid of halved copies (given with the bitmap
// by the code that decoded it, else built here once on first need), and a scaled draw samples bilinearly
// from the smallest level that is still at least as large as the destination. Only the part of a level that
// the source rectangle covers is handed to Cairo, so pictures wider or taller than Cairo's 32767-pixel limit
// draw too.

#include <cairo.h>

#include <cstdint>

#include "widget/canvas.h"

namespace Quarlo::Widget::Detail {

// The pyramid level a draw uses: 0 (the bitmap) when not scaling down by 2 or more, else the level whose
// size is the smallest still covering `devicePixelsPerSourcePixel` of the source.
int PyramidLevelFor(float devicePixelsPerSourcePixel, int32_t width, int32_t height);

// Draws source (DIPs of the bitmap at its dpi; empty: all) into destination with the current transform and
// clip.
void DrawBitmapScaled(cairo_t* cr, Bitmap::Impl& bitmap, Rect destination, Rect source, float opacity,
                      Interpolation interpolation);

}  // namespace Quarlo::Widget::Detail
