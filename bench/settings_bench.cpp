// Settings store figures: saving and loading a full record (12 recent paths, 500 bookmarks, every
// command's chords reassigned) and changing one value, against a plain write, fsync and rename of
// a file of the same size as the reference.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/settings.h"
#include "platform/registry/hive.h"

namespace {

namespace fs = std::filesystem;
using Quarlo::Platform::Hive;
using Quarlo::View::Settings;

constexpr const char* kKeyPath = "Software\\QuarloView";

// A private folder for the run's hive files, removed when the program ends.
struct BenchFolderOwner {
  fs::path path;
  BenchFolderOwner() {
    std::string pattern = (fs::temp_directory_path() / "quarlo_settings_bench_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
  }
  ~BenchFolderOwner() { fs::remove_all(path); }
};

const fs::path& BenchFolder() {
  static const BenchFolderOwner folder;
  return folder.path;
}

Settings FullRecord() {
  Settings settings;
  for (int i = 0; i < 12; ++i) settings.AddRecent("/home/reader/comics/series " + std::to_string(i) + ".cbz");
  for (int i = 0; i < 500; ++i) {
    settings.bookmarks.push_back({"/home/reader/comics/series " + std::to_string(i % 40) + ".cbz",
                                  "chapter " + std::to_string(i) + "/page 017.jpg", 133497000000000000 + i});
  }
  for (int i = 0; i < 56; ++i)
    settings.keys["Command" + std::to_string(i)] = "2:" + std::to_string(65 + i % 26);
  return settings;
}

void BM_SaveFullSettings(benchmark::State& state) {
  Hive hive((BenchFolder() / "save" / "registry.txt").string());
  Settings settings = FullRecord();
  for (auto _ : state) {
    settings.windowX = settings.windowX + 1;  // something changes every time, as at a real close
    if (!settings.Save(hive, kKeyPath)) state.SkipWithError("save failed");
  }
  state.counters["file_bytes"] = static_cast<double>(fs::file_size(hive.FilePath()));
}
BENCHMARK(BM_SaveFullSettings)->Unit(benchmark::kMillisecond);

void BM_LoadFullSettingsAfterAnotherProcessChangedIt(benchmark::State& state) {
  const std::string file = (BenchFolder() / "load" / "registry.txt").string();
  Hive writer(file);
  FullRecord().Save(writer, kKeyPath);
  for (auto _ : state) {
    state.PauseTiming();
    Hive fresh(file);  // a new process reads the file once, then serves reads from memory
    state.ResumeTiming();
    Settings loaded = Settings::Load(fresh, kKeyPath);
    if (loaded.bookmarks.size() != 500) state.SkipWithError("load incomplete");
    benchmark::DoNotOptimize(loaded.bookmarks.data());
  }
}
BENCHMARK(BM_LoadFullSettingsAfterAnotherProcessChangedIt)->Unit(benchmark::kMillisecond);

void BM_ChangeOneValue(benchmark::State& state) {
  Hive hive((BenchFolder() / "one" / "registry.txt").string());
  FullRecord().Save(hive, kKeyPath);
  auto key = hive.Root().Open(kKeyPath).value;
  uint32_t value = 0;
  for (auto _ : state) {
    if (key.Set("WindowX", ++value) != Quarlo::Platform::HiveStatus::Ok) state.SkipWithError("set failed");
  }
}
BENCHMARK(BM_ChangeOneValue)->Unit(benchmark::kMillisecond);

// The reference: the least any durable replacement of a file of this size costs (the file and its
// folder synced).
void BM_ReferenceWriteFsyncRename(benchmark::State& state) {
  const fs::path folder = BenchFolder() / "reference";
  fs::create_directories(folder);
  const std::string bytes(static_cast<size_t>(state.range(0)), 'x');
  const std::string file = (folder / "file").string(), temporary = file + ".new";
  for (auto _ : state) {
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    bool ok = fd >= 0 && write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
              fsync(fd) == 0;
    if (fd >= 0) close(fd);
    if (!ok || std::rename(temporary.c_str(), file.c_str()) != 0) state.SkipWithError("write failed");
    int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (directory >= 0) {
      fsync(directory);
      close(directory);
    }
  }
}
BENCHMARK(BM_ReferenceWriteFsyncRename)->Arg(60000)->Unit(benchmark::kMillisecond);

}  // namespace
