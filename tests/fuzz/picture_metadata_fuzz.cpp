// Arbitrary bytes as an EXIF block and as an ICC profile: the metadata reader, the profile
// description walk and lcms's profile parser must take anything.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/picture_metadata.h"
#include "platform/imaging/colour.h"
#include "platform/imaging/exif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  Quarlo::View::MetadataFromExif(Quarlo::Imaging::ReadExif(bytes));
  Quarlo::Imaging::ProfileDescription(bytes);
  for (auto model : {Quarlo::Imaging::SampleModel::Rgb, Quarlo::Imaging::SampleModel::Gray}) {
    if (auto transform = Quarlo::Imaging::ColourTransform::Create(bytes, model)) {
      uint8_t pixels[16] = {1, 2, 3, 4, 200, 100, 50, 255, 0, 0, 0, 0, 255, 255, 255, 128};
      transform->ApplyBgra(pixels, 4);
    }
  }
  return 0;
}
