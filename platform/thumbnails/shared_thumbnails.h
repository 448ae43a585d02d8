#pragma once
// The desktop's shared thumbnails (the freedesktop Thumbnail Managing Standard): a picture's 256-pixel
// thumbnail lives in <cache>/thumbnails/large/<MD5 of its file URI>.png, and names its picture in the PNG
// text chunks Thumb::URI and Thumb::MTime. A thumbnail is valid only while both still match the picture;
// every other program that follows the standard reads and writes the same files.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace Quarlo::Platform {

// Thumbnails of the "large" size have at most this many pixels per side.
inline constexpr int32_t kLargeThumbnailSide = 256;

// The thumbnails folder: $XDG_CACHE_HOME/thumbnails, else (outside test mode) $HOME/.cache/thumbnails;
// empty when there is none to use. In test mode only the test's own XDG_CACHE_HOME counts, so that tests
// never touch the user's cache.
std::string SharedThumbnailRoot(bool testMode);

// "file://" and the absolute path, percent-encoded as the standard asks; empty for a relative path.
std::string FileUri(const std::string& absolutePath);

// Where the large thumbnail of the file with this URI lives below root.
std::string LargeThumbnailPath(const std::string& root, const std::string& uri);

// The file's modification time in whole seconds since 1970, as Thumb::MTime states it.
std::optional<int64_t> FileModifiedSeconds(const std::string& path);

// What a thumbnail says about its picture.
struct ThumbnailStamp {
  std::string uri;    // Thumb::URI
  std::string mtime;  // Thumb::MTime, decimal seconds
  friend bool operator==(const ThumbnailStamp&, const ThumbnailStamp&) = default;
};

// The stamp of a PNG thumbnail's bytes (text chunks before the image data); nothing when the bytes are
// not a PNG, are damaged before the image data, or carry no Thumb::URI or Thumb::MTime.
std::optional<ThumbnailStamp> ReadThumbnailStamp(std::span<const uint8_t> png);

// Writes a thumbnail from premultiplied BGRA pixels (stride width × 4, each side at most
// kLargeThumbnailSide) to path, with the stamp: through a temporary file of mode 0600 in the same folder
// that is renamed over path, so that a reader never sees half a file. The folders are created with mode
// 0700. False when anything failed; no temporary file is left behind.
bool WriteSharedThumbnail(const std::string& path, const ThumbnailStamp& stamp, int32_t width, int32_t height,
                          const uint8_t* premultipliedBgra);

}  // namespace Quarlo::Platform
