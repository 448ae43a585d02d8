#pragma once
// Builds ZIP archives byte by byte for tests, including archives that lie: any central-directory
// field can be overridden, so each test shows one defect.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Quarlo::Test {

inline constexpr uint16_t kDosDate2024Jan2 = (44 << 9) | (1 << 5) | 2;  // 2024-01-02
inline constexpr uint16_t kDosTime103004 = (10 << 11) | (30 << 5) | 2;  // 10:30:04

struct ZipTestEntry {
  std::string name;           // the stored name bytes, in whatever encoding the test wants
  std::vector<uint8_t> data;  // uncompressed content
  uint16_t method = 0;        // 0 stored; 8 deflated by the builder; anything else stores data as is
  uint16_t flags = 0;
  uint16_t dosDate = kDosDate2024Jan2;
  uint16_t dosTime = kDosTime103004;
  uint32_t externalAttributes = 0;
  std::vector<uint8_t> extra;  // extra fields appended in the central header
  // Central-directory values written instead of the true ones.
  std::optional<uint32_t> crc;
  std::optional<uint64_t> usize;
  std::optional<uint64_t> csize;
  std::optional<uint64_t> localOffset;
  // Saturates sizes and offset at 0xFFFFFFFF and gives them in a ZIP64 extra field.
  bool zip64 = false;
};

struct ZipTestOptions {
  std::string comment;
  // Writes a ZIP64 end record and locator, and saturates the classic end record's values.
  bool zip64End = false;
  // This disk's number and the number of the disk where the directory starts, as the last segment
  // of a split archive carries them: in the classic end record and in the ZIP64 one.
  uint16_t endDisk = 0;
  uint16_t endDirectoryDisk = 0;
  uint32_t zip64Disk = 0;
  uint32_t zip64DirectoryDisk = 0;
};

struct ZipImage {
  std::vector<uint8_t> bytes;
  uint64_t directoryOffset = 0;
  uint64_t directorySize = 0;
  std::vector<uint64_t> localOffsets;
};

ZipImage BuildZip(const std::vector<ZipTestEntry>& entries, const ZipTestOptions& options = {});

// Raw deflate (no zlib header), as ZIP stores it.
std::vector<uint8_t> RawDeflate(std::span<const uint8_t> data, int level = 6);

std::vector<uint8_t> BytesOf(std::string_view text);

// An extra field record: id, length, data.
std::vector<uint8_t> ExtraField(uint16_t id, std::span<const uint8_t> data);

// An Info-ZIP Unicode path extra field (0x7075) giving utf8Name, written for a header whose name was
// crcName: the field keeps that name's CRC-32, so a later rename of the header leaves it stale.
std::vector<uint8_t> UnicodePathExtra(std::string_view crcName, std::string_view utf8Name,
                                      uint8_t version = 1);

void PutU16(std::vector<uint8_t>& out, uint16_t value);
void PutU32(std::vector<uint8_t>& out, uint32_t value);
void PutU64(std::vector<uint8_t>& out, uint64_t value);

// Writes bytes to a file, replacing it; fails the current test when that is not possible.
void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace Quarlo::Test
