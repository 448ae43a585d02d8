#include "support/zip_builder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>

namespace Quarlo::Test {

namespace {

constexpr uint32_t kSaturated = 0xFFFFFFFF;

void PutBytes(std::vector<uint8_t>& out, std::span<const uint8_t> bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

std::vector<uint8_t> Payload(const ZipTestEntry& entry) {
  return entry.method == 8 ? RawDeflate(entry.data) : entry.data;
}

uint32_t Narrow(uint64_t value) { return value >= kSaturated ? kSaturated : static_cast<uint32_t>(value); }

}  // namespace

void PutU16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  PutU16(out, static_cast<uint16_t>(value));
  PutU16(out, static_cast<uint16_t>(value >> 16));
}

void PutU64(std::vector<uint8_t>& out, uint64_t value) {
  PutU32(out, static_cast<uint32_t>(value));
  PutU32(out, static_cast<uint32_t>(value >> 32));
}

std::vector<uint8_t> BytesOf(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> ExtraField(uint16_t id, std::span<const uint8_t> data) {
  std::vector<uint8_t> out;
  PutU16(out, id);
  PutU16(out, static_cast<uint16_t>(data.size()));
  PutBytes(out, data);
  return out;
}

std::vector<uint8_t> UnicodePathExtra(std::string_view crcName, std::string_view utf8Name, uint8_t version) {
  std::vector<uint8_t> data = {version};
  PutU32(data,
         static_cast<uint32_t>(crc32_z(0, reinterpret_cast<const Bytef*>(crcName.data()), crcName.size())));
  PutBytes(data, BytesOf(utf8Name));
  return ExtraField(0x7075, data);
}

std::vector<uint8_t> RawDeflate(std::span<const uint8_t> data, int level) {
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::vector<uint8_t> out(deflateBound(&stream, data.size()));
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

ZipImage BuildZip(const std::vector<ZipTestEntry>& entries, const ZipTestOptions& options) {
  ZipImage image;
  std::vector<uint8_t>& out = image.bytes;
  std::vector<uint8_t> directory;
  for (const ZipTestEntry& entry : entries) {
    std::vector<uint8_t> payload = Payload(entry);
    uint32_t realCrc = static_cast<uint32_t>(crc32_z(0, entry.data.data(), entry.data.size()));
    uint64_t offset = out.size();
    image.localOffsets.push_back(offset);

    PutU32(out, 0x04034b50);
    PutU16(out, 20);
    PutU16(out, entry.flags);
    PutU16(out, entry.method);
    PutU16(out, entry.dosTime);
    PutU16(out, entry.dosDate);
    PutU32(out, realCrc);
    PutU32(out, Narrow(payload.size()));
    PutU32(out, Narrow(entry.data.size()));
    PutU16(out, static_cast<uint16_t>(entry.name.size()));
    PutU16(out, 0);
    PutBytes(out, BytesOf(entry.name));
    PutBytes(out, payload);

    uint64_t usize = entry.usize.value_or(entry.data.size());
    uint64_t csize = entry.csize.value_or(payload.size());
    uint64_t localOffset = entry.localOffset.value_or(offset);
    std::vector<uint8_t> extra;
    if (entry.zip64) {
      std::vector<uint8_t> values;
      PutU64(values, usize);
      PutU64(values, csize);
      PutU64(values, localOffset);
      extra = ExtraField(0x0001, values);
    }
    PutBytes(extra, entry.extra);

    PutU32(directory, 0x02014b50);
    PutU16(directory, 0x031E);
    PutU16(directory, 20);
    PutU16(directory, entry.flags);
    PutU16(directory, entry.method);
    PutU16(directory, entry.dosTime);
    PutU16(directory, entry.dosDate);
    PutU32(directory, entry.crc.value_or(realCrc));
    PutU32(directory, entry.zip64 ? kSaturated : static_cast<uint32_t>(csize));
    PutU32(directory, entry.zip64 ? kSaturated : static_cast<uint32_t>(usize));
    PutU16(directory, static_cast<uint16_t>(entry.name.size()));
    PutU16(directory, static_cast<uint16_t>(extra.size()));
    PutU16(directory, 0);
    PutU16(directory, 0);
    PutU16(directory, 0);
    PutU32(directory, entry.externalAttributes);
    PutU32(directory, entry.zip64 ? kSaturated : static_cast<uint32_t>(localOffset));
    PutBytes(directory, BytesOf(entry.name));
    PutBytes(directory, extra);
  }
  image.directoryOffset = out.size();
  image.directorySize = directory.size();
  PutBytes(out, directory);

  if (options.zip64End) {
    uint64_t recordOffset = out.size();
    PutU32(out, 0x06064b50);
    PutU64(out, 44);
    PutU16(out, 45);
    PutU16(out, 45);
    PutU32(out, options.zip64Disk);
    PutU32(out, options.zip64DirectoryDisk);
    PutU64(out, entries.size());
    PutU64(out, entries.size());
    PutU64(out, image.directorySize);
    PutU64(out, image.directoryOffset);
    PutU32(out, 0x07064b50);
    PutU32(out, 0);
    PutU64(out, recordOffset);
    PutU32(out, 1);
  }
  PutU32(out, 0x06054b50);
  PutU16(out, options.endDisk);
  PutU16(out, options.endDirectoryDisk);
  uint16_t count = options.zip64End ? 0xFFFF : static_cast<uint16_t>(entries.size());
  PutU16(out, count);
  PutU16(out, count);
  PutU32(out, options.zip64End ? kSaturated : static_cast<uint32_t>(image.directorySize));
  PutU32(out, options.zip64End ? kSaturated : static_cast<uint32_t>(image.directoryOffset));
  PutU16(out, static_cast<uint16_t>(options.comment.size()));
  PutBytes(out, BytesOf(options.comment));
  return image;
}

void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  ASSERT_TRUE(file.good()) << "cannot write " << path;
}

}  // namespace Quarlo::Test
