#include "core/loaded_picture.h"

namespace Quarlo::View {

DecodeOptions ThumbnailOptions(const DecodeOptions& options) {
  DecodeOptions thumbnail = options;
  thumbnail.frameBytesCap = 0;
  thumbnail.maxWidth = kThumbnailBox;
  thumbnail.maxHeight = kThumbnailBox;
  thumbnail.preview = false;
  thumbnail.shownPreview = nullptr;
  return thumbnail;
}

std::string_view LoadErrorName(LoadError error) {
  switch (error) {
    case LoadError::None:
      return "None";
    case LoadError::CannotRead:
      return "CannotRead";
    case LoadError::NoCodec:
      return "NoCodec";
    case LoadError::Damaged:
      return "Damaged";
    case LoadError::TooLarge:
      return "TooLarge";
    case LoadError::OutOfMemory:
      return "OutOfMemory";
    case LoadError::Encrypted:
      return "Encrypted";
  }
  return "Damaged";
}

}  // namespace Quarlo::View
