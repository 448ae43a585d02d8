#include "platform/imaging/exif.h"

#include <libexif/exif-data.h>

#include <cstring>
#include <memory>

namespace Quarlo::Imaging {

namespace {

constexpr uint8_t kExifPrefix[6] = {'E', 'x', 'i', 'f', 0, 0};
// Larger blocks are not EXIF any camera writes; libexif would walk them all the same.
constexpr size_t kMaxExifBytes = 16 * 1024 * 1024;

constexpr ExifTag kTagMake = ExifTag(0x010F);
constexpr ExifTag kTagModel = ExifTag(0x0110);
constexpr ExifTag kTagSoftware = ExifTag(0x0131);
constexpr ExifTag kTagOrientation = ExifTag(0x0112);
constexpr ExifTag kTagDateTimeOriginal = ExifTag(0x9003);
constexpr ExifTag kTagExposureTime = ExifTag(0x829A);
constexpr ExifTag kTagFNumber = ExifTag(0x829D);
constexpr ExifTag kTagIsoSpeed = ExifTag(0x8827);
constexpr ExifTag kTagFocalLength = ExifTag(0x920A);
constexpr ExifTag kTagLensModel = ExifTag(0xA434);
constexpr ExifTag kTagGpsLatitudeRef = ExifTag(1);
constexpr ExifTag kTagGpsLatitude = ExifTag(2);
constexpr ExifTag kTagGpsLongitudeRef = ExifTag(3);
constexpr ExifTag kTagGpsLongitude = ExifTag(4);

struct ExifDataDeleter {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};

// An entry whose data holds at least its declared components of the expected format.
ExifEntry* Entry(ExifData* data, ExifIfd ifd, ExifTag tag) {
  ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
  if (!entry || !entry->data || entry->components == 0) return nullptr;
  uint64_t need = uint64_t(entry->components) * exif_format_get_size(entry->format);
  return need != 0 && entry->size >= need ? entry : nullptr;
}

std::string Text(ExifData* data, ExifIfd ifd, ExifTag tag) {
  ExifEntry* entry = Entry(data, ifd, tag);
  if (!entry || (entry->format != EXIF_FORMAT_ASCII && entry->format != EXIF_FORMAT_UNDEFINED)) return {};
  const char* text = reinterpret_cast<const char*>(entry->data);
  return std::string(text, strnlen(text, entry->size));
}

std::optional<double> Rational(ExifData* data, ExifEntry* entry, size_t index) {
  ExifByteOrder order = exif_data_get_byte_order(data);
  const unsigned char* at = entry->data + index * exif_format_get_size(entry->format);
  if (entry->format == EXIF_FORMAT_RATIONAL) {
    ExifRational r = exif_get_rational(at, order);
    if (r.denominator == 0) return std::nullopt;
    return double(r.numerator) / r.denominator;
  }
  if (entry->format == EXIF_FORMAT_SRATIONAL) {
    ExifSRational r = exif_get_srational(at, order);
    if (r.denominator == 0) return std::nullopt;
    return double(r.numerator) / r.denominator;
  }
  return std::nullopt;
}

std::optional<double> Number(ExifData* data, ExifIfd ifd, ExifTag tag) {
  ExifEntry* entry = Entry(data, ifd, tag);
  return entry ? Rational(data, entry, 0) : std::nullopt;
}

std::optional<uint32_t> Unsigned(ExifData* data, ExifIfd ifd, ExifTag tag) {
  ExifEntry* entry = Entry(data, ifd, tag);
  if (!entry) return std::nullopt;
  ExifByteOrder order = exif_data_get_byte_order(data);
  switch (entry->format) {
    case EXIF_FORMAT_SHORT:
      return exif_get_short(entry->data, order);
    case EXIF_FORMAT_LONG:
      return exif_get_long(entry->data, order);
    case EXIF_FORMAT_BYTE:
      return entry->data[0];
    default:
      return std::nullopt;
  }
}

std::vector<double> Coordinate(ExifData* data, ExifTag tag) {
  std::vector<double> parts;
  ExifEntry* entry = Entry(data, EXIF_IFD_GPS, tag);
  if (!entry) return parts;
  for (size_t i = 0; i < entry->components && i < 3; ++i) {
    std::optional<double> part = Rational(data, entry, i);
    if (!part) break;
    parts.push_back(*part);
  }
  return parts;
}

}  // namespace

std::span<const uint8_t> TiffStructured(std::span<const uint8_t> payload) {
  if (payload.size() >= 6 && std::memcmp(payload.data(), kExifPrefix, 6) == 0) payload = payload.subspan(6);
  if (payload.size() < 8) return {};
  bool intel = std::memcmp(payload.data(), "II*\0", 4) == 0;
  bool motorola = std::memcmp(payload.data(), "MM\0*", 4) == 0;
  return intel || motorola ? payload : std::span<const uint8_t>{};
}

ExifValues ReadExif(std::span<const uint8_t> block) {
  std::span<const uint8_t> tiff = TiffStructured(block);
  if (tiff.size() > kMaxExifBytes) return {};
  return ReadTiffFileExif(tiff);
}

ExifValues ReadTiffFileExif(std::span<const uint8_t> file) {
  ExifValues values;
  std::span<const uint8_t> tiff = TiffStructured(file);
  if (tiff.empty() || tiff.size() > UINT32_MAX - 6) return values;
  // libexif finds the block by its "Exif" prefix; without the fix-up option it changes nothing.
  std::vector<uint8_t> prefixed(kExifPrefix, kExifPrefix + 6);
  prefixed.insert(prefixed.end(), tiff.begin(), tiff.end());
  std::unique_ptr<ExifData, ExifDataDeleter> data(exif_data_new());
  if (!data) return values;
  exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  exif_data_load_data(data.get(), prefixed.data(), static_cast<unsigned int>(prefixed.size()));
  ExifData* d = data.get();

  values.make = Text(d, EXIF_IFD_0, kTagMake);
  values.model = Text(d, EXIF_IFD_0, kTagModel);
  values.software = Text(d, EXIF_IFD_0, kTagSoftware);
  values.lensModel = Text(d, EXIF_IFD_EXIF, kTagLensModel);
  values.dateTimeOriginal = Text(d, EXIF_IFD_EXIF, kTagDateTimeOriginal);
  values.exposureTime = Number(d, EXIF_IFD_EXIF, kTagExposureTime);
  values.fNumber = Number(d, EXIF_IFD_EXIF, kTagFNumber);
  values.focalLength = Number(d, EXIF_IFD_EXIF, kTagFocalLength);
  values.isoSpeed = Unsigned(d, EXIF_IFD_EXIF, kTagIsoSpeed);
  values.orientation = Unsigned(d, EXIF_IFD_0, kTagOrientation);
  values.latitude = Coordinate(d, kTagGpsLatitude);
  values.longitude = Coordinate(d, kTagGpsLongitude);
  values.latitudeRef = Text(d, EXIF_IFD_GPS, kTagGpsLatitudeRef);
  values.longitudeRef = Text(d, EXIF_IFD_GPS, kTagGpsLongitudeRef);
  return values;
}

}  // namespace Quarlo::Imaging
