// ZIP reader figures: opening an archive of 20,000 entries (only the central directory is read),
// and extracting a 20 MB deflated entry against plain zlib uncompress of the same data.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <chrono>
#include <random>

#include "core/zip_reader.h"
#include "support/temp_folder.h"
#include "support/zip_builder.h"

namespace {

using Quarlo::View::ZipReader;
using Quarlo::View::ZipStatus;

constexpr int kEntryCount = 20000;
constexpr size_t kLargeEntrySize = 20u << 20;

// Picture-like content: smooth gradients with noise, which deflates to roughly a third.
std::vector<uint8_t> PictureLikeBytes(size_t size) {
  std::vector<uint8_t> bytes(size);
  std::mt19937 random(7);
  for (size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<uint8_t>((i / 4 % 1024) / 4 + (random() & 15));
  }
  return bytes;
}

struct ArchiveFixture {
  Quarlo::Test::TempFolder folder;
  std::string manyEntries;
  std::string largeEntry;
  std::vector<uint8_t> largeData;
};

ArchiveFixture& Fixture() {
  static ArchiveFixture* fixture = [] {
    auto* made = new ArchiveFixture;
    std::vector<Quarlo::Test::ZipTestEntry> entries(kEntryCount);
    for (int i = 0; i < kEntryCount; ++i) {
      entries[i].name = "volume " + std::to_string(i / 200) + "/page " + std::to_string(i) + ".jpg";
      entries[i].data = {static_cast<uint8_t>(i)};
    }
    made->manyEntries = made->folder.AddFile("many.cbz", Quarlo::Test::BuildZip(entries).bytes);
    made->largeData = PictureLikeBytes(kLargeEntrySize);
    Quarlo::Test::ZipTestEntry large;
    large.name = "large.png";
    large.data = made->largeData;
    large.method = 8;
    made->largeEntry = made->folder.AddFile("large.zip", Quarlo::Test::BuildZip({large}).bytes);
    return made;
  }();
  return *fixture;
}

void BM_OpenArchiveOf20000Entries(benchmark::State& state) {
  const std::string& path = Fixture().manyEntries;
  for (auto _ : state) {
    ZipReader reader;
    if (reader.Open(path) != ZipStatus::Ok || reader.Entries().size() != kEntryCount) {
      state.SkipWithError("open failed");
      break;
    }
    benchmark::DoNotOptimize(reader.Entries().data());
  }
}
BENCHMARK(BM_OpenArchiveOf20000Entries)->Unit(benchmark::kMillisecond);

void BM_ExtractDeflated20MB(benchmark::State& state) {
  ZipReader reader;
  if (reader.Open(Fixture().largeEntry) != ZipStatus::Ok) {
    state.SkipWithError("open failed");
    return;
  }
  std::vector<uint8_t> bytes;
  for (auto _ : state) {
    if (reader.ReadEntry(0, bytes) != ZipStatus::Ok) {
      state.SkipWithError("extraction failed");
      break;
    }
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kLargeEntrySize);
}
BENCHMARK(BM_ExtractDeflated20MB)->Unit(benchmark::kMillisecond);

// The reference: zlib's own one-call uncompress of the same data at the same level.
struct ZlibReference {
  std::vector<uint8_t> packed;
  std::vector<uint8_t> output;

  ZlibReference() {
    const std::vector<uint8_t>& data = Fixture().largeData;
    uLongf packedSize = compressBound(data.size());
    packed.resize(packedSize);
    compress2(packed.data(), &packedSize, data.data(), data.size(), Z_DEFAULT_COMPRESSION);
    packed.resize(packedSize);
    output.resize(data.size());
  }

  bool Run() {
    uLongf outputSize = output.size();
    return uncompress(output.data(), &outputSize, packed.data(), packed.size()) == Z_OK;
  }
};

void BM_ZlibUncompress20MB(benchmark::State& state) {
  ZlibReference reference;
  for (auto _ : state) {
    if (!reference.Run()) {
      state.SkipWithError("uncompress failed");
      break;
    }
    benchmark::DoNotOptimize(reference.output.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kLargeEntrySize);
}
BENCHMARK(BM_ZlibUncompress20MB)->Unit(benchmark::kMillisecond);

// Extraction and the reference in turns, so that load from other processes falls on both alike;
// "ratio" is the extraction time over the reference time (the target is at most 1.1).
void BM_ExtractOverUncompressRatio(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  ZipReader reader;
  ZlibReference reference;
  if (reader.Open(Fixture().largeEntry) != ZipStatus::Ok) {
    state.SkipWithError("open failed");
    return;
  }
  std::vector<uint8_t> bytes;
  Clock::duration extracting{};
  Clock::duration uncompressing{};
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    bool extracted = reader.ReadEntry(0, bytes) == ZipStatus::Ok;
    Clock::time_point middle = Clock::now();
    bool uncompressed = reference.Run();
    Clock::time_point end = Clock::now();
    if (!extracted || !uncompressed) {
      state.SkipWithError("extraction failed");
      break;
    }
    extracting += middle - start;
    uncompressing += end - middle;
  }
  state.counters["ratio"] = std::chrono::duration<double>(extracting).count() /
                            std::chrono::duration<double>(uncompressing).count();
}
BENCHMARK(BM_ExtractOverUncompressRatio)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
