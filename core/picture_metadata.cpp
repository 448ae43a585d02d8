#include "core/picture_metadata.h"

#include <cmath>
#include <cstdio>

namespace Quarlo::View {

namespace {

// Cameras pad their text fields with spaces and zero bytes.
std::string TrimTrailing(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  return text;
}

std::string PositiveNumberText(const std::optional<double>& value, std::string_view prefix, int decimals,
                               std::string_view suffix) {
  if (!value || !(*value > 0) || !std::isfinite(*value)) return {};
  return std::string(prefix) + FormatDecimal(*value, decimals) + std::string(suffix);
}

std::string ExposureText(const std::optional<double>& seconds) {
  if (!seconds || !(*seconds > 0) || !std::isfinite(*seconds)) return {};
  if (*seconds < 1) return "1/" + FormatDecimal(1 / *seconds, 0) + " s";
  return FormatDecimal(*seconds, 1) + " s";
}

// Degrees + minutes / 60 + seconds / 3600, negated for the southern and western references.
double Coordinate(const std::vector<double>& parts, const std::string& ref) {
  double value = 0;
  const double divisors[] = {1, 60, 3600};
  for (size_t i = 0; i < parts.size() && i < 3; ++i) value += parts[i] / divisors[i];
  if (!ref.empty() && (ref[0] == 'S' || ref[0] == 'W' || ref[0] == 's' || ref[0] == 'w')) value = -value;
  return value;
}

}  // namespace

std::string FormatDecimal(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  std::string text = buffer;
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

PictureMetadata MetadataFromExif(const ExifValues& values) {
  PictureMetadata metadata;
  metadata.cameraMaker = TrimTrailing(values.make);
  metadata.cameraModel = TrimTrailing(values.model);
  metadata.lensModel = TrimTrailing(values.lensModel);
  metadata.software = TrimTrailing(values.software);
  metadata.dateTaken = TrimTrailing(values.dateTimeOriginal);
  metadata.exposure = ExposureText(values.exposureTime);
  metadata.fNumber = PositiveNumberText(values.fNumber, "f/", 1, "");
  metadata.focalLength = PositiveNumberText(values.focalLength, "", 1, " mm");
  if (values.isoSpeed && *values.isoSpeed != 0) metadata.isoSpeed = std::to_string(*values.isoSpeed);

  if (!values.latitude.empty() && !values.longitude.empty()) {
    metadata.latitude = Coordinate(values.latitude, values.latitudeRef);
    metadata.longitude = Coordinate(values.longitude, values.longitudeRef);
    bool valid = std::isfinite(metadata.latitude) && std::isfinite(metadata.longitude);
    metadata.latitudeValid = metadata.longitudeValid = valid;
    if (!valid) metadata.latitude = metadata.longitude = 0;
  }
  if (values.orientation && *values.orientation >= 1 && *values.orientation <= 8) {
    metadata.orientation = *values.orientation;
  }
  return metadata;
}

}  // namespace Quarlo::View
