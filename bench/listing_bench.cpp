// Listing figures: opening a folder of 20,000 pictures (enumerate, stat, natural sort) and sorting
// 200,000 names in natural order.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "core/natural_order.h"
#include "core/picture_list.h"
#include "support/temp_folder.h"

namespace {

constexpr int kFolderFiles = 20000;
constexpr int kSortedNames = 200000;

// Names as scans and comics are named: chapters and pages with numbers of varying width.
std::vector<std::string> ComicNames(int count, unsigned seed) {
  std::vector<std::string> names;
  names.reserve(count);
  for (int i = 0; i < count; ++i) {
    names.push_back("Chapter " + std::to_string(i / 40) + " - Page " + std::to_string(i % 40 + 1) +
                    (i % 3 == 0 ? ".JPG" : ".jpg"));
  }
  std::shuffle(names.begin(), names.end(), std::mt19937(seed));
  return names;
}

const std::string& BigFolder() {
  static auto* folder = [] {
    auto* made = new Quarlo::Test::TempFolder;
    for (const std::string& name : ComicNames(kFolderFiles, 3)) made->AddFile(name, "not really a jpeg");
    return made;
  }();
  return folder->Path();
}

void BM_OpenFolderOf20000Pictures(benchmark::State& state) {
  const std::string& folder = BigFolder();
  for (auto _ : state) {
    Quarlo::View::OpenedSource opened = Quarlo::View::OpenSource(folder, "");
    if (opened.list.items.size() != kFolderFiles) {
      state.SkipWithError("listing incomplete");
      break;
    }
    benchmark::DoNotOptimize(opened.list.items.data());
  }
}
BENCHMARK(BM_OpenFolderOf20000Pictures)->Unit(benchmark::kMillisecond);

void BM_SortNatural200000Names(benchmark::State& state) {
  const std::vector<std::string> shuffled = ComicNames(kSortedNames, 5);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> names = shuffled;
    state.ResumeTiming();
    Quarlo::View::SortNatural(names);
    benchmark::DoNotOptimize(names.data());
  }
}
BENCHMARK(BM_SortNatural200000Names)->Unit(benchmark::kMillisecond);

}  // namespace
