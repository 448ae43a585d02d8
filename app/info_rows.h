#pragma once
// What the info panel says about one picture: its rows as caption ids with ready texts, in the order
// the panel shows them. Pure functions of the list item and the decoded picture, so that every row and
// text can be checked without widgets.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Quarlo::View {
struct LoadedPicture;
struct PictureList;
}  // namespace Quarlo::View

namespace App {

// String ids of the row captions.
enum class InfoCaption : int {
  FileName = 66,
  Location = 67,
  Dimensions = 68,
  FileSize = 70,
  Format = 71,
  DateModified = 73,
  DateTaken = 74,
  Camera = 75,
  Lens = 76,
  Exposure = 77,
  FocalLength = 78,
  Software = 79,
  ColorProfile = 80,
  GpsLocation = 81,
  Frames = 82,
  Orientation = 86,
};

struct InfoRow {
  InfoCaption caption;
  std::string value;  // never empty: a fact without a value gets no row; always UTF-8

  bool operator==(const InfoRow&) const = default;
};

// The rows for item index of list. picture is the decoded picture or null while it is not decoded; the
// rows that need pixels or metadata appear only for one that decoded (no error, at least one tile).
// applyOrientation is the ApplyOrientation setting. An index outside the list gives none.
std::vector<InfoRow> InfoRowsFor(const Quarlo::View::PictureList& list, size_t index,
                                 const Quarlo::View::LoadedPicture* picture, bool applyOrientation);

// The camera row: maker and model, the model alone when it already starts with the maker.
std::string CameraText(const std::string& maker, const std::string& model);

// The exposure row: time, f-number and ISO joined by ", " ("1/250 s, f/2.8, ISO 100").
std::string ExposureText(const std::string& exposure, const std::string& fNumber,
                         const std::string& isoSpeed);

// The file size row: the short size with the exact byte count ("1.5 KB (1,536 bytes)").
std::string FileSizeText(uint64_t bytes);

// The panel is on screen while it is switched on, a list is open and the image list does not cover the
// picture area.
bool InfoPanelVisible(bool infoShown, bool listOpen, bool imageListShown);

}  // namespace App
