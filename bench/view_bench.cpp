// Frame times of the picture view and the webtoon strip drawing into a real 1920 × 1080 Cairo canvas,
// each reported as a median beside a plain-Cairo reference measured in the same run:
//   pan and zoom-step frames of a 24-megapixel picture (goal 8 ms each), against one Cairo draw of the
//   whole picture with CAIRO_FILTER_GOOD;
//   showing an already decoded 24-megapixel picture, from SetPages to the painted frame, with the
//   halved copies the loader made (goal 16 ms), against the same reference, and beside the same
//   show without those copies (the canvas then halves on the user-interface thread);
//   a webtoon scroll frame over 300 pages of 1440 × 2048 (goal 8 ms), against Cairo drawing the same
//   visible pages with CAIRO_FILTER_GOOD.
// Counters: median_ms, reference_ms, ratio (median / reference) and goal_ms.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "core/picture_levels.h"
#include "screen_surface.h"
#include "support/made_pictures.h"
#include "views/picture_view.h"
#include "views/webtoon_view.h"
#include "widget/detail/cairo_canvas.h"
#include "widget/host.h"

namespace {

using Quarlo::Bench::kScreenHeight;
using Quarlo::Bench::kScreenWidth;
using Quarlo::Bench::Screen;

using App::FitMode;
using App::PicturePtr;
using Quarlo::Test::PictureSpec;
using Quarlo::Widget::Host;
using Quarlo::Widget::Point;
using Quarlo::Widget::Size;

constexpr int kPhotoWidth = 6000;
constexpr int kPhotoHeight = 4000;
constexpr int kPageWidth = 1440;
constexpr int kPageHeight = 2048;
constexpr size_t kPages = 300;
constexpr size_t kDistinctPages = 8;  // decoded pages in memory; list entries share them in turn
constexpr int kReferenceFrames = 5;
constexpr double kFrameGoalMs = 8;
constexpr double kShowGoalMs = 16;

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double TimeMs(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Report(benchmark::State& state, const std::vector<double>& ours, double referenceMs, double goalMs) {
  const double median = Median(ours);
  state.counters["median_ms"] = median;
  state.counters["reference_ms"] = referenceMs;
  state.counters["ratio"] = median / referenceMs;
  state.counters["goal_ms"] = goalMs;
}

PicturePtr Photo(uint8_t shade, bool levels) {
  PictureSpec made;
  made.width = kPhotoWidth;
  made.height = kPhotoHeight;
  made.levels = levels;
  made.painter = [shade](int32_t x, int32_t y, size_t, uint8_t* p) {
    Quarlo::Test::PhotoPixel(x, y, kPhotoWidth, kPhotoHeight, p);
    p[1] = static_cast<uint8_t>(p[1] ^ shade);
  };
  return Quarlo::Test::MakePicture(made);
}

// One paint of the host's tree into the screen, as the window does it.
void PaintFrame(Host& host, Screen& screen) {
  host.UpdateLayout();
  {
    Quarlo::Widget::Detail::CairoCanvas canvas(screen.cr, 1);
    canvas.Clear(Quarlo::Widget::Color{0, 0, 0, 1});
    host.RenderTree(canvas);
  }
  cairo_surface_flush(screen.surface);
}

// Cairo drawing a picture's pixels into a rectangle of the screen with the GOOD filter.
void CairoGoodDraw(Screen& screen, const Quarlo::View::LoadedPicture& picture, double x, double y,
                   double width, double height) {
  const Quarlo::View::PictureTile& tile = picture.tiles[0][0];
  cairo_surface_t* source =
      cairo_image_surface_create_for_data(const_cast<uint8_t*>(tile.pixels->data()), CAIRO_FORMAT_ARGB32,
                                          tile.width, tile.height, tile.width * 4);
  cairo_save(screen.cr);
  cairo_rectangle(screen.cr, x, y, width, height);
  cairo_clip(screen.cr);
  cairo_translate(screen.cr, x, y);
  cairo_scale(screen.cr, width / tile.width, height / tile.height);
  cairo_set_source_surface(screen.cr, source, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(screen.cr), CAIRO_FILTER_GOOD);
  cairo_paint(screen.cr);
  cairo_restore(screen.cr);
  cairo_surface_flush(screen.surface);
  cairo_surface_destroy(source);
}

// The reference of the picture benchmarks: the whole picture fitted with Cairo's GOOD filter.
double PhotoReferenceMs(Screen& screen, const Quarlo::View::LoadedPicture& picture) {
  const double scale = std::min(double(kScreenWidth) / kPhotoWidth, double(kScreenHeight) / kPhotoHeight);
  const double width = kPhotoWidth * scale, height = kPhotoHeight * scale;
  std::vector<double> times;
  for (int i = 0; i < kReferenceFrames; ++i) {
    times.push_back(TimeMs([&] {
      CairoGoodDraw(screen, picture, (kScreenWidth - width) / 2, (kScreenHeight - height) / 2, width, height);
    }));
  }
  return Median(times);
}

struct PictureScene {
  Host host;
  App::PictureView* view = nullptr;

  PictureScene() {
    view = static_cast<App::PictureView*>(host.SetRoot(std::make_unique<App::PictureView>()));
    host.SetClientSize(Size{kScreenWidth, kScreenHeight});
    host.UpdateLayout();
  }
};

const PicturePtr& SharedPhoto() {
  static const PicturePtr photo = Photo(0, true);
  return photo;
}

void BM_PanFrame24Mp(benchmark::State& state) {
  Screen screen;
  PictureScene scene;
  const PicturePtr& photo = SharedPhoto();
  const double zoom = static_cast<double>(state.range(0)) / 100;
  scene.view->SetPages({photo}, 0, true, false, false);
  scene.view->SetZoom(zoom);
  PaintFrame(scene.host, screen);
  std::vector<double> times;
  for (auto _ : state) {
    times.clear();
    // A drag across the picture: 300 moves of a few DIPs, turning back at the edges.
    double dx = 7.3, dy = 3.1;
    for (int frame = 0; frame < 300; ++frame) {
      times.push_back(TimeMs([&] {
        if (!scene.view->ScrollBy(dx, dy)) {
          dx = -dx;
          dy = -dy;
          scene.view->ScrollBy(dx, dy);
        }
        PaintFrame(scene.host, screen);
      }));
    }
  }
  Report(state, times, PhotoReferenceMs(screen, *photo), kFrameGoalMs);
}
BENCHMARK(BM_PanFrame24Mp)
    ->ArgName("zoom_percent")
    ->Arg(100)
    ->Arg(50)
    ->Arg(33)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_ZoomStepFrame24Mp(benchmark::State& state) {
  Screen screen;
  PictureScene scene;
  const PicturePtr& photo = SharedPhoto();
  scene.view->SetPages({photo}, 0, true, false, false);
  PaintFrame(scene.host, screen);
  std::vector<double> times;
  for (auto _ : state) {
    times.clear();
    // Wheel zoom about a point off the centre, in from the fitted 27% to 200% and back out, ten times.
    const Point pointer{700, 400};
    for (int round = 0; round < 10; ++round) {
      for (int direction : {1, -1}) {
        for (int step = 0; step < 7; ++step) {
          times.push_back(TimeMs([&] {
            scene.view->ZoomStep(direction, pointer);
            PaintFrame(scene.host, screen);
          }));
        }
      }
    }
  }
  Report(state, times, PhotoReferenceMs(screen, *photo), kFrameGoalMs);
}
BENCHMARK(BM_ZoomStepFrame24Mp)->Iterations(1)->Unit(benchmark::kMillisecond);

// Showing decoded pictures one after the other, as paging through a folder of prefetched photos does.
void ShowDecoded(benchmark::State& state, bool levels) {
  Screen screen;
  PictureScene scene;
  const std::vector<PicturePtr> photos = {Photo(0, levels), Photo(0x55, levels), Photo(0xAA, levels)};
  std::vector<double> times;
  for (auto _ : state) {
    times.clear();
    for (size_t i = 0; i < 12; ++i) {
      // The view drops the bitmaps of a picture it stops showing, so each show starts from the decoded
      // record alone, as a prefetched picture arrives.
      const PicturePtr& next = photos[i % photos.size()];
      times.push_back(TimeMs([&] {
        scene.view->SetPages({next}, 0, true, false, false);
        PaintFrame(scene.host, screen);
      }));
    }
  }
  Report(state, times, PhotoReferenceMs(screen, *photos[0]), kShowGoalMs);
}

void BM_ShowDecoded24Mp(benchmark::State& state) { ShowDecoded(state, true); }
BENCHMARK(BM_ShowDecoded24Mp)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ShowDecoded24MpWithoutLoaderCopies(benchmark::State& state) { ShowDecoded(state, false); }
BENCHMARK(BM_ShowDecoded24MpWithoutLoaderCopies)->Iterations(1)->Unit(benchmark::kMillisecond);

// What the loader thread spends on the copies of one 24-megapixel picture, for the record.
void BM_LoaderCopies24Mp(benchmark::State& state) {
  const PicturePtr photo = Photo(0, false);
  const Quarlo::View::PictureTile& tile = photo->tiles[0][0];
  for (auto _ : state) {
    benchmark::DoNotOptimize(Quarlo::View::BuildLevels(*tile.pixels, tile.width, tile.height));
  }
}
BENCHMARK(BM_LoaderCopies24Mp)->Unit(benchmark::kMillisecond);

void BM_WebtoonScrollFrame(benchmark::State& state) {
  Screen screen;
  std::vector<PicturePtr> pool;
  for (size_t i = 0; i < kDistinctPages; ++i) {
    PictureSpec made;
    made.width = kPageWidth;
    made.height = kPageHeight;
    made.painter = [i](int32_t x, int32_t y, size_t, uint8_t* p) {
      Quarlo::Test::PhotoPixel(x, y, kPageWidth, kPageHeight, p);
      p[0] = static_cast<uint8_t>(p[0] ^ (i * 29));
    };
    pool.push_back(Quarlo::Test::MakePicture(made));
  }
  Host host;
  auto* strip = static_cast<App::WebtoonView*>(host.SetRoot(std::make_unique<App::WebtoonView>()));
  host.SetClientSize(Size{kScreenWidth, kScreenHeight});
  host.UpdateLayout();
  strip->SetSources([] { return kPages; }, [&](size_t index) { return pool[index % kDistinctPages]; },
                    [](size_t) { return double(kPageHeight) / kPageWidth; });
  std::vector<double> times, reference;
  for (auto _ : state) {
    times.clear();
    // Ten stretches of the strip, twenty wheel notches each.
    for (size_t stretch = 0; stretch < 10; ++stretch) {
      strip->ScrollToIndex(stretch * 29, false);
      PaintFrame(host, screen);
      for (int notch = 0; notch < 20; ++notch) {
        times.push_back(TimeMs([&] {
          strip->ScrollBy(0, 120);
          PaintFrame(host, screen);
        }));
      }
    }
  }
  // The reference: Cairo drawing the visible pages of the same positions with its GOOD filter.
  for (size_t stretch = 0; stretch < 10; ++stretch) {
    strip->ScrollToIndex(stretch * 29, false);
    strip->ScrollBy(0, 600);
    const double scale = strip->UnitScale();
    reference.push_back(TimeMs([&] {
      const App::IndexRange visible = strip->VisibleRange();
      for (size_t index = visible.first; index < visible.end; ++index) {
        const double top = (strip->Layout().tops[index] - strip->ScrollY()) * scale;
        CairoGoodDraw(screen, *pool[index % kDistinctPages], 0, top, strip->StripWidth(),
                      strip->Layout().heights[index] * scale);
      }
    }));
  }
  Report(state, times, Median(reference), kFrameGoalMs);
}
BENCHMARK(BM_WebtoonScrollFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
