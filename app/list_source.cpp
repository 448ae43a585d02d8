#include "app/list_source.h"

#include <algorithm>

#include "core/paths.h"
#include "core/picture_cache.h"
#include "core/picture_list.h"

namespace App {

using Quarlo::Widget::Bitmap;

ListSource::ListSource(const Quarlo::View::PictureList& list,
                       const std::unique_ptr<Quarlo::View::PictureCache>& cache)
    : list_(list), cache_(cache) {}

int64_t ListSource::Count() { return static_cast<int64_t>(list_.items.size()); }

std::string_view ListSource::Title(int64_t index) {
  if (index < 0 || index >= Count()) {
    labelText_.clear();
  } else {
    // An archive entry inside a subfolder is labelled with its own file name.
    labelText_ = Quarlo::View::FileNameOf(list_.items[static_cast<size_t>(index)].name);
  }
  return labelText_;
}

Bitmap ListSource::Thumbnail(int64_t index, int, int) {
  if (auto found = bitmaps_.find(index); found != bitmaps_.end()) return found->second;
  if (index < 0 || !cache_) return {};
  // Nothing is stored while the thumbnail is missing: the view asks again at its next paint, and the
  // thumbnail's arrival redraws the tile.
  const Quarlo::View::PicturePtr picture = cache_->GetThumbnail(static_cast<size_t>(index));
  if (!picture || picture->error != Quarlo::View::LoadError::None || picture->tiles.empty() ||
      picture->tiles.front().empty()) {
    return {};
  }
  const Quarlo::View::PictureTile& tile = picture->tiles.front().front();
  if (!tile.pixels) return {};
  if (bitmaps_.size() > kMaxListBitmaps) bitmaps_.clear();
  Bitmap bitmap = Bitmap::Wrap(tile.width, tile.height, tile.pixels, tile.pixels->data());
  bitmaps_.emplace(index, bitmap);
  return bitmap;
}

void ListSource::VisibleRangeChanged(int64_t first, int64_t count) {
  if (!cache_ || count <= 0) return;
  cache_->SetWantedThumbnails(static_cast<size_t>(std::max<int64_t>(first, 0)), static_cast<size_t>(count));
}

}  // namespace App
