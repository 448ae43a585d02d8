// Feeds arbitrary bytes to the ZIP reader as an archive and extracts every entry it lists, checking
// what each extraction leaves in its output.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/zip_reader.h"

namespace {

// Enough to reach every status without letting one input spend seconds on thousands of entries.
constexpr size_t kMaxEntriesRead = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Quarlo::View::ZipReader reader;
  if (reader.OpenBytes(std::vector<uint8_t>(data, data + size)) != Quarlo::View::ZipStatus::Ok) return 0;
  size_t count = std::min(reader.Entries().size(), kMaxEntriesRead);
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < count; ++i) {
    // Content that passed has its declared size; a refused entry leaves nothing behind.
    bool ok = reader.ReadEntry(i, bytes) == Quarlo::View::ZipStatus::Ok;
    if (ok ? bytes.size() != reader.Entries()[i].usize : !bytes.empty()) __builtin_trap();
  }
  return 0;
}
