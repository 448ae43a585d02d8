#include "core/picture_levels.h"

#include <algorithm>
#include <new>

#include "core/loaded_picture.h"
#include "platform/imaging/pixel_halving.h"

namespace Quarlo::View {

std::vector<PictureLevel> BuildLevels(const Imaging::PixelBytes& pixels, int32_t width, int32_t height,
                                      const PictureLevel& given) {
  std::vector<PictureLevel> levels;
  const uint8_t* parent = pixels.data();
  uint32_t parentWidth = uint32_t(width), parentHeight = uint32_t(height);
  while (std::max(Imaging::HalfSide(parentWidth), Imaging::HalfSide(parentHeight)) >=
         uint32_t(kSmallestLevelSide)) {
    const uint32_t halfWidth = Imaging::HalfSide(parentWidth), halfHeight = Imaging::HalfSide(parentHeight);
    const bool fits = given.pixels && uint32_t(given.width) == halfWidth &&
                      uint32_t(given.height) == halfHeight &&
                      given.pixels->size() >= size_t(halfWidth) * halfHeight * 4;
    Imaging::PixelBuffer halved = fits ? given.pixels
                                       : std::make_shared<const Imaging::PixelBytes>(
                                             Imaging::HalvePixels(parent, parentWidth, parentHeight));
    parentWidth = halfWidth;
    parentHeight = halfHeight;
    parent = halved->data();
    levels.push_back({int32_t(parentWidth), int32_t(parentHeight), std::move(halved)});
  }
  return levels;
}

namespace {

// The preview's pixels as a copy of the whole picture, when the preview shows the same picture in one tile.
PictureLevel PreviewLevel(const LoadedPicture& picture, const LoadedPicture* preview) {
  if (!preview || !preview->preview || preview->width != picture.width || preview->height != picture.height ||
      preview->tiles.size() != 1 || preview->tiles.front().size() != 1)
    return {};
  const PictureTile& tile = preview->tiles.front().front();
  return {tile.PixelWidth(), tile.PixelHeight(), tile.pixels};
}

}  // namespace

void AddLevels(LoadedPicture& picture, const LoadedPicture* preview) noexcept {
  if (picture.error != LoadError::None || picture.preview || picture.frames.size() != 1 ||
      picture.tiles.size() != 1)
    return;
  if (std::max(picture.width, picture.height) < kLevelsMinSide) return;
  // A tiled picture's copies are per tile; the preview covers the whole picture.
  const PictureLevel given =
      picture.tiles.front().size() == 1 ? PreviewLevel(picture, preview) : PictureLevel{};
  try {
    for (PictureTile& tile : picture.tiles.front()) {
      if (tile.pixels && tile.pixels->size() >= size_t(tile.width) * size_t(tile.height) * 4)
        tile.levels = BuildLevels(*tile.pixels, tile.width, tile.height, given);
    }
  } catch (const std::bad_alloc&) {
    for (PictureTile& tile : picture.tiles.front()) tile.levels.clear();
  }
}

uint64_t LevelBytes(const LoadedPicture& picture) {
  uint64_t bytes = 0;
  for (const std::vector<PictureTile>& frame : picture.tiles) {
    for (const PictureTile& tile : frame) {
      for (const PictureLevel& level : tile.levels)
        bytes += uint64_t(level.width) * uint64_t(level.height) * 4;
    }
  }
  return bytes;
}

}  // namespace Quarlo::View
