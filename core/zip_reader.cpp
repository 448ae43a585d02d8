#include "core/zip_reader.h"

#include <libdeflate.h>

#include <algorithm>
#include <memory>
#include <span>

#include "core/byte_source.h"
#include "core/code_page.h"
#include "core/zip_directory.h"
#include "platform/byte_cursor.h"

namespace Quarlo::View {

using Platform::ByteCursor;

namespace {

constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflate = 8;
// Deflate cannot expand data by more than 1032:1 (a 258-byte match in two bits); the slack covers
// block headers. A larger declared size cannot be reached, so it fails before its buffer is made.
constexpr uint64_t kMaxDeflateRatio = 1032;
constexpr uint64_t kDeflateSlack = 1024;

// Reads the data of an entry after checking its local header and that the data lies in the file.
ZipDetail ReadEntryData(const ByteSource& source, const ZipEntry& entry, std::vector<uint8_t>& data) {
  uint8_t header[kZipLocalHeaderSize];
  if (!source.ReadAt(entry.localHeaderOffset, header)) return ZipDetail::BadLocalHeader;
  ByteCursor cursor(header);
  if (cursor.U32() != kZipLocalSignature) return ZipDetail::BadLocalHeader;
  cursor.Skip(22);
  uint64_t skip = kZipLocalHeaderSize + uint64_t{cursor.U16()};
  skip += cursor.U16();
  // The header was read, so its offset lies inside the file and the sum cannot overflow. The
  // range is checked before the buffer is made, so a tiny file cannot ask for gigabytes.
  uint64_t dataOffset = entry.localHeaderOffset + skip;
  if (dataOffset > source.Size() || entry.csize > source.Size() - dataOffset)
    return ZipDetail::DataOutsideFile;
  data.resize(entry.csize);
  return source.ReadAt(dataOffset, data) ? ZipDetail::None : ZipDetail::DataUnreadable;
}

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* decompressor) const { libdeflate_free_decompressor(decompressor); }
};

// Inflates the raw deflate stream of a whole entry in one call into a buffer of its declared size.
// Given no room to report another size, libdeflate succeeds only when the stream fills the buffer
// exactly: a stream that ends short and one that would write more both fail. A decompressor is
// made per call: one must not be shared between threads, and making it is a small allocation
// next to inflating an entry.
bool Inflate(std::span<const uint8_t> input, uint64_t usize, std::vector<uint8_t>& output) {
  std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(libdeflate_alloc_decompressor());
  if (!decompressor) return false;
  output.resize(usize);
  return libdeflate_deflate_decompress(decompressor.get(), input.data(), input.size(), output.data(),
                                       output.size(), nullptr) == LIBDEFLATE_SUCCESS;
}

// The checks that need only the directory's values, before anything is read or allocated.
ZipDetail CheckEntry(const ZipEntry& entry) {
  if (entry.encrypted) return ZipDetail::Encrypted;
  if (entry.method != kMethodStored && entry.method != kMethodDeflate) return ZipDetail::UnsupportedMethod;
  if (entry.usize > kZipMaxEntryUncompressed || entry.csize > kZipMaxEntryCompressed) {
    return ZipDetail::EntryTooLarge;
  }
  if (entry.method == kMethodDeflate && entry.usize > entry.csize * kMaxDeflateRatio + kDeflateSlack) {
    return ZipDetail::ImpossibleRatio;
  }
  if (entry.method == kMethodStored && entry.usize != entry.csize) return ZipDetail::StoredSizesDiffer;
  return ZipDetail::None;
}

// Reads the data straight into the caller's vector, so a stored entry is never copied again.
ZipDetail Extract(const ByteSource& source, const ZipEntry& entry, std::vector<uint8_t>& bytes) {
  if (ZipDetail refused = CheckEntry(entry); refused != ZipDetail::None) return refused;
  if (ZipDetail refused = ReadEntryData(source, entry, bytes); refused != ZipDetail::None) return refused;
  return DecodeEntryData(entry, bytes);
}

}  // namespace

ZipStatus ZipStatusOf(ZipDetail detail) {
  switch (detail) {
    case ZipDetail::None:
      return ZipStatus::Ok;
    case ZipDetail::FileUnreadable:
    case ZipDetail::NoSuchEntry:
      return ZipStatus::CannotRead;
    case ZipDetail::TooShort:
    case ZipDetail::TailUnreadable:
    case ZipDetail::NoEndRecord:
      return ZipStatus::NotZip;
    case ZipDetail::Encrypted:
      return ZipStatus::Encrypted;
    case ZipDetail::UnsupportedMethod:
      return ZipStatus::UnsupportedMethod;
    case ZipDetail::EntryTooLarge:
      return ZipStatus::TooLarge;
    case ZipDetail::SplitArchive:
    case ZipDetail::DirectoryOutsideFile:
    case ZipDetail::DirectoryTooLarge:
    case ZipDetail::DirectoryUnreadable:
    case ZipDetail::RecordPastDirectory:
    case ZipDetail::ImpossibleRatio:
    case ZipDetail::StoredSizesDiffer:
    case ZipDetail::BadLocalHeader:
    case ZipDetail::DataOutsideFile:
    case ZipDetail::DataUnreadable:
    case ZipDetail::InflateFailed:
    case ZipDetail::CrcMismatch:
      return ZipStatus::Damaged;
  }
  return ZipStatus::Damaged;
}

