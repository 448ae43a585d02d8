// Picture bytes from the clipboard: decoding must never crash, and whatever decodes must encode and
// decode again to the same size. Status: "Empty", or the size as "<width>x<height>".

#include "tests/fuzz/fuzz_targets.h"
#include "widget/pixel_image.h"

std::string Quarlo::Fuzz::ClipboardImageFuzz(FuzzInput input) {
  using namespace Quarlo::Widget;
  const PixelImage image = DecodeImage(input);
  if (image.Empty()) return "Empty";
  if (image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4)
    Violated("a decoded clipboard picture's buffer does not match its size");
  const PixelImage again = DecodeImage(EncodeImage(image, ImageOptions{}));
  if (again.width != image.width || again.height != image.height)
    Violated("a clipboard picture changed size through encoding");
  return std::to_string(image.width) + "x" + std::to_string(image.height);
}
