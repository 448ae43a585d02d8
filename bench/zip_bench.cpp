// ZIP reader figures: opening an archive of 20,000 entries (only the central directory is read), and
// extracting a 20 MB entry of JPEG data, deflated and stored, against plain zlib on the same entries
// in the same run. "Decode" times the step after the read (raw inflate and CRC-32, or the CRC-32
// alone for a stored entry) against zlib's one-call inflate and crc32 on the same bytes; "Read"
// times a whole ReadEntry against a plain reader that reads the entry the same way and decodes it
// with zlib.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <random>

#include "core/zip_reader.h"
#include "support/fixture_pictures.h"
#include "support/temp_folder.h"
#include "support/zip_builder.h"

namespace {

using Quarlo::View::ZipEntry;
using Quarlo::View::ZipReader;
using Quarlo::View::ZipStatus;

constexpr int kEntryCount = 20000;
constexpr size_t kLargeEntrySize = 20u << 20;
constexpr size_t kLocalHeaderSize = 30;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflate = 8;
constexpr int kRawDeflateWindowBits = -15;
// The most our decoding may take, as a share of zlib's time on the same entry.
constexpr double kDeflatedTarget = 0.75;
constexpr double kStoredTarget = 0.35;

// What most comic archives hold: JPEG pages, here one photo-like page with grain, encoded once and
// repeated. The copies lie further apart than deflate's window, so they deflate like distinct
// pages: hardly at all, which leaves the inflater decoding literals.
std::vector<uint8_t> JpegBytes(size_t size) {
  Quarlo::Test::RgbaImage photo = Quarlo::Test::RgbaImage::Photo(3000, 2000);
  std::mt19937 random(7);
  for (size_t i = 0; i < photo.rgba.size(); ++i) {
    if (i % 4 != 3)
      photo.rgba[i] = static_cast<uint8_t>(std::min<uint32_t>(255, photo.rgba[i] + (random() & 31)));
  }
  Quarlo::Test::JpegOptions options;
  options.quality = 92;
  std::vector<uint8_t> page = Quarlo::Test::EncodeJpeg(photo, options);
  std::vector<uint8_t> bytes;
  while (bytes.size() < size) bytes.insert(bytes.end(), page.begin(), page.end());
  bytes.resize(size);
  return bytes;
}

// A large entry as the directory gives it, with where its data lies for the plain reader.
struct LargeEntry {
  uint64_t index = 0;
  ZipEntry entry;
  uint64_t dataOffset = 0;
  std::vector<uint8_t> data;  // as stored in the archive
};

struct ArchiveFixture {
  Quarlo::Test::TempFolder folder;
  std::string manyEntries;
  std::string largeEntries;
  LargeEntry deflated;
  LargeEntry stored;
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

    std::vector<Quarlo::Test::ZipTestEntry> large(2);
    large[0].name = "deflated.jpg";
    large[0].data = JpegBytes(kLargeEntrySize);
    large[0].method = kMethodDeflate;
    large[1].name = "stored.jpg";
    large[1].data = large[0].data;
    large[1].method = kMethodStored;
    Quarlo::Test::ZipImage image = Quarlo::Test::BuildZip(large);
    made->largeEntries = made->folder.AddFile("large.cbz", image.bytes);
    ZipReader reader;
    if (reader.Open(made->largeEntries) != ZipStatus::Ok) return made;
    for (uint64_t i : {0u, 1u}) {
      LargeEntry& kept = i == 0 ? made->deflated : made->stored;
      kept.index = i;
      kept.entry = reader.Entries()[i];
      kept.dataOffset = image.localOffsets[i] + kLocalHeaderSize + kept.entry.name.size();
      auto begin = image.bytes.begin() + static_cast<ptrdiff_t>(kept.dataOffset);
      kept.data.assign(begin, begin + static_cast<ptrdiff_t>(kept.entry.csize));
    }
    return made;
  }();
  return *fixture;
}