ZipDetail DecodeEntryData(const ZipEntry& entry, std::vector<uint8_t>& bytes) {
  if (entry.method == kMethodDeflate) {
    std::vector<uint8_t> content;
    if (!Inflate(bytes, entry.usize, content)) return ZipDetail::InflateFailed;
    bytes.swap(content);
  }
  return ZipCrc32(bytes) == entry.crc ? ZipDetail::None : ZipDetail::CrcMismatch;
}

ZipReader::ZipReader() = default;

ZipReader::~ZipReader() = default;

ZipStatus ZipReader::Open(const std::string& path) {
  return ZipStatusOf(OpenSource(OpenFileByteSource(path), path));
}

ZipStatus ZipReader::OpenBytes(std::vector<uint8_t> bytes, const std::string& path) {
  return ZipStatusOf(OpenSource(MemoryByteSource(std::move(bytes)), path));
}

ZipDetail ZipReader::OpenSource(std::unique_ptr<ByteSource> source, const std::string& path) {
  std::lock_guard lock(mutex_);
  CloseLocked();
  if (!source) return ZipDetail::FileUnreadable;
  return OpenLocked(std::move(source), path);
}

ZipDetail ZipReader::OpenLocked(std::unique_ptr<ByteSource> source, const std::string& path) {
  source_ = std::move(source);
  path_ = path;
  ZipDetail detail = ReadDirectory();
  if (detail != ZipDetail::None) CloseLocked();
  return detail;
}

ZipDetail ZipReader::ReadDirectory() {
  uint64_t fileSize = source_->Size();
  std::vector<uint8_t> tail(std::min<uint64_t>(fileSize, kZipMaxTail));
  if (tail.size() < kZipEndRecordSize) return ZipDetail::TooShort;
  if (!source_->ReadAt(fileSize - tail.size(), tail)) return ZipDetail::TailUnreadable;
  std::optional<size_t> endPosition = FindEndRecord(tail);
  if (!endPosition) return ZipDetail::NoEndRecord;

  ZipDirectoryInfo info = ReadEndRecord(tail, *endPosition);
  uint64_t prefix = 0;
  bool zip64 = false;
  if (std::optional<uint64_t> zip64Offset = FindZip64EndOffset(tail, *endPosition)) {
    uint8_t record[kZip64EndReadSize];
    zip64 = source_->ReadAt(*zip64Offset, record) && ReadZip64End(record, info);
  }
  // A segment of a split archive (zip -s) holds only part of the directory and of the entries, at
  // offsets that count from other files; unzip refuses it as well.
  if (info.IsSplit()) return ZipDetail::SplitArchive;
  if (!zip64) prefix = PrependedBytes(info, fileSize - tail.size() + *endPosition);
  info.offset += prefix;
  if (info.offset > fileSize || info.size > fileSize - info.offset) return ZipDetail::DirectoryOutsideFile;
  if (info.size > kZipMaxDirectorySize) return ZipDetail::DirectoryTooLarge;
  std::vector<uint8_t> directory(info.size);
  if (!source_->ReadAt(info.offset, directory)) return ZipDetail::DirectoryUnreadable;
  ZipDetail detail = ParseCentralDirectory(directory, info.entryCount, SystemCodePage(), entries_);
  if (prefix != 0) {
    for (ZipEntry& entry : entries_) entry.localHeaderOffset += prefix;
  }
  return detail;
}

// Self-extracting archives, and archives glued behind other data with `cat`, keep the offsets the
// archiver wrote: every one is short by the length of what came before. The directory then ends
// later than announced, right before the end record, which is where it is looked for instead, as
// unzip does. Only when the announced place holds no directory, so honest archives are untouched.
uint64_t ZipReader::PrependedBytes(const ZipDirectoryInfo& info, uint64_t endRecordOffset) {
  if (info.size < kZipCentralHeaderSize || info.size > endRecordOffset) return 0;
  uint64_t found = endRecordOffset - info.size;
  if (found <= info.offset) return 0;
  uint8_t signature[4];
  auto directoryAt = [&](uint64_t offset) {
    return source_->ReadAt(offset, signature) && ByteCursor(signature).U32() == kZipCentralSignature;
  };
  if (directoryAt(info.offset) || !directoryAt(found)) return 0;
  return found - info.offset;
}

void ZipReader::Close() {
  std::lock_guard lock(mutex_);
  CloseLocked();
}

void ZipReader::CloseLocked() {
  source_.reset();
  entries_.clear();
}

ZipStatus ZipReader::ReadEntry(uint64_t index, std::vector<uint8_t>& bytes) {
  return ZipStatusOf(ReadEntryDetail(index, bytes));
}

ZipDetail ZipReader::ReadEntryDetail(uint64_t index, std::vector<uint8_t>& bytes) {
  bytes.clear();
  // The lock covers only the table: the read, the inflate and the CRC run unlocked, so the
  // thumbnail lane never waits behind a whole page. The shared source outlives a Close or a new
  // Open that happens meanwhile.
  std::shared_ptr<const ByteSource> source;
  ZipEntry entry;
  {
    std::lock_guard lock(mutex_);
    if (!source_ || index >= entries_.size()) return ZipDetail::NoSuchEntry;
    source = source_;
    entry = entries_[index];
  }
  ZipDetail detail = Extract(*source, entry, bytes);
  if (detail != ZipDetail::None) bytes.clear();
  return detail;
}

}  // namespace Quarlo::View
