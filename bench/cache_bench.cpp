// Paging forward through a 300-page comic archive the way the viewer does: the single-page prefetch
// order goes to the picture cache at every page, then the page is asked for. Reports how often the
// page was already decoded when asked (hit_ratio), how long the misses waited, the most the picture
// lane held, and the peak resident memory of the process (sampled every 2 ms) next to the picture
// budget and to the resident memory before the archive was opened.
//
// Arguments: time spent on each page in ms, and the picture budget in MiB (0: this machine's).
// Freed memory stays with the process, so run one configuration per process for the memory figures:
//   cache_bench --benchmark_filter='dwell_ms:40/budget_MiB:256'

#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/loaded_picture.h"
#include "core/picture_cache.h"
#include "core/picture_list.h"
#include "views/page_layout.h"

namespace {

using namespace Quarlo::View;
using namespace std::chrono_literals;

constexpr size_t kPages = 300;
constexpr int kPageWidth = 1440;
constexpr int kPageHeight = 2048;
constexpr int kVariants = 6;  // distinct page pictures; every entry is still decoded on its own
constexpr double kMiB = 1 << 20;

// A comic-like page: soft gradients with panel borders and fine stripes, so that it does not
// compress to nothing.
std::vector<uint8_t> EncodePage(int variant) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = kPageWidth;
  info.image_height = kPageHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 85, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(kPageWidth * 3);
  for (int y = 0; y < kPageHeight; ++y) {
    for (int x = 0; x < kPageWidth; ++x) {
      bool border = x % 480 < 6 || y % 512 < 6;
      uint8_t stripe = uint8_t(((x * (variant + 3) + y * 7) % 23) * 4);
      row[x * 3 + 0] = border ? 20 : uint8_t(x * 255 / kPageWidth) ^ stripe;
      row[x * 3 + 1] = border ? 20 : uint8_t(y * 255 / kPageHeight + variant * 30);
      row[x * 3 + 2] = border ? 20 : uint8_t(((x + y) / 8 + variant * 40) & 0xFF);
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  free(buffer);
  return bytes;
}

void Put16(std::string& out, uint32_t value) { out.append({char(value), char(value >> 8)}); }
void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// Writes a ZIP of stored entries (JPEG pages do not deflate).
void WriteArchive(const std::string& path, const std::vector<std::vector<uint8_t>>& pages) {
  std::string archive, directory;
  for (size_t index = 0; index < kPages; ++index) {
    char name[32];
    std::snprintf(name, sizeof name, "page%03zu.jpg", index + 1);
    const std::vector<uint8_t>& data = pages[index % pages.size()];
    uint32_t crc = uint32_t(crc32(0, data.data(), uInt(data.size())));
    uint32_t offset = uint32_t(archive.size());
    auto common = [&](std::string& out) {
      Put16(out, 20), Put16(out, 0), Put16(out, 0), Put16(out, 0),
          Put16(out, 0x21);  // version, flags, stored, time, date
      Put32(out, crc), Put32(out, uint32_t(data.size())), Put32(out, uint32_t(data.size()));
      Put16(out, uint32_t(std::strlen(name))), Put16(out, 0);
    };
    Put32(archive, 0x04034b50);
    common(archive);
    archive += name;
    archive.append(reinterpret_cast<const char*>(data.data()), data.size());
    Put32(directory, 0x02014b50);
    Put16(directory, 20);
    common(directory);
    Put16(directory, 0), Put16(directory, 0), Put16(directory, 0), Put32(directory, 0),
        Put32(directory, offset);
    directory += name;
  }
  uint32_t directoryAt = uint32_t(archive.size());
  archive += directory;
  Put32(archive, 0x06054b50), Put16(archive, 0), Put16(archive, 0), Put16(archive, kPages),
      Put16(archive, kPages);
  Put32(archive, uint32_t(directory.size())), Put32(archive, directoryAt), Put16(archive, 0);
  std::ofstream(path, std::ios::binary).write(archive.data(), std::streamsize(archive.size()));
}

// The archive, made once per run and removed at exit.
const std::string& ArchivePath() {
  struct Archive {
    std::string path;
    Archive() {
      path = (std::filesystem::temp_directory_path() /
              ("quarlo-cache-bench-" + std::to_string(getpid()) + ".cbz"))
                 .string();
      std::vector<std::vector<uint8_t>> pages;
      for (int variant = 0; variant < kVariants; ++variant) pages.push_back(EncodePage(variant));
      WriteArchive(path, pages);
    }
    ~Archive() { std::filesystem::remove(path); }
  };
  static Archive archive;
  return archive.path;
}

uint64_t ResidentBytes() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return uint64_t(resident) * uint64_t(sysconf(_SC_PAGESIZE));
}

// Samples the resident size every few milliseconds while a run lasts.
class PeakSampler {
 public:
  PeakSampler() : peak_(ResidentBytes()), thread_([this] { Sample(); }) {}
  ~PeakSampler() {
    stop_ = true;
    thread_.join();
  }
  uint64_t Peak() const { return peak_; }

