#pragma once
// Parsing of the ZIP end records and the central directory, on bytes already read. Kept apart from
// the file access so that tests and the fuzzer can feed it spans directly.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/zip_reader.h"

namespace Quarlo::View {

class CodePageDecoder;

inline constexpr uint32_t kZipEndSignature = 0x06054b50;
inline constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
inline constexpr uint32_t kZip64EndSignature = 0x06064b50;
inline constexpr uint32_t kZipCentralSignature = 0x02014b50;
inline constexpr uint32_t kZipLocalSignature = 0x04034b50;

inline constexpr size_t kZipEndRecordSize = 22;
inline constexpr size_t kZip64LocatorSize = 20;
inline constexpr size_t kZip64EndReadSize = 56;
inline constexpr size_t kZipCentralHeaderSize = 46;
inline constexpr size_t kZipLocalHeaderSize = 30;
// The end record may be followed by a comment of up to 65,535 bytes, and preceded by the locator.
inline constexpr size_t kZipMaxTail = 65535 + kZipEndRecordSize + kZip64LocatorSize;
// The entry count is only a hint for reserving memory; this caps the hint.
inline constexpr uint64_t kZipMaxReservedEntries = 1u << 20;

// Where the central directory lies, as the end records announce it. Both disk numbers are 0 in
// every archive that is one whole file.
struct ZipDirectoryInfo {
  uint64_t entryCount = 0;
  uint64_t size = 0;
  uint64_t offset = 0;
  uint32_t disk = 0;           // the number of the file holding the end record
  uint32_t directoryDisk = 0;  // the number of the file where the directory starts

  bool IsSplit() const { return disk != 0 || directoryDisk != 0; }
};

// The position of the end record in the file's tail: the last one, searching backwards.
std::optional<size_t> FindEndRecord(std::span<const uint8_t> tail);

// Count, size, offset and disk numbers of the end record found at position in tail.
ZipDirectoryInfo ReadEndRecord(std::span<const uint8_t> tail, size_t position);

// The ZIP64 end record's file offset, when a locator lies directly before the end record.
std::optional<uint64_t> FindZip64EndOffset(std::span<const uint8_t> tail, size_t endPosition);

// Takes count, size, offset and disk numbers from the first 56 bytes of a ZIP64 end record; false
// (info untouched) when the bytes do not begin with its signature.
bool ReadZip64End(std::span<const uint8_t> record, ZipDirectoryInfo& info);

// Walks the central directory and appends its entries. None when the walk ends at a foreign
// signature or too close to the end for another header; RecordPastDirectory when a record runs past
// the directory.
ZipDetail ParseCentralDirectory(std::span<const uint8_t> directory, uint64_t entryCount, int codePage,
                                std::vector<ZipEntry>& entries);

// A stored name as UTF-8: flagged names are UTF-8; otherwise names that are well-formed UTF-8 with at
// least one multi-byte sequence are too, and the rest (ASCII included) use the code page.
std::string DecodeEntryName(std::span<const uint8_t> raw, bool utf8Flag, CodePageDecoder& decoder);

// The standard CRC-32 (initial value 0) that ZIP keeps for entry data and names.
uint32_t ZipCrc32(std::span<const uint8_t> bytes);

// The FILETIME of a DOS date and time word taken as they are; 0 when they name no valid time.
int64_t DosDateTimeToFileTime(uint16_t date, uint16_t time);

}  // namespace Quarlo::View
