// The image list over a folder of 10,000 photos (4000 × 3000 JPEGs), in a 1920 × 1080 tile view fed by the
// real picture cache and the desktop's shared thumbnails:
//   BM_FirstScreen: opening the list fills its first screen of thumbnails while the rest of the folder is
//     not decoded (cold_first_ms, decoded_at_first_screen out of items); a second opening of the same
//     folder, with the shared thumbnails the first one wrote, fills it again (warm_first_ms) — the goal is
//     cold / warm of at least 5.
//   BM_ScrollFrame: one frame of scrolling through the 10,000 tiles with every thumbnail ready (the offset
//     moves, then layout and paint into a Cairo canvas): median, 95th percentile and worst frame against an
//     8 ms goal.
//   BM_ThumbnailMemory: paging through 1,500 tiles; the thumbnail lane's bytes and count at the end against
//     its budget.
// Figures are reported as counters; nothing is asserted.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/list_source.h"
#include "core/picture_cache.h"
#include "core/picture_list.h"
#include "core/shared_thumbnail_load.h"
#include "screen_surface.h"
#include "support/fixture_pictures.h"
#include "support/temp_folder.h"
#include "support/zip_builder.h"
#include "widget/detail/cairo_canvas.h"
#include "widget/host.h"
#include "widget/list/tile_view.h"

namespace {

using namespace Quarlo::View;
using Clock = std::chrono::steady_clock;
using Quarlo::Bench::kScreenHeight;
using Quarlo::Bench::kScreenWidth;
using Quarlo::Bench::Screen;
using Quarlo::Widget::Host;
using Quarlo::Widget::List::IndexRange;
using Quarlo::Widget::List::TileView;

constexpr size_t kItems = 10'000;
constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;
constexpr int kVariants = 3;  // distinct photos; the 10,000 names are hard links to them
constexpr int kScrollFrames = 300;
constexpr double kScrollStep = 53;  // DIPs per frame, off the row grid
constexpr size_t kMemoryWalk = 1'500;
constexpr double kGoalRatio = 5;
constexpr double kGoalFrameMs = 8;
constexpr double kMiB = 1 << 20;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The folder of photos and a shared thumbnails folder, made once for the whole program.
struct Fixture {
  Quarlo::Test::TempFolder home;
  std::string folder;
  std::string thumbnails;

  Fixture() : folder(home.AddFolder("photos")), thumbnails(home.At("cache/thumbnails")) {
    std::vector<std::string> originals;
    for (int v = 0; v < kVariants; ++v) {
      originals.push_back(home.At("original" + std::to_string(v) + ".jpg"));
      Quarlo::Test::RgbaImage photo = Quarlo::Test::RgbaImage::Photo(kPhotoWidth, kPhotoHeight);
      photo.Set(v, v, 255, 0, 0);
      Quarlo::Test::WriteFileBytes(originals.back(), Quarlo::Test::EncodeJpeg(photo));
    }
    for (size_t i = 0; i < kItems; ++i) {
      std::filesystem::create_hard_link(originals[i % kVariants],
                                        folder + "/DSC" + std::to_string(10000 + i) + ".jpg");
    }
  }
};

Fixture& Photos() {
  static Fixture fixture;
  return fixture;
}

// A tile view over the folder's list as the viewer shows it, with the real cache behind it.
struct ListWindow {
  PictureList list;
  std::mutex mutex;
  std::condition_variable stored;
  std::unique_ptr<PictureCache> cache;
  std::unique_ptr<App::ListSource> source;
  Host host;
  TileView* view = nullptr;

  explicit ListWindow(const std::string& thumbnails) {
    list = OpenSource(Photos().folder, {}).list;
    cache = std::make_unique<PictureCache>([this] { stored.notify_all(); },
                                           DecodeWithSharedThumbnails(thumbnails));
    cache->SetList(list.items, nullptr, false);
    source = std::make_unique<App::ListSource>(list, cache);
    host.SetClientSize({static_cast<float>(kScreenWidth), static_cast<float>(kScreenHeight)});
    view = host.SetRoot(std::make_unique<TileView>());
    view->SetTileSize({160, 160});
    view->SetDataSource(source.get());
  }

