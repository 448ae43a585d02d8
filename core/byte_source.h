#pragma once
// Positioned reads from a file or from memory. The size is taken once when the source is opened,
// and every read is checked against it, so a file that grows later is read as it was.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace Quarlo::View {

class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // The size known at open; the archive reader checks every directory offset against it.
  virtual uint64_t Size() const = 0;

  // Fills out with the bytes at offset. False when offset + out.size() lies past Size(), or a read
  // fails or ends early. Reads are positioned and change no state, so the archive reader calls it
  // from several loader threads at once without a lock.
  virtual bool ReadAt(uint64_t offset, std::span<uint8_t> out) const = 0;
};

// A file opened read-only; nullptr when it cannot be opened or sized.
std::unique_ptr<ByteSource> OpenFileByteSource(const std::string& path);

// Bytes held in memory (tests and fuzzing read archives without a disk).
std::unique_ptr<ByteSource> MemoryByteSource(std::vector<uint8_t> bytes);

}  // namespace Quarlo::View
