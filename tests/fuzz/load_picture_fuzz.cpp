// Arbitrary bytes through the whole decode pipeline as the thumbnail lane calls it: the content picks
// the backend, then limits, scaling, orientation, transparency and tiling run on the result. Status:
// the LoadError's name, and for a picture its size, e.g. "None/256x192".

#include "core/loaded_picture.h"
#include "tests/fuzz/fuzz_targets.h"

std::string Quarlo::Fuzz::LoadPictureFuzz(FuzzInput input) {
  View::DecodeOptions options = View::ThumbnailOptions({});
  View::PicturePtr picture = View::LoadPictureBytes(input, "fuzz", options);
  std::string status(View::LoadErrorName(picture->error));
  if (picture->error != View::LoadError::None) return status;
  return status + "/" + std::to_string(picture->width) + "x" + std::to_string(picture->height);
}
