#pragma once
// The decode columns of quarloview-inspect: what the viewer (or its thumbnail lane) makes of one
// picture, for scripted checks and for users wondering why a file does not open.

#include <string>

namespace Quarlo::View {
struct PictureItem;
class ZipReader;
}  // namespace Quarlo::View

namespace App {

// Decodes the item as the viewer would (thumbnail: as the image list would) and returns the columns
// appended to its line, each after a tab: width, height, frame count, format, bits per pixel,
// transparency (0/1), EXIF orientation, LoadError number and the decode time in milliseconds.
std::string DecodeColumns(const Quarlo::View::PictureItem& item, Quarlo::View::ZipReader* reader,
                          bool thumbnail);

}  // namespace App
