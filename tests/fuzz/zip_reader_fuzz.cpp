// Arbitrary bytes to the ZIP reader as an archive; every entry it lists is extracted, and what each
// extraction leaves is checked. Status: the open status, then each read entry's, e.g. "Ok:Ok,Encrypted".

#include <algorithm>
#include <vector>

#include "core/zip_reader.h"
#include "tests/fuzz/fuzz_targets.h"

namespace Quarlo::Fuzz {

namespace {

using View::ZipStatus;

// Enough to reach every status without letting one input spend seconds on thousands of entries.
constexpr size_t kMaxEntriesRead = 64;

std::string_view ZipStatusName(ZipStatus status) {
  switch (status) {
    case ZipStatus::Ok:
      return "Ok";
    case ZipStatus::CannotRead:
      return "CannotRead";
    case ZipStatus::NotZip:
      return "NotZip";
    case ZipStatus::Damaged:
      return "Damaged";
    case ZipStatus::Encrypted:
      return "Encrypted";
    case ZipStatus::UnsupportedMethod:
      return "UnsupportedMethod";
    case ZipStatus::TooLarge:
      return "TooLarge";
  }
  return "Unknown";
}

}  // namespace

std::string ZipReaderFuzz(FuzzInput input) {
  View::ZipReader reader;
  const ZipStatus opened = reader.OpenBytes(std::vector<uint8_t>(input.begin(), input.end()));
  std::string status(ZipStatusName(opened));
  if (opened != ZipStatus::Ok) return status;
  const size_t count = std::min(reader.Entries().size(), kMaxEntriesRead);
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < count; ++i) {
    const ZipStatus read = reader.ReadEntry(i, bytes);
    // Content that passed has its declared size; a refused entry leaves nothing behind.
    if (read == ZipStatus::Ok ? bytes.size() != reader.Entries()[i].usize : !bytes.empty())
      Violated("an extraction left the wrong number of bytes");
    status += (i == 0 ? ":" : ",") + std::string(ZipStatusName(read));
  }
  return status;
}

}  // namespace Quarlo::Fuzz
