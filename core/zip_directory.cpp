#include "core/zip_directory.h"

#include <libdeflate.h>

#include <algorithm>
#include <string_view>

#include "core/code_page.h"
#include "core/file_time.h"
#include "platform/byte_cursor.h"

namespace Quarlo::View {

using Platform::ByteCursor;

namespace {

constexpr uint16_t kUtf8NameFlag = 0x0800;
constexpr uint16_t kEncryptedFlag = 0x0001;
constexpr uint32_t kDosDirectoryAttribute = 0x10;
constexpr uint32_t kSaturated32 = 0xFFFFFFFF;
constexpr uint16_t kZip64ExtraId = 0x0001;
constexpr uint16_t kUnicodePathExtraId = 0x7075;
constexpr uint8_t kUnicodePathVersion = 1;

uint32_t Signature(std::span<const uint8_t> bytes, size_t position) {
  ByteCursor cursor(bytes, position);
  return cursor.U32();
}

// Length of the UTF-8 sequence a lead byte starts that the name scan accepts, or 0 for a bad lead.
size_t SequenceLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// True when the name scans as UTF-8 and holds at least one multi-byte sequence.
bool LooksLikeUtf8(std::span<const uint8_t> raw) {
  bool multiByte = false;
  size_t i = 0;
  while (i < raw.size()) {
    size_t length = SequenceLength(raw[i]);
    if (length == 0 || length > raw.size() - i) return false;
    for (size_t k = 1; k < length; ++k) {
      if (raw[i + k] < 0x80 || raw[i + k] > 0xBF) return false;
    }
    multiByte = multiByte || length > 1;
    i += length;
  }
  return multiByte;
}

// The ZIP64 extra field holds 8-byte values only for the header fields saturated at 0xFFFFFFFF,
// in this order, as far as its data reaches.
void ApplyZip64Extra(std::span<const uint8_t> data, ZipEntry& entry) {
  ByteCursor cursor(data);
  for (uint64_t* field : {&entry.usize, &entry.csize, &entry.localHeaderOffset}) {
    if (*field != kSaturated32) continue;
    if (cursor.Remaining() < 8) return;
    *field = cursor.U64();
  }
}

// The Info-ZIP Unicode path field names the entry in UTF-8 as long as it belongs to the stored name:
// it keeps that name's CRC-32, and a tool that renames the entry in its header alone leaves the
// field of the old name behind, which must then be ignored.
void ApplyUnicodePath(std::span<const uint8_t> data, std::span<const uint8_t> storedName, ZipEntry& entry) {
  ByteCursor cursor(data);
  std::span<const uint8_t> version = cursor.Bytes(1);
  uint32_t nameCrc = cursor.U32();
  if (!cursor.Ok() || version[0] != kUnicodePathVersion || cursor.Remaining() == 0) return;
  if (nameCrc != ZipCrc32(storedName)) return;
  entry.name = DecodeUtf8(cursor.Bytes(cursor.Remaining()));
}

void ApplyExtraFields(std::span<const uint8_t> extra, std::span<const uint8_t> storedName, ZipEntry& entry) {
  ByteCursor cursor(extra);
  while (cursor.Remaining() >= 4) {
    uint16_t id = cursor.U16();
    uint16_t length = cursor.U16();
    std::span<const uint8_t> data = cursor.Bytes(length);
    if (!cursor.Ok()) return;
    if (id == kZip64ExtraId) {
      ApplyZip64Extra(data, entry);
    } else if (id == kUnicodePathExtraId) {
      ApplyUnicodePath(data, storedName, entry);
    }
  }
}

}  // namespace

std::optional<size_t> FindEndRecord(std::span<const uint8_t> tail) {
  if (tail.size() < kZipEndRecordSize) return std::nullopt;
  for (size_t position = tail.size() - kZipEndRecordSize + 1; position-- > 0;) {
    if (tail[position] == 0x50 && Signature(tail, position) == kZipEndSignature) return position;
  }
  return std::nullopt;
}

ZipDirectoryInfo ReadEndRecord(std::span<const uint8_t> tail, size_t position) {
  ByteCursor cursor(tail, position + 4);
  ZipDirectoryInfo info;
  info.disk = cursor.U16();
  info.directoryDisk = cursor.U16();
  cursor.Skip(2);
  info.entryCount = cursor.U16();
  info.size = cursor.U32();
  info.offset = cursor.U32();
  return info;
}

std::optional<uint64_t> FindZip64EndOffset(std::span<const uint8_t> tail, size_t endPosition) {
  if (endPosition < kZip64LocatorSize) return std::nullopt;
  ByteCursor cursor(tail, endPosition - kZip64LocatorSize);
  if (cursor.U32() != kZip64LocatorSignature) return std::nullopt;
  cursor.Skip(4);
  return cursor.U64();
}

bool ReadZip64End(std::span<const uint8_t> record, ZipDirectoryInfo& info) {
  ByteCursor cursor(record);
  if (cursor.U32() != kZip64EndSignature) return false;
  cursor.Skip(12);
  ZipDirectoryInfo read;
  read.disk = cursor.U32();
  read.directoryDisk = cursor.U32();
  cursor.Skip(8);
  read.entryCount = cursor.U64();
  read.size = cursor.U64();
  read.offset = cursor.U64();
  if (!cursor.Ok()) return false;
  info = read;
  return true;
}

std::string DecodeEntryName(std::span<const uint8_t> raw, bool utf8Flag, CodePageDecoder& decoder) {
  if (utf8Flag || LooksLikeUtf8(raw)) return DecodeUtf8(raw);
  return decoder.Decode(raw);
}

uint32_t ZipCrc32(std::span<const uint8_t> bytes) { return libdeflate_crc32(0, bytes.data(), bytes.size()); }

int64_t DosDateTimeToFileTime(uint16_t date, uint16_t time) {
  int year = (date >> 9) + 1980;
  int month = (date >> 5) & 15;
  int day = date & 31;
  int hour = time >> 11;
  int minute = (time >> 5) & 63;
  int second = (time & 31) * 2;
  return FileTimeFromCalendar(year, month, day, hour, minute, second).value_or(0);
}

ZipDetail ParseCentralDirectory(std::span<const uint8_t> directory, uint64_t entryCount, int codePage,
                                std::vector<ZipEntry>& entries) {
  // Every record takes at least a header's worth of bytes, so a large count in a small directory
  // reserves no more than the directory can hold.
  entries.reserve(std::min(
      {entryCount, kZipMaxReservedEntries, static_cast<uint64_t>(directory.size() / kZipCentralHeaderSize)}));
  CodePageDecoder decoder(codePage);
  size_t position = 0;
  while (directory.size() - position >= kZipCentralHeaderSize) {
    ByteCursor cursor(directory, position);
    if (cursor.U32() != kZipCentralSignature) return ZipDetail::None;
    cursor.Skip(4);
    uint16_t flags = cursor.U16();
    ZipEntry entry;
    entry.method = cursor.U16();
    uint16_t dosTime = cursor.U16();
    uint16_t dosDate = cursor.U16();
    entry.crc = cursor.U32();
    entry.csize = cursor.U32();
    entry.usize = cursor.U32();
    uint16_t nameLength = cursor.U16();
    uint16_t extraLength = cursor.U16();
    uint16_t commentLength = cursor.U16();
    cursor.Skip(4);
    uint32_t externalAttributes = cursor.U32();
    entry.localHeaderOffset = cursor.U32();
    size_t recordEnd = position + kZipCentralHeaderSize + nameLength + extraLength + commentLength;
    if (recordEnd > directory.size()) return ZipDetail::RecordPastDirectory;
    std::span<const uint8_t> name = cursor.Bytes(nameLength);
    std::span<const uint8_t> extra = cursor.Bytes(extraLength);

    entry.encrypted = (flags & kEncryptedFlag) != 0;
    entry.name = DecodeEntryName(name, (flags & kUtf8NameFlag) != 0, decoder);
    ApplyExtraFields(extra, name, entry);
    std::replace(entry.name.begin(), entry.name.end(), '\\', '/');
    entry.isDirectory = entry.name.ends_with('/') || (externalAttributes & kDosDirectoryAttribute) != 0;
    entry.modified = DosDateTimeToFileTime(dosDate, dosTime);
    entries.push_back(std::move(entry));
    position = recordEnd;
  }
  return ZipDetail::None;
}

}  // namespace Quarlo::View