 private:
  void Sample() {
    while (!stop_) {
      peak_ = std::max<uint64_t>(peak_, ResidentBytes());
      std::this_thread::sleep_for(2ms);
    }
  }
  std::atomic<uint64_t> peak_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Lets the paging loop sleep until the cache reports a stored picture.
class Wakeup {
 public:
  PictureCache::Notifier Function() {
    return [this] {
      std::lock_guard lock(mutex_);
      changed_.notify_all();
    };
  }
  template <typename Ready>
  void WaitUntil(Ready ready) {
    std::unique_lock lock(mutex_);
    while (!ready()) changed_.wait_for(lock, 5ms);
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
};

void BM_PageForwardThroughArchive(benchmark::State& state) {
  const auto dwell = std::chrono::milliseconds(state.range(0));
  const std::string& path = ArchivePath();
  CacheLimits limits = DefaultCacheLimits();
  if (state.range(1) > 0) limits.pictures.budget = uint64_t(state.range(1)) << 20;
  size_t hits = 0, misses = 0;
  double missWaitMs = 0;
  uint64_t baseline = 0, peak = 0, peakCache = 0;
  for (auto _ : state) {
    baseline = ResidentBytes();
    PeakSampler sampler;
    {
      OpenedSource opened = OpenSource(path, "");
      if (opened.list.items.size() != kPages) {
        state.SkipWithError("the archive did not open with every page");
        return;
      }
      Wakeup wakeup;
      PictureCache cache(wakeup.Function(), LoadPicture, limits);
      cache.SetOptions(DecodeOptions{});
      cache.SetList(opened.list.items, opened.list.reader, false);
      App::Pagination pages{App::PageMode::SinglePage, kPages, {}};
      for (size_t page = 0; page < kPages; ++page) {
        cache.SetWanted(App::WantedPictures(pages, page));
        if (cache.Get(page) != nullptr) {
          ++hits;
        } else {
          ++misses;
          auto asked = std::chrono::steady_clock::now();
          wakeup.WaitUntil([&] { return cache.Get(page) != nullptr; });
          missWaitMs +=
              std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - asked).count();
        }
        if (cache.Get(page)->error != LoadError::None) {
          state.SkipWithError("a page failed to decode");
          return;
        }
        peakCache = std::max(peakCache, cache.Usage(LaneKind::Pictures).usedBytes);
        std::this_thread::sleep_for(dwell);
      }
    }
    peak = sampler.Peak();
  }
  state.counters["hit_ratio"] = double(hits) / double(hits + misses);
  state.counters["miss_wait_ms"] = misses > 0 ? missWaitMs / double(misses) : 0;
  state.counters["budget_MiB"] = double(limits.pictures.budget) / kMiB;
  state.counters["peak_cache_MiB"] = double(peakCache) / kMiB;
  state.counters["rss_before_MiB"] = double(baseline) / kMiB;
  state.counters["peak_rss_MiB"] = double(peak) / kMiB;
}

BENCHMARK(BM_PageForwardThroughArchive)
    ->ArgNames({"dwell_ms", "budget_MiB"})
    ->Args({0, 0})
    ->Args({40, 0})
    ->Args({150, 0})
    ->Args({40, 256})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
