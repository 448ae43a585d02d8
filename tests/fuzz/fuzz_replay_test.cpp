// Every input checked in for the fuzz targets (tests/fuzz/corpus, tests/fuzz/regressions) runs
// through the targets' own bodies under this build's sanitizers. Each target's table,
// expected/<name>.txt, pins the status each input it replays must give: one "path  status" line per
// input, paths below tests/fuzz, "#" starting a comment line. A file in the input folders that no
// table lists fails the test, so a new finding joins only with the status it must give.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_targets.h"

namespace Quarlo::Fuzz {
namespace {

namespace fs = std::filesystem;

const fs::path kFuzzFolder = fs::path(QUARLO_SOURCE_DIR) / "tests" / "fuzz";
const char* const kInputFolders[] = {"corpus", "regressions"};

struct Pin {
  std::string path;  // below tests/fuzz
  std::string status;
};

// expected/<target>.txt for every table there, by target name; malformed lines fail the test.
std::map<std::string, std::vector<Pin>> ReadTables() {
  std::map<std::string, std::vector<Pin>> tables;
  for (const fs::directory_entry& entry : fs::directory_iterator(kFuzzFolder / "expected")) {
    if (entry.path().extension() != ".txt") continue;
    std::vector<Pin>& pins = tables[entry.path().stem().string()];
    std::ifstream file(entry.path());
    std::set<std::string> seen;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream fields(line);
      Pin pin;
      std::string extra;
      if (!(fields >> pin.path >> pin.status) || (fields >> extra)) {
        ADD_FAILURE() << entry.path() << ":" << number << ": not \"path  status\": " << line;
      } else if (!seen.insert(pin.path).second) {
        ADD_FAILURE() << entry.path() << ":" << number << ": " << pin.path << " is listed twice";
      } else {
        pins.push_back(pin);
      }
    }
  }
  return tables;
}

// The buffer is exactly as large as the file, as libFuzzer's copy of an input is, so that the address
// sanitizer sees a read of even one byte past the end.
bool ReadBytes(const fs::path& path, std::vector<uint8_t>& bytes) {
  std::error_code error;
  const uintmax_t size = fs::file_size(path, error);
  std::ifstream file(path, std::ios::binary);
  if (error || !file) return false;
  bytes = std::vector<uint8_t>(size);
  return bool(file.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size)));
}

TEST(FuzzReplayTest, EveryPinnedInputGivesItsStatus) {
  const auto tables = ReadTables();
  ASSERT_FALSE(tables.empty());
  for (const auto& [name, pins] : tables) {
    SCOPED_TRACE("expected/" + name + ".txt");
    const FuzzTarget* target = FindFuzzTarget(name);
    ASSERT_NE(target, nullptr) << "no fuzz target named " << name;
    std::string changed;
    for (const Pin& pin : pins) {
      std::vector<uint8_t> bytes;
      if (!ReadBytes(kFuzzFolder / pin.path, bytes)) {
        ADD_FAILURE() << pin.path << " is listed but cannot be read";
        continue;
      }
      const std::string status = target->body(bytes);
      if (status != pin.status)
        changed += "  " + pin.path + "  " + status + "  (pinned " + pin.status + ")\n";
    }
    EXPECT_TRUE(changed.empty()) << "inputs whose status changed:\n" << changed;
  }
}

TEST(FuzzReplayTest, EveryInputIsPinned) {
  std::set<std::string> pinned;
  for (const auto& [name, pins] : ReadTables()) {
    for (const Pin& pin : pins) pinned.insert(pin.path);
  }
  std::string unlisted;
  for (const char* folder : kInputFolders) {
    if (!fs::exists(kFuzzFolder / folder)) continue;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kFuzzFolder / folder)) {
      if (!entry.is_regular_file()) continue;
      const std::string path = entry.path().lexically_relative(kFuzzFolder).generic_string();
      if (pinned.count(path)) continue;
      // What each target makes of it, so that the right line can be copied into its table.
      std::vector<uint8_t> bytes;
      ReadBytes(entry.path(), bytes);
      unlisted += "  " + path + "\n";
      for (const FuzzTarget& target : FuzzTargets())
        unlisted += "      " + std::string(target.name) + ": " + target.body(bytes) + "\n";
    }
  }
  EXPECT_TRUE(unlisted.empty()) << "inputs no table in tests/fuzz/expected lists:\n" << unlisted;
}

}  // namespace
}  // namespace Quarlo::Fuzz
