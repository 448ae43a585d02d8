#pragma once
// Reading the EXIF block a picture's container carries (JPEG APP1, PNG eXIf, WebP EXIF chunk, HEIF
// "Exif" item) with libexif. Only the values the picture metadata needs are taken.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace Quarlo::Imaging {

// The raw EXIF values the picture metadata is made from. Absent values stay empty or unset.
struct ExifValues {
  std::string make, model, lensModel, software, dateTimeOriginal;
  std::optional<double> exposureTime, fNumber, focalLength;
  std::optional<uint32_t> isoSpeed;
  std::optional<uint32_t> orientation;
  // GPS degrees, minutes, seconds as stored (empty when absent; missing trailing parts count as 0)
  // and the reference letters ("N"/"S", "E"/"W").
  std::vector<double> latitude, longitude;
  std::string latitudeRef, longitudeRef;
};

// Reads a TIFF-structured EXIF block (starting "II*\0" or "MM\0*"; an "Exif\0\0" prefix is skipped).
// Malformed blocks, bad offsets and unknown tags are ignored: whatever libexif can read stands.
ExifValues ReadExif(std::span<const uint8_t> block);

// The same for a whole TIFF file, whose first directory holds the tags (a copy of the file is made,
// so it is not bounded like an embedded block).
ExifValues ReadTiffFileExif(std::span<const uint8_t> file);

// The TIFF-structured part of an EXIF payload: drops an "Exif\0\0" prefix; empty when what remains
// does not start with a TIFF byte-order mark.
std::span<const uint8_t> TiffStructured(std::span<const uint8_t> payload);

}  // namespace Quarlo::Imaging
