#pragma once
// The thumbnail lane's decode step with the desktop's shared thumbnails: a picture of a folder takes its
// valid shared thumbnail instead of being decoded, and a freshly decoded thumbnail is shared for the next
// time (and for every other program that reads them). Archive entries have no file of their own and are
// always decoded.

#include <string>

#include "core/loaded_picture.h"
#include "core/picture_cache.h"

namespace Quarlo::View {

// The shared thumbnails folder of this run (test mode: only the test's XDG_CACHE_HOME), or empty.
std::string SharedThumbnailRootOfThisRun();

// A thumbnail of item: the shared one below root when it is valid for the file as it is now, else
// LoadPicture's thumbnail, which is then written below root. An empty root only decodes. A stale or
// damaged shared thumbnail is never shown; it is replaced.
PicturePtr LoadThumbnailShared(const PictureItem& item, ZipReader* reader, const DecodeOptions& options,
                               const std::string& root);

// The cache's decode step: LoadPicture for pictures, LoadThumbnailShared below root for thumbnails.
DecodeFunction DecodeWithSharedThumbnails(std::string root);

}  // namespace Quarlo::View
