// Picture bytes from the clipboard: decoding must never crash, and whatever decodes must encode and decode
// again to the same size.

#include <cstddef>
#include <cstdint>
#include <span>

#include "widget/pixel_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Quarlo::Widget;
  const PixelImage image = DecodeImage(std::span<const uint8_t>(data, size));
  if (image.Empty()) return 0;
  if (image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4) __builtin_trap();
  const PixelImage again = DecodeImage(EncodeImage(image, ImageOptions{}));
  if (again.width != image.width || again.height != image.height) __builtin_trap();
  return 0;
}
