#pragma once
// The camera, exposure, date, location and orientation facts of a still picture, read from the EXIF
// block its container carries. Most values are kept as ready-made text for the info panel.

#include <cstdint>
#include <string>

#include "platform/imaging/exif.h"

namespace Quarlo::View {

using Imaging::ExifValues;

struct PictureMetadata {
  std::string cameraMaker;
  std::string cameraModel;
  std::string lensModel;
  std::string dateTaken;    // "YYYY:MM:DD HH:MM:SS", the EXIF layout
  std::string exposure;     // "1/250 s", "2.5 s"
  std::string fNumber;      // "f/2.8"
  std::string isoSpeed;     // "400"
  std::string focalLength;  // "50 mm"
  std::string software;
  double latitude = 0;
  bool latitudeValid = false;  // the two location flags are both set or both clear
  double longitude = 0;
  bool longitudeValid = false;
  uint32_t orientation = 1;  // EXIF orientation, 1 to 8
  std::string colorProfile;  // the embedded ICC profile's description
};

// Formats with "%.*f", then drops trailing zeros and a trailing dot when there is a fraction:
// (2.0, 1) -> "2", (2.8, 1) -> "2.8", (250.0, 0) -> "250".
std::string FormatDecimal(double value, int decimals);

// Turns raw EXIF values into the record (the colour profile name is left empty; the pipeline sets it).
PictureMetadata MetadataFromExif(const ExifValues& values);

}  // namespace Quarlo::View
