// Arbitrary bytes as an EXIF block and as an ICC profile: the metadata reader, the profile
// description walk and lcms's profile parser must take anything. Status: what took the bytes, joined
// by "+" ("exif", "desc" for a profile description, "rgb" and "gray" for colour transforms), or
// "none".

#include "core/picture_metadata.h"
#include "platform/imaging/colour.h"
#include "platform/imaging/exif.h"
#include "tests/fuzz/fuzz_targets.h"

namespace Quarlo::Fuzz {

namespace {

bool AnyExif(const Imaging::ExifValues& exif) {
  return !exif.make.empty() || !exif.model.empty() || !exif.lensModel.empty() || !exif.software.empty() ||
         !exif.dateTimeOriginal.empty() || exif.exposureTime || exif.fNumber || exif.focalLength ||
         exif.isoSpeed || exif.orientation || !exif.latitude.empty() || !exif.longitude.empty();
}

void Join(std::string& status, std::string_view part) {
  if (!status.empty()) status += "+";
  status += part;
}

}  // namespace

std::string PictureMetadataFuzz(FuzzInput input) {
  std::string status;
  const Imaging::ExifValues exif = Imaging::ReadExif(input);
  View::MetadataFromExif(exif);
  if (AnyExif(exif)) Join(status, "exif");
  if (!Imaging::ProfileDescription(input).empty()) Join(status, "desc");
  for (auto [model, name] :
       {std::pair{Imaging::SampleModel::Rgb, "rgb"}, std::pair{Imaging::SampleModel::Gray, "gray"}}) {
    if (auto transform = Imaging::ColourTransform::Create(input, model)) {
      uint8_t pixels[16] = {1, 2, 3, 4, 200, 100, 50, 255, 0, 0, 0, 0, 255, 255, 255, 128};
      transform->ApplyBgra(pixels, 4);
      Join(status, name);
    }
  }
  return status.empty() ? "none" : status;
}

}  // namespace Quarlo::Fuzz
