#include "support/made_pictures.h"

#include <algorithm>
#include <memory>

namespace Quarlo::Test {

using View::LoadedPicture;
using View::PictureTile;
using View::PixelBytes;

namespace {

PixelBytes PaintFrame(const PictureSpec& made, size_t frame) {
  PixelBytes pixels(size_t(made.width) * size_t(made.height) * 4);
  for (int32_t y = 0; y < made.height; ++y) {
    for (int32_t x = 0; x < made.width; ++x) {
      uint8_t* p = pixels.data() + (size_t(y) * size_t(made.width) + size_t(x)) * 4;
      if (made.painter) {
        made.painter(x, y, frame, p);
      } else {
        p[0] = p[1] = p[2] = 128;
        p[3] = 255;
      }
    }
  }
  return pixels;
}

PixelBytes CopyRegion(const PixelBytes& frame, int32_t frameWidth, int32_t x, int32_t y, int32_t w,
                      int32_t h) {
  PixelBytes region(size_t(w) * size_t(h) * 4);
  for (int32_t row = 0; row < h; ++row) {
    const uint8_t* from = frame.data() + (size_t(y + row) * size_t(frameWidth) + size_t(x)) * 4;
    std::copy(from, from + size_t(w) * 4, region.data() + size_t(row) * size_t(w) * 4);
  }
  return region;
}

std::vector<PictureTile> Tiles(const PictureSpec& made, const View::PixelBuffer& frame) {
  if (made.tileSide <= 0) return {PictureTile{0, 0, made.width, made.height, frame, {}}};
  std::vector<PictureTile> tiles;
  for (int32_t y = 0; y < made.height; y += made.tileSide) {
    for (int32_t x = 0; x < made.width; x += made.tileSide) {
      const int32_t w = std::min(made.tileSide, made.width - x), h = std::min(made.tileSide, made.height - y);
      auto pixels = std::make_shared<const PixelBytes>(CopyRegion(*frame, made.width, x, y, w, h));
      tiles.push_back(PictureTile{x, y, w, h, std::move(pixels), {}});
    }
  }
  return tiles;
}

}  // namespace

View::PicturePtr MakePicture(const PictureSpec& made) {
  auto picture = std::make_shared<LoadedPicture>();
  picture->width = picture->sourceWidth = made.width;
  picture->height = picture->sourceHeight = made.height;
  picture->hasTransparency = made.transparent;
  picture->format = "Test";
  picture->bitsPerPixel = 32;
  for (size_t frame = 0; frame < made.delaysMs.size(); ++frame) {
    auto pixels = std::make_shared<const PixelBytes>(PaintFrame(made, frame));
    picture->frames.push_back({pixels, made.delaysMs[frame]});
    picture->tiles.push_back(Tiles(made, pixels));
  }
  if (made.levels) {
    for (PictureTile& tile : picture->tiles.front())
      tile.levels = View::BuildLevels(*tile.pixels, tile.width, tile.height);
  }
  picture->cost = View::kPictureOverheadCost + View::LevelBytes(*picture) +
                  uint64_t(picture->frames.size()) * uint64_t(made.width) * uint64_t(made.height) * 4;
  return picture;
}

View::PicturePtr MakePreview(int32_t width, int32_t height, int32_t divisor) {
  PictureSpec small;
  small.width = std::max(1, width / divisor);
  small.height = std::max(1, height / divisor);
  auto picture = std::make_shared<LoadedPicture>(*MakePicture(small));
  picture->preview = true;
  picture->width = picture->sourceWidth = width;
  picture->height = picture->sourceHeight = height;
  picture->frames.front().pixels = nullptr;
  PictureTile& tile = picture->tiles.front().front();
  tile.pixelWidth = small.width;
  tile.pixelHeight = small.height;
  tile.width = width;
  tile.height = height;
  return picture;
}

View::PicturePtr FailedPicture(View::LoadError error) {
  auto picture = std::make_shared<LoadedPicture>();
  picture->error = error;
  picture->cost = View::kPictureOverheadCost;
  return picture;
}

void PhotoPixel(int32_t x, int32_t y, int32_t width, int32_t height, uint8_t* bgra) {
  bgra[0] = uint8_t(x * 255 / std::max(width - 1, 1));
  bgra[1] = uint8_t(((x + y) & 1) != 0 ? 160 : 96);
  bgra[2] = uint8_t(y * 255 / std::max(height - 1, 1));
  bgra[3] = 255;
}

}  // namespace Quarlo::Test
