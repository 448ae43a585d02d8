// Arbitrary bytes through the whole decode pipeline as the thumbnail lane calls it: the content
// picks the backend, then limits, scaling, orientation, transparency and tiling run on the result.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/loaded_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Quarlo::View::DecodeOptions options = Quarlo::View::ThumbnailOptions({});
  Quarlo::View::LoadPictureBytes(std::span<const uint8_t>(data, size), "fuzz", options);
  return 0;
}
