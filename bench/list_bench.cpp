// One scroll frame of a virtualised text list (the offset moves, then layout and paint into a real
// 1920 × 1080 Cairo canvas) for a list of 100,000 rows against the same frame of a list of 100 rows,
// interleaved in one run. Only the rows in view are laid out and drawn, so the long list should cost what
// the short one does: the goal is a ratio of at most 1.2.
// Counters: short_ms and long_ms (medians), ratio (long / short) and goal_ratio.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "screen_surface.h"
#include "widget/detail/cairo_canvas.h"
#include "widget/host.h"
#include "widget/list/text_list.h"

namespace {

using Quarlo::Bench::kScreenHeight;
using Quarlo::Bench::Screen;
using Quarlo::Widget::Host;
using Quarlo::Widget::Size;
using Quarlo::Widget::List::TextList;

constexpr float kListWidth = 480;
constexpr int kFrames = 600;
constexpr double kStep = 37;      // DIPs per frame: off the row grid, so rows come in most frames
constexpr double kTravel = 2000;  // the short list's scroll range is 100 × 32 - 1080 = 2120
constexpr int64_t kLongBaseRow = 50'000;
constexpr double kGoalRatio = 1.2;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct ListWindow {
  Host host;
  TextList* list;
  double base;

  ListWindow(int64_t rows, int64_t baseRow) {
    host.SetClientSize(Size{kListWidth, kScreenHeight});
    list = host.SetRoot(std::make_unique<TextList>());
    list->SetItems(rows, [](int64_t row) { return "Picture " + std::to_string(row + 1) + ".jpg"; });
    host.UpdateLayout();
    base = static_cast<double>(baseRow) * list->RowHeight();
    list->Select(baseRow + 3, false);
  }

  // Scrolls to the frame's offset, lays out and paints, as the window's paint does; returns milliseconds.
  double Frame(Screen& screen, int frame) {
    const auto start = std::chrono::steady_clock::now();
    list->ScrollTo(base + std::fmod(frame * kStep, kTravel), false);
    host.UpdateLayout();
    {
      Quarlo::Widget::Detail::CairoCanvas canvas(screen.cr, 1);
      canvas.Clear(Quarlo::Widget::Color{1, 1, 1, 1});
      host.RenderTree(canvas);
    }
    cairo_surface_flush(screen.surface);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
};

void BM_ListScrollFrame(benchmark::State& state) {
  Screen screen;
  ListWindow shortList(100, 0);
  ListWindow longList(100'000, kLongBaseRow);
  // The first text paint loads fonts; keep it out of the figures.
  shortList.Frame(screen, 0);
  longList.Frame(screen, 0);
  std::vector<double> shortTimes, longTimes;
  for (auto _ : state) {
    shortTimes.clear();
    longTimes.clear();
    for (int frame = 1; frame <= kFrames; ++frame) {
      shortTimes.push_back(shortList.Frame(screen, frame));
      longTimes.push_back(longList.Frame(screen, frame));
    }
  }
  const double shortMs = Median(shortTimes);
  const double longMs = Median(longTimes);
  state.counters["short_ms"] = shortMs;
  state.counters["long_ms"] = longMs;
  state.counters["ratio"] = longMs / shortMs;
  state.counters["goal_ratio"] = kGoalRatio;
}
BENCHMARK(BM_ListScrollFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
