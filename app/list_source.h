#pragma once
// The image list's data source: the titles and thumbnails of the controller's picture list, read through
// the picture cache's thumbnail lane. Thumbnails are wrapped as bitmaps (never copied) and kept per index
// until the list changes or the tile's thumbnail is replaced. User-interface thread only.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "widget/canvas.h"
#include "widget/list/tile_data_source.h"

namespace Quarlo::View {
class PictureCache;
struct PictureList;
}  // namespace Quarlo::View

namespace App {

// Bitmaps kept before the map is emptied at the next new one.
inline constexpr size_t kMaxListBitmaps = 900;

class ListSource final : public Quarlo::Widget::List::ITileDataSource {
 public:
  // Reads the list and the cache the controller owns (the cache may be made after the source); both
  // outlive the source.
  ListSource(const Quarlo::View::PictureList& list, const std::unique_ptr<Quarlo::View::PictureCache>& cache);

  int64_t Count() override;
  std::string_view Title(int64_t index) override;
  Quarlo::Widget::Bitmap Thumbnail(int64_t index, int pixelWidth, int pixelHeight) override;
  void VisibleRangeChanged(int64_t first, int64_t count) override;

  // Called when indexes stand for other pictures (a new list, a re-sort, a rename, a removal).
  void ForgetBitmaps() { bitmaps_.clear(); }
  // Called when the tile's thumbnail arrived: its bitmap is made again at the next paint.
  void ForgetBitmap(int64_t index) { bitmaps_.erase(index); }
  size_t BitmapCount() const { return bitmaps_.size(); }

 private:
  const Quarlo::View::PictureList& list_;
  const std::unique_ptr<Quarlo::View::PictureCache>& cache_;
  std::string labelText_;
  std::unordered_map<int64_t, Quarlo::Widget::Bitmap> bitmaps_;
};

}  // namespace App
