// The info panel's rows. Sizes and counts use the comma groups of the rest of the user interface and the
// location keeps six decimals, whatever the locale; the date modified follows the user's date format.

#include "app/info_rows.h"

#include <fmt/format.h>

#include "core/code_page.h"
#include "core/loaded_picture.h"
#include "core/paths.h"
#include "core/picture_list.h"
#include "core/strings.h"

namespace App {

using Quarlo::View::FormatText;
using Quarlo::View::FormatThousands;
using Quarlo::View::LoadedPicture;
using Quarlo::View::PictureItem;
using Quarlo::View::PictureList;
using Quarlo::View::PictureMetadata;

namespace {

constexpr int kPixelsText = 69;    // "{0} × {1} pixels"
constexpr int kBitsText = 72;      // "{0}-bit"
constexpr int kFramesText = 83;    // "{0}"
constexpr int kCutShortText = 84;  // "{0} (only as many as fit in memory)"
constexpr int kOrientedText = 87;  // "EXIF orientation {0} applied"
constexpr int kBytesText = 89;     // "{0} bytes"

// Names and camera texts are bytes as stored; what is not UTF-8 is shown as replacement characters.
class RowList {
 public:
  void Add(InfoCaption caption, const std::string& value) {
    if (value.empty()) return;
    const auto* bytes = reinterpret_cast<const uint8_t*>(value.data());
    rows_.push_back(InfoRow{caption, Quarlo::View::DecodeUtf8({bytes, value.size()})});
  }
  std::vector<InfoRow> Take() { return std::move(rows_); }

 private:
  std::vector<InfoRow> rows_;
};

// An archive entry is placed by the archive and its whole entry name, subfolders included.
std::string LocationText(const PictureList& list, const PictureItem& item) {
  if (list.kind == Quarlo::View::SourceKind::Archive) return Quarlo::View::JoinPath(list.location, item.name);
  return Quarlo::View::ParentOf(item.path);
}

bool IsUsable(const LoadedPicture* picture) {
  return picture && picture->error == Quarlo::View::LoadError::None && !picture->tiles.empty();
}

// "JPEG, 24-bit": the format name with the stored bit depth when the decoder knows it.
std::string FormatAndDepth(const LoadedPicture& picture) {
  if (picture.bitsPerPixel < 1) return picture.format;
  return picture.format + ", " + FormatText(kBitsText, {std::to_string(picture.bitsPerPixel)});
}

std::string GpsText(const PictureMetadata& metadata) {
  if (!metadata.latitudeValid || !metadata.longitudeValid) return {};
  return fmt::format("{:.6f}, {:.6f}", metadata.latitude, metadata.longitude);
}

std::string OrientationText(const PictureMetadata& metadata, bool applyOrientation) {
  if (metadata.orientation <= 1 || !applyOrientation) return {};
  return FormatText(kOrientedText, {std::to_string(metadata.orientation)});
}

std::string FramesText(const LoadedPicture& picture) {
  if (picture.frames.size() <= 1) return {};
  return FormatText(picture.framesTruncated ? kCutShortText : kFramesText,
                    {std::to_string(picture.frames.size())});
}

// The rows only a decoded picture can give, after the file's own facts.
void AddPictureRows(RowList& rows, const LoadedPicture& picture, bool applyOrientation) {
  const PictureMetadata& metadata = picture.metadata;
  rows.Add(InfoCaption::DateTaken, metadata.dateTaken);
  rows.Add(InfoCaption::Camera, CameraText(metadata.cameraMaker, metadata.cameraModel));
  rows.Add(InfoCaption::Lens, metadata.lensModel);
  rows.Add(InfoCaption::Exposure, ExposureText(metadata.exposure, metadata.fNumber, metadata.isoSpeed));
  rows.Add(InfoCaption::FocalLength, metadata.focalLength);
  rows.Add(InfoCaption::Software, metadata.software);
  rows.Add(InfoCaption::ColorProfile, metadata.colorProfile);
  rows.Add(InfoCaption::GpsLocation, GpsText(metadata));
  rows.Add(InfoCaption::Orientation, OrientationText(metadata, applyOrientation));
  rows.Add(InfoCaption::Frames, FramesText(picture));
}

}  // namespace

std::vector<InfoRow> InfoRowsFor(const PictureList& list, size_t index, const LoadedPicture* picture,
                                 bool applyOrientation) {
  if (index >= list.items.size()) return {};
  const PictureItem& item = list.items[index];
  const bool usable = IsUsable(picture);
  RowList rows;
  rows.Add(InfoCaption::FileName, Quarlo::View::FileNameOf(item.name));
  rows.Add(InfoCaption::Location, LocationText(list, item));
  if (usable) {
    rows.Add(InfoCaption::Dimensions,
             FormatText(kPixelsText, {FormatThousands(picture->width), FormatThousands(picture->height)}));
  }
  if (item.size != 0) rows.Add(InfoCaption::FileSize, FileSizeText(item.size));
  if (usable) rows.Add(InfoCaption::Format, FormatAndDepth(*picture));
  rows.Add(InfoCaption::DateModified, Quarlo::View::FormatDateTime(item.modified));
  if (usable) AddPictureRows(rows, *picture, applyOrientation);
  return rows.Take();
}

std::string CameraText(const std::string& maker, const std::string& model) {
  if (model.empty()) return maker;
  if (maker.empty() || model.starts_with(maker)) return model;
  return maker + " " + model;
}

std::string ExposureText(const std::string& exposure, const std::string& fNumber,
                         const std::string& isoSpeed) {
  std::string text;
  for (const std::string* part : {&exposure, &fNumber}) {
    if (part->empty()) continue;
    if (!text.empty()) text += ", ";
    text += *part;
  }
  if (!isoSpeed.empty()) text += (text.empty() ? "ISO " : ", ISO ") + isoSpeed;
  return text;
}

std::string FileSizeText(uint64_t bytes) {
  return Quarlo::View::FormatByteSize(bytes) + " (" + FormatText(kBytesText, {FormatThousands(bytes)}) + ")";
}

bool InfoPanelVisible(bool infoShown, bool listOpen, bool imageListShown) {
  return infoShown && listOpen && !imageListShown;
}

}  // namespace App
