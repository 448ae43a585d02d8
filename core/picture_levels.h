#pragma once
// Halved copies of a decoded picture, made on the loader thread right after the decode and kept with the
// picture, so that a picture shown at half its size or less is drawn from a copy of about its shown
// size and showing it costs the user-interface thread no preparation.

#include <cstdint>
#include <vector>

#include "platform/imaging/pixel_memory.h"

namespace Quarlo::View {

struct LoadedPicture;

// One halved copy of a tile: half the size of the tile, or of the copy before it (each side
// floor(side / 2), at least 1), premultiplied BGRA with stride width × 4.
struct PictureLevel {
  int32_t width = 0, height = 0;
  Imaging::PixelBuffer pixels;
};

// Still pictures with a side of at least this many pixels get their copies on the loader thread: they
// are shown at half size or less in any window up to 1024 DIPs. Smaller pictures are halved by the
// canvas on the first draw that needs it, in about a millisecond, and only in small windows.
constexpr int32_t kLevelsMinSide = 2048;
// Copies end with the last one whose longer side reaches this; the canvas makes smaller ones itself on
// first need, at a cost too small to notice.
constexpr int32_t kSmallestLevelSide = 256;

// The halved copies of one tile, largest first, down to kSmallestLevelSide. A given copy of exactly the
// size of one of them stands in for it, and the smaller ones are halved from it. Throws std::bad_alloc.
std::vector<PictureLevel> BuildLevels(const Imaging::PixelBytes& pixels, int32_t width, int32_t height,
                                      const PictureLevel& given = {});

// Gives every tile of a decoded still picture with a side of at least kLevelsMinSide its copies; run
// by the decode pipeline before the picture is published. Animation frames get none: one set per
// frame would add a third to a frame budget that is already capped, and animations are rarely shown
// at half size; the canvas halves a frame on its first shrunk draw and keeps the copy while the
// picture is shown. When memory runs short the picture simply goes without copies.
// preview (may be null) is this picture's preview still on screen: where its pixels have the size of
// one of the copies they become that copy, so the picture takes no memory beside them while both exist.
void AddLevels(LoadedPicture& picture, const LoadedPicture* preview = nullptr) noexcept;

// The bytes of every copy the picture holds, charged to the picture cache beside its frames.
uint64_t LevelBytes(const LoadedPicture& picture);

}  // namespace Quarlo::View
