#pragma once
// Images moving through the clipboard and the encoder, and rendering into them without a window.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "widget/color.h"
#include "widget/geometry.h"

namespace Quarlo::Widget {

class Canvas;

// Premultiplied BGRA rows without padding.
struct PixelImage {
  uint32_t width = 0;
  uint32_t height = 0;
  float dpi = 96;
  std::vector<uint8_t> pixels;

  bool Empty() const { return width == 0 || height == 0 || pixels.empty(); }
};

enum class ImageFormat : int32_t { Png = 0, Jpeg = 1, Bmp = 2, Gif = 3 };

struct ImageOptions {
  ImageFormat format = ImageFormat::Png;
  int32_t quality = 90;  // JPEG only
};

// Encodes an image for the clipboard; empty on failure, for a size that does not match the pixels, and for
// the formats other than PNG, which the toolkit does not write (picture conversion has its own encoders).
std::vector<uint8_t> EncodeImage(const PixelImage& image, ImageOptions options);
// Decodes PNG bytes from the clipboard; an empty image (96 DPI) when they do not decode.
PixelImage DecodeImage(std::span<const uint8_t> bytes);

// Draws into an offscreen image of ceil(size × dpi / 96) pixels (at least 1 by 1) cleared to background
// (transparent when its alpha is 0). Used for window pictures and by tests. Empty when a side would exceed
// 32767 pixels.
PixelImage RenderToImage(Size size, float dpi, Color background, const std::function<void(Canvas&)>& draw);

}  // namespace Quarlo::Widget