  bool Ready(IndexRange tiles) const {
    for (int64_t i = tiles.begin; i < tiles.end; ++i) {
      if (!cache->GetThumbnail(static_cast<size_t>(i))) return false;
    }
    return true;
  }
  // Waits until every tile of the range has its thumbnail.
  void WaitFor(IndexRange tiles) {
    std::unique_lock lock(mutex);
    while (!Ready(tiles)) stored.wait_for(lock, std::chrono::milliseconds(2));
  }
  // Opens the list in the window and waits for its first screen; milliseconds.
  double FirstScreen() {
    const Clock::time_point start = Clock::now();
    host.UpdateLayout();  // the view reports its range, the cache starts on it
    WaitFor(view->VisibleItems());
    return Ms(Clock::now() - start);
  }
};

void BM_FirstScreen(benchmark::State& state) {
  Fixture& photos = Photos();
  std::error_code error;
  std::filesystem::remove_all(photos.thumbnails, error);
  double cold = 0, warm = 0, decodedAtFirst = 0, tiles = 0;
  for (auto _ : state) {
    {
      ListWindow first(photos.thumbnails);
      cold = first.FirstScreen();
      decodedAtFirst = static_cast<double>(first.cache->Usage(LaneKind::Thumbnails).count);
      const IndexRange shown = first.view->VisibleItems();
      tiles = static_cast<double>(shown.end - shown.begin);
    }
    ListWindow second(photos.thumbnails);
    warm = second.FirstScreen();
  }
  state.counters["items"] = kItems;
  state.counters["first_screen_tiles"] = tiles;
  state.counters["decoded_at_first_screen"] = decodedAtFirst;
  state.counters["cold_first_ms"] = cold;
  state.counters["warm_first_ms"] = warm;
  state.counters["ratio"] = cold / warm;
  state.counters["goal_ratio"] = kGoalRatio;
}
BENCHMARK(BM_FirstScreen)->Iterations(1)->Unit(benchmark::kMillisecond);

// Every thumbnail is ready (the same small picture), so the frame measures only layout and drawing.
class ReadySource : public Quarlo::Widget::List::ITileDataSource {
 public:
  ReadySource() {
    std::vector<uint8_t> pixels(256 * 192 * 4, 200);
    bitmap_ = Quarlo::Widget::Bitmap::FromPixels(256, 192, pixels);
  }
  int64_t Count() override { return kItems; }
  std::string_view Title(int64_t index) override {
    title_ = "DSC" + std::to_string(10000 + index) + ".jpg";
    return title_;
  }
  Quarlo::Widget::Bitmap Thumbnail(int64_t, int, int) override { return bitmap_; }
  void VisibleRangeChanged(int64_t, int64_t) override {}

 private:
  Quarlo::Widget::Bitmap bitmap_;
  std::string title_;
};

void BM_ScrollFrame(benchmark::State& state) {
  Screen screen;
  ReadySource source;
  Host host;
  host.SetClientSize({static_cast<float>(kScreenWidth), static_cast<float>(kScreenHeight)});
  TileView* view = host.SetRoot(std::make_unique<TileView>());
  view->SetTileSize({160, 160});
  view->SetDataSource(&source);
  std::vector<double> times;
  const auto frame = [&](double offset) {
    const Clock::time_point start = Clock::now();
    view->ScrollTo(offset, false);
    host.UpdateLayout();
    {
      Quarlo::Widget::Detail::CairoCanvas canvas(screen.cr, 1);
      canvas.Clear(Quarlo::Widget::Color{1, 1, 1, 1});
      host.RenderTree(canvas);
    }
    cairo_surface_flush(screen.surface);
    return Ms(Clock::now() - start);
  };
  frame(0);  // fonts load on the first text paint
  for (auto _ : state) {
    times.clear();
    for (int i = 1; i <= kScrollFrames; ++i) times.push_back(frame(i * kScrollStep));
  }
  state.counters["median_frame_ms"] = Median(times);
  std::vector<double> sorted = times;
  std::sort(sorted.begin(), sorted.end());
  state.counters["p95_frame_ms"] = sorted[sorted.size() * 95 / 100];
  state.counters["worst_frame_ms"] = *std::max_element(times.begin(), times.end());
  state.counters["goal_frame_ms"] = kGoalFrameMs;
}
BENCHMARK(BM_ScrollFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ThumbnailMemory(benchmark::State& state) {
  LaneUsage usage;
  for (auto _ : state) {
    ListWindow window(Photos().thumbnails);
    window.host.UpdateLayout();
    const double page = window.view->Rows().Viewport();
    while (window.view->VisibleItems().end < static_cast<int64_t>(kMemoryWalk)) {
      window.WaitFor(window.view->VisibleItems());
      window.view->ScrollTo(window.view->Rows().Offset() + page, false);
    }
    window.WaitFor(window.view->VisibleItems());
    usage = window.cache->Usage(LaneKind::Thumbnails);
  }
  state.counters["used_MiB"] = static_cast<double>(usage.usedBytes) / kMiB;
  state.counters["budget_MiB"] = static_cast<double>(usage.budget) / kMiB;
  state.counters["count"] = static_cast<double>(usage.count);
  state.counters["max_count"] = kMaxCachedThumbnails;
}
BENCHMARK(BM_ThumbnailMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