// zlib's decoding of an entry's data as read: one raw inflate call into the declared size, then crc32.
bool ZlibDecode(const ZipEntry& entry, std::vector<uint8_t>& bytes) {
  if (entry.method == kMethodDeflate) {
    std::vector<uint8_t> content(entry.usize);
    z_stream stream{};
    if (inflateInit2(&stream, kRawDeflateWindowBits) != Z_OK) return false;
    stream.next_in = bytes.data();
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = content.data();
    stream.avail_out = static_cast<uInt>(content.size());
    int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    if (result != Z_STREAM_END || stream.total_out != entry.usize) return false;
    bytes.swap(content);
  }
  return crc32_z(0, bytes.data(), bytes.size()) == entry.crc;
}

// A reader that does what ours does per call, with zlib: the data read with one positioned read
// into the caller's vector, then decoded.
class ZlibReader {
 public:
  explicit ZlibReader(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~ZlibReader() { close(fd_); }
  ZlibReader(const ZlibReader&) = delete;
  ZlibReader& operator=(const ZlibReader&) = delete;

  bool Read(const LargeEntry& large, std::vector<uint8_t>& bytes) const {
    bytes.resize(large.entry.csize);
    ssize_t got = pread(fd_, bytes.data(), bytes.size(), static_cast<off_t>(large.dataOffset));
    return got == static_cast<ssize_t>(bytes.size()) && ZlibDecode(large.entry, bytes);
  }

 private:
  int fd_;
};

// The calling thread's processor time, so that other processes on a shared machine change the
// figures less than wall time would.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Contender {
  std::function<void()> prepare;  // untimed, before each run
  std::function<bool()> run;
};

// Ours and the reference in turns, each timed alone after its preparation. "ratio" is our time over
// the reference's; "target", when given, the most it may be.
void RatioInTurns(benchmark::State& state, const Contender& ours, const Contender& reference,
                  std::optional<double> target) {
  double oursSeconds = 0;
  double referenceSeconds = 0;
  for (auto _ : state) {
    for (auto [contender, total] :
         {std::pair{&ours, &oursSeconds}, std::pair{&reference, &referenceSeconds}}) {
      contender->prepare();
      double start = ThreadSeconds();
      bool ok = contender->run();
      *total += ThreadSeconds() - start;
      if (!ok) {
        state.SkipWithError("extraction failed");
        return;
      }
    }
  }
  state.counters["ratio"] = oursSeconds / referenceSeconds;
  if (target) state.counters["target"] = *target;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kLargeEntrySize);
}

void DecodeOverZlib(benchmark::State& state, const LargeEntry& large, double target) {
  std::vector<uint8_t> bytes;
  auto refill = [&] { bytes = large.data; };
  RatioInTurns(
      state,
      {refill,
       [&] { return Quarlo::View::DecodeEntryData(large.entry, bytes) == Quarlo::View::ZipDetail::None; }},
      {refill, [&] { return ZlibDecode(large.entry, bytes); }}, target);
}

void ReadOverZlibReader(benchmark::State& state, const LargeEntry& large) {
  ZipReader reader;
  if (reader.Open(Fixture().largeEntries) != ZipStatus::Ok) {
    state.SkipWithError("open failed");
    return;
  }
  ZlibReader plain(Fixture().largeEntries);
  std::vector<uint8_t> bytes;
  auto nothing = [] {};
  RatioInTurns(state, {nothing, [&] { return reader.ReadEntry(large.index, bytes) == ZipStatus::Ok; }},
               {nothing, [&] { return plain.Read(large, bytes); }}, std::nullopt);
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

void BM_DecodeDeflated20MB(benchmark::State& state) {
  DecodeOverZlib(state, Fixture().deflated, kDeflatedTarget);
}
BENCHMARK(BM_DecodeDeflated20MB)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_DecodeStored20MB(benchmark::State& state) { DecodeOverZlib(state, Fixture().stored, kStoredTarget); }
BENCHMARK(BM_DecodeStored20MB)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_ReadDeflated20MB(benchmark::State& state) { ReadOverZlibReader(state, Fixture().deflated); }
BENCHMARK(BM_ReadDeflated20MB)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_ReadStored20MB(benchmark::State& state) { ReadOverZlibReader(state, Fixture().stored); }
BENCHMARK(BM_ReadStored20MB)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
