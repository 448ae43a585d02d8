#include "core/shared_thumbnail_load.h"

#include <utility>

#include "core/env_switches.h"
#include "core/picture_list.h"
#include "platform/file_read.h"
#include "platform/thumbnails/shared_thumbnails.h"

namespace Quarlo::View {

namespace {

// The shared thumbnail at path, when it names this file as it is now and decodes whole.
PicturePtr ValidShared(const std::string& path, const Platform::ThumbnailStamp& wanted,
                       const PictureItem& item, const DecodeOptions& options) {
  const Platform::FileRead read = Platform::ReadWholeFile(path);
  if (!read.Ok()) return nullptr;
  const std::optional<Platform::ThumbnailStamp> stamp = Platform::ReadThumbnailStamp(read.bytes);
  if (!stamp || *stamp != wanted) return nullptr;
  PicturePtr picture = LoadPictureBytes(read.bytes, KeyOf(item), ThumbnailOptions(options));
  if (picture->error != LoadError::None || picture->width > kThumbnailBox ||
      picture->height > kThumbnailBox) {
    return nullptr;
  }
  return picture;
}

void Share(const std::string& path, const Platform::ThumbnailStamp& stamp, const LoadedPicture& picture) {
  if (picture.error != LoadError::None || picture.frames.empty() || !picture.frames.front().pixels) return;
  // A failed write only costs the next run a decode.
  Platform::WriteSharedThumbnail(path, stamp, picture.width, picture.height,
                                 picture.frames.front().pixels->data());
}

bool Inside(const std::string& path, const std::string& folder) {
  return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         path[folder.size()] == '/';
}

}  // namespace

std::string SharedThumbnailRootOfThisRun() {
  return Platform::SharedThumbnailRoot(!Env().settingsKey.empty());
}

PicturePtr LoadThumbnailShared(const PictureItem& item, ZipReader* reader, const DecodeOptions& options,
                               const std::string& root) {
  // Pictures inside the thumbnails folder itself are never given thumbnails of their own.
  if (reader || root.empty() || Inside(item.path, root)) return LoadPicture(item, reader, options, true);
  const std::optional<int64_t> modified = Platform::FileModifiedSeconds(item.path);
  const std::string uri = Platform::FileUri(item.path);
  if (!modified || uri.empty()) return LoadPicture(item, nullptr, options, true);
  const Platform::ThumbnailStamp stamp{uri, std::to_string(*modified)};
  const std::string path = Platform::LargeThumbnailPath(root, uri);
  if (PicturePtr shared = ValidShared(path, stamp, item, options)) return shared;
  PicturePtr decoded = LoadPicture(item, nullptr, options, true);
  Share(path, stamp, *decoded);
  return decoded;
}

DecodeFunction DecodeWithSharedThumbnails(std::string root) {
  return [root = std::move(root)](const PictureItem& item, ZipReader* reader, const DecodeOptions& options,
                                  bool thumbnail) {
    return thumbnail ? LoadThumbnailShared(item, reader, options, root)
                     : LoadPicture(item, reader, options, false);
  };
}

}  // namespace Quarlo::View
