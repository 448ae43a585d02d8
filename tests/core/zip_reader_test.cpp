#include "core/zip_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

#include "core/byte_source.h"
#include "core/code_page.h"
#include "core/zip_directory.h"
#include "support/temp_folder.h"
#include "support/zip_builder.h"

namespace Quarlo::View {
namespace {

using Quarlo::Test::BuildZip;
using Quarlo::Test::BytesOf;
using Quarlo::Test::UnicodePathExtra;
using Quarlo::Test::ZipImage;
using Quarlo::Test::ZipTestEntry;
using Quarlo::Test::ZipTestOptions;

std::vector<uint8_t> Repeated(std::string_view text, size_t times) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < times; ++i) out.insert(out.end(), text.begin(), text.end());
  return out;
}

ZipTestEntry Entry(std::string name, std::string_view data, uint16_t method = 0) {
  ZipTestEntry entry;
  entry.name = std::move(name);
  entry.data = BytesOf(data);
  entry.method = method;
  return entry;
}

void PatchU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Offset of the classic end record in a built archive without comment.
size_t EndRecordAt(const ZipImage& image) { return image.bytes.size() - kZipEndRecordSize; }

struct OpenCase {
  const char* what;
  std::vector<uint8_t> bytes;
  ZipStatus status;
  ZipDetail detail;  // the check that must give the status, so a removed guard is noticed
  size_t entries;
};

std::vector<OpenCase> OpenCases() {
  std::vector<OpenCase> cases;
  ZipImage two = BuildZip({Entry("a.jpg", "one"), Entry("b.png", "two")});

  cases.push_back({"21 bytes", std::vector<uint8_t>(21, 0), ZipStatus::NotZip, ZipDetail::TooShort, 0});
  cases.push_back({"empty archive", BuildZip({}).bytes, ZipStatus::Ok, ZipDetail::None, 0});
  cases.push_back({"two entries", two.bytes, ZipStatus::Ok, ZipDetail::None, 2});
  cases.push_back({"a cbz that is a JPEG", Repeated("\xFF\xD8\xFF\xE0 not a zip", 40), ZipStatus::NotZip,
                   ZipDetail::NoEndRecord, 0});

  ZipTestOptions longComment;
  longComment.comment.assign(65535, 'c');
  cases.push_back({"65535-byte comment", BuildZip({Entry("a.jpg", "x")}, longComment).bytes, ZipStatus::Ok,
                   ZipDetail::None, 1});
  std::vector<uint8_t> tooFar = BuildZip({Entry("a.jpg", "x")}, longComment).bytes;
  tooFar.insert(tooFar.end(), 21, 0);
  cases.push_back(
      {"end record beyond the searched tail", tooFar, ZipStatus::NotZip, ZipDetail::NoEndRecord, 0});

  std::vector<uint8_t> offsetOutside = two.bytes;
  PatchU32(offsetOutside, EndRecordAt(two) + 16, static_cast<uint32_t>(two.bytes.size() + 1));
  cases.push_back({"directory offset past the file", offsetOutside, ZipStatus::Damaged,
                   ZipDetail::DirectoryOutsideFile, 0});

  std::vector<uint8_t> sizeOutside = two.bytes;
  PatchU32(sizeOutside, EndRecordAt(two) + 12, static_cast<uint32_t>(two.directorySize + 100));
  cases.push_back(
      {"directory size past the file", sizeOutside, ZipStatus::Damaged, ZipDetail::DirectoryOutsideFile, 0});

  ZipTestEntry longName = Entry("c.jpg", "three");
  ZipImage named = BuildZip({Entry("a.jpg", "one"), longName});
  std::vector<uint8_t> nameOverrun = named.bytes;
  // The second header's name length (header starts after the first record of 46 + 5 bytes).
  size_t second = named.directoryOffset + kZipCentralHeaderSize + 5;
  nameOverrun[second + 28] = 200;
  cases.push_back({"name running past the directory", nameOverrun, ZipStatus::Damaged,
                   ZipDetail::RecordPastDirectory, 0});

  std::vector<uint8_t> foreign = named.bytes;
  PatchU32(foreign, second, 0x12345678);
  cases.push_back(
      {"foreign signature before the announced count", foreign, ZipStatus::Ok, ZipDetail::None, 1});

  std::vector<uint8_t> shortDirectory = two.bytes;
  PatchU32(shortDirectory, EndRecordAt(two) + 12, 45);
  cases.push_back({"directory shorter than one header", shortDirectory, ZipStatus::Ok, ZipDetail::None, 0});

  ZipTestOptions zip64;
  zip64.zip64End = true;
  cases.push_back({"ZIP64 end record", BuildZip({Entry("a.jpg", "one")}, zip64).bytes, ZipStatus::Ok,
                   ZipDetail::None, 1});

  std::vector<uint8_t> zip64Outside = BuildZip({Entry("a.jpg", "one")}, zip64).bytes;
  // The locator's record offset points past the file: the saturated classic values then stand.
  PatchU32(zip64Outside, zip64Outside.size() - kZipEndRecordSize - kZip64LocatorSize + 8, 0x7FFFFFF0);
  // The last segment of a split archive has its directory and its entries' offsets counting from
  // other files: unzip refuses it too, and without the check every picture would fail one by one.
  // Writers that saturate every classic field leave the disk numbers to the ZIP64 record.
  auto withDisks = [](bool zip64End, uint16_t endDisk, uint16_t endDirectoryDisk, uint32_t zip64Disk = 0,
                      uint32_t zip64DirectoryDisk = 0) {
    ZipTestOptions options;
    options.zip64End = zip64End;
    options.endDisk = endDisk;
    options.endDirectoryDisk = endDirectoryDisk;
    options.zip64Disk = zip64Disk;
    options.zip64DirectoryDisk = zip64DirectoryDisk;
    return BuildZip({Entry("a.jpg", "one")}, options).bytes;
  };
  cases.push_back({"last segment of a split archive", withDisks(false, 1, 1), ZipStatus::Damaged,
                   ZipDetail::SplitArchive, 0});
  cases.push_back({"directory starting on an earlier disk", withDisks(false, 1, 0), ZipStatus::Damaged,
                   ZipDetail::SplitArchive, 0});
  cases.push_back({"ZIP64 end record of a split archive", withDisks(true, 0xFFFF, 0xFFFF, 2, 2),
                   ZipStatus::Damaged, ZipDetail::SplitArchive, 0});
  cases.push_back({"ZIP64 directory on another disk", withDisks(true, 0, 0, 0, 1), ZipStatus::Damaged,
                   ZipDetail::SplitArchive, 0});
  cases.push_back(
      {"saturated classic disk numbers", withDisks(true, 0xFFFF, 0xFFFF), ZipStatus::Ok, ZipDetail::None, 1});

  cases.push_back({"ZIP64 locator pointing outside", zip64Outside, ZipStatus::Damaged,
                   ZipDetail::DirectoryOutsideFile, 0});
  return cases;
}

TEST(ZipReaderOpen, ReportsStatusPerArchive) {
  for (OpenCase& c : OpenCases()) {
    ZipReader reader;
    ZipDetail detail = reader.OpenSource(MemoryByteSource(c.bytes));
    EXPECT_EQ(ZipStatusOf(detail), c.status) << c.what;
    EXPECT_EQ(detail, c.detail) << c.what;
    EXPECT_EQ(reader.Entries().size(), c.entries) << c.what;
  }
}

// Self-extractors and `cat stub archive.zip` keep offsets that ignore the stub in front.
TEST(ZipReaderOpen, FindsTheDirectoryBehindPrependedBytes) {
  std::vector<uint8_t> bytes(1000, 0x4D);
  ZipImage image = BuildZip({{.name = "a.jpg", .data = BytesOf("first")},
                             {.name = "b.jpg", .data = BytesOf("second"), .method = 8}});
  bytes.insert(bytes.end(), image.bytes.begin(), image.bytes.end());
  ZipReader reader;
  ASSERT_EQ(reader.OpenBytes(bytes), ZipStatus::Ok);
  ASSERT_EQ(reader.Entries().size(), 2u);
  EXPECT_EQ(reader.Entries()[1].localHeaderOffset, image.localOffsets[1] + 1000);
  std::vector<uint8_t> data;
  ASSERT_EQ(reader.ReadEntry(1, data), ZipStatus::Ok);
  EXPECT_EQ(data, BytesOf("second"));

  // Bytes that merely precede the directory, with a directory where announced, change nothing.
  ZipImage honest = BuildZip({{.name = "c.jpg", .data = BytesOf("third")}});
  ASSERT_EQ(reader.OpenBytes(honest.bytes), ZipStatus::Ok);
  EXPECT_EQ(reader.Entries()[0].localHeaderOffset, honest.localOffsets[0]);
}

TEST(ZipReaderOpen, MissingFileCannotBeRead) {
  Quarlo::Test::TempFolder folder;
  ZipReader reader;
  EXPECT_EQ(reader.Open(folder.At("missing.zip")), ZipStatus::CannotRead);
  EXPECT_EQ(reader.Open(folder.Path()), ZipStatus::CannotRead);  // a folder is not a file
}

TEST(ZipReaderOpen, FailedOpenLeavesTheReaderClosed) {
  Quarlo::Test::TempFolder folder;
  std::string good = folder.AddFile("good.zip", BuildZip({Entry("a.jpg", "one")}).bytes);
  std::string bad = folder.AddFile("bad.cbz", "this is text, not an archive");
  ZipReader reader;
  ASSERT_EQ(reader.Open(good), ZipStatus::Ok);
  EXPECT_EQ(reader.Path(), good);
  ASSERT_EQ(reader.Entries().size(), 1u);
  EXPECT_EQ(reader.Open(bad), ZipStatus::NotZip);
  EXPECT_TRUE(reader.Entries().empty());
  std::vector<uint8_t> bytes;
  EXPECT_EQ(reader.ReadEntry(0, bytes), ZipStatus::CannotRead);
}

TEST(ZipReaderOpen, DirectoryAboveTheCapIsDamagedWithoutBeingRead) {
  // A sparse file larger than the cap whose end record announces a directory just above it.
  Quarlo::Test::TempFolder folder;
  std::string path = folder.At("huge.zip");
  int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(fd, 0);
  uint64_t fileSize = kZipMaxDirectorySize + (1u << 20);
  ASSERT_EQ(ftruncate(fd, static_cast<off_t>(fileSize)), 0);
  std::vector<uint8_t> end;
  Quarlo::Test::PutU32(end, kZipEndSignature);
  Quarlo::Test::PutU32(end, 0);
  Quarlo::Test::PutU16(end, 0);
  Quarlo::Test::PutU16(end, 0);
  Quarlo::Test::PutU32(end, static_cast<uint32_t>(kZipMaxDirectorySize + 1));
  Quarlo::Test::PutU32(end, 0);
  Quarlo::Test::PutU16(end, 0);
  ASSERT_EQ(pwrite(fd, end.data(), end.size(), static_cast<off_t>(fileSize - end.size())),
            static_cast<ssize_t>(end.size()));
  close(fd);
  ZipReader reader;
  EXPECT_EQ(reader.OpenSource(OpenFileByteSource(path)), ZipDetail::DirectoryTooLarge);
}

TEST(ZipReaderEntries, KeepsDirectoryFields) {
  ZipTestEntry folderByName = Entry("pics/", "");
  ZipTestEntry folderByAttribute = Entry("scans", "");
  folderByAttribute.externalAttributes = 0x10;
  ZipTestEntry backslashes = Entry("pics\\sub\\c.jpg", "data", 8);
  ZipTestEntry badDate = Entry("d.jpg", "d");
  badDate.dosDate = (44 << 9) | (0 << 5) | 2;  // month 0
  ZipReader reader;
  ASSERT_EQ(reader.OpenBytes(BuildZip({folderByName, folderByAttribute, backslashes, badDate}).bytes),
            ZipStatus::Ok);
  const std::vector<ZipEntry>& entries = reader.Entries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_TRUE(entries[0].isDirectory);
  EXPECT_TRUE(entries[1].isDirectory);
  EXPECT_EQ(entries[2].name, "pics/sub/c.jpg");
  EXPECT_FALSE(entries[2].isDirectory);
  EXPECT_EQ(entries[2].method, 8);
  EXPECT_EQ(entries[2].usize, 4u);
  EXPECT_EQ(entries[2].modified, 133486650040000000);  // 2024-01-02 10:30:04, no zone applied
  EXPECT_EQ(entries[3].modified, 0);
}

TEST(ZipReaderEntries, DecodesNamesByFlagContentAndUnicodeExtra) {
  ZipTestEntry flagged = Entry("\xEC\x82\xAC\xEC\xA7\x84.jpg", "1");  // 사진 in UTF-8
  flagged.flags = 0x800;
  ZipTestEntry unflaggedUtf8 = Entry("\xEC\x82\xAC\xEC\xA7\x84.png", "2");
  ZipTestEntry flaggedInvalid = Entry("bad\xFF.jpg", "3");
  flaggedInvalid.flags = 0x800;
  ZipTestEntry unicodeExtra = Entry("legacy.jpg", "4");
  unicodeExtra.extra = UnicodePathExtra("legacy.jpg", "new\\x.jpg");
  ZipTestEntry wrongVersion = Entry("kept.jpg", "5");
  wrongVersion.extra = UnicodePathExtra("kept.jpg", "other.jpg", 2);
  ZipTestEntry emptyUnicode = Entry("kept2.jpg", "6");
  emptyUnicode.extra = UnicodePathExtra("kept2.jpg", "");
  // The field's CRC covers the stored name bytes, not their decoding.
  ZipTestEntry legacyBytes = Entry("\xBB\xE7\xC1\xF8.jpg", "8");  // 사진 in CP949
  legacyBytes.extra = UnicodePathExtra("\xBB\xE7\xC1\xF8.jpg", "\xEC\x82\xAC\xEC\xA7\x84.jpg");
  // A tool renamed the entry in its header and left the field of its old name behind.
  ZipTestEntry stale = Entry("renamed.jpg", "7");
  stale.extra = UnicodePathExtra("old.jpg", "old.jpg");
  ZipReader reader;
  ASSERT_EQ(reader.OpenBytes(BuildZip({flagged, unflaggedUtf8, flaggedInvalid, unicodeExtra, wrongVersion,
                                       emptyUnicode, stale, legacyBytes})
                                 .bytes),
            ZipStatus::Ok);
  const std::vector<ZipEntry>& entries = reader.Entries();
  ASSERT_EQ(entries.size(), 8u);
  EXPECT_EQ(entries[0].name, "\xEC\x82\xAC\xEC\xA7\x84.jpg");
  EXPECT_EQ(entries[1].name, "\xEC\x82\xAC\xEC\xA7\x84.png");
  EXPECT_EQ(entries[2].name, "bad\xEF\xBF\xBD.jpg");
  EXPECT_EQ(entries[3].name, "new/x.jpg");
  EXPECT_EQ(entries[4].name, "kept.jpg");
  EXPECT_EQ(entries[5].name, "kept2.jpg");
  EXPECT_EQ(entries[6].name, "renamed.jpg");
  EXPECT_EQ(entries[7].name, "\xEC\x82\xAC\xEC\xA7\x84.jpg");
}

struct NameCase {
  int codePage;
  std::string raw;
  std::string expected;
};

TEST(DecodeEntryName, UsesTheCodePageForLegacyNames) {
  const NameCase cases[] = {
      {949, "\xBB\xE7\xC1\xF8.jpg", "\xEC\x82\xAC\xEC\xA7\x84.jpg"},   // 사진 in CP949
      {932, "\x8E\xCA\x90\x5E.jpg", "\xE5\x86\x99\xE7\x9C\x9F.jpg"},   // 写真 in CP932
      {1251, "\xD4\xEE\xF2\xEE", "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE"},  // Фото
      {1252, "caf\xE9.jpg", "caf\xC3\xA9.jpg"},
      {949, "plain\\ascii.jpg", "plain\\ascii.jpg"},
      {949, "", ""},
      // Valid UTF-8 with a multi-byte sequence wins over the code page, even unflagged.
      {1252, "caf\xC3\xA9.jpg", "caf\xC3\xA9.jpg"},
      // A lead byte without its continuation is not UTF-8.
      {1252, "\xC3(", "\xC3\x83("},
  };
  for (const NameCase& c : cases) {
    CodePageDecoder decoder(c.codePage);
    std::span<const uint8_t> raw(reinterpret_cast<const uint8_t*>(c.raw.data()), c.raw.size());
    EXPECT_EQ(DecodeEntryName(raw, false, decoder), c.expected) << c.codePage << " " << c.raw;
  }
}

TEST(CodePageForLocale, FollowsTheUserLanguage) {
  const std::pair<const char*, int> cases[] = {
      {"ko_KR.UTF-8", 949},  {"ja_JP.UTF-8", 932},  {"zh_CN.UTF-8", 936},  {"zh_SG", 936},
      {"zh_TW.UTF-8", 950},  {"zh_HK.Big5", 950},   {"ru_RU.UTF-8", 1251}, {"uk_UA", 1251},
      {"bg_BG@latin", 1251}, {"en_US.UTF-8", 1252}, {"C", 1252},           {"", 1252},
      {"kok_IN", 1252},
  };
  for (const auto& [locale, codePage] : cases) EXPECT_EQ(CodePageForLocale(locale), codePage) << locale;
}

TEST(ZipReaderEntries, TakesZip64ValuesFromTheExtraField) {
  ZipTestEntry big = Entry("a.jpg", "zip64 content", 8);
  big.zip64 = true;
  ZipTestEntry shortExtra = Entry("b.jpg", "x");
  shortExtra.usize = 0xFFFFFFFF;  // saturated, but no ZIP64 value to replace it
  ZipTestOptions options;
  options.zip64End = true;
  ZipReader reader;
  ASSERT_EQ(reader.OpenBytes(BuildZip({big, shortExtra}, options).bytes), ZipStatus::Ok);
  ASSERT_EQ(reader.Entries().size(), 2u);
  EXPECT_EQ(reader.Entries()[0].usize, 13u);
  std::vector<uint8_t> bytes;
  EXPECT_EQ(reader.ReadEntry(0, bytes), ZipStatus::Ok);
  EXPECT_EQ(bytes, BytesOf("zip64 content"));
  EXPECT_EQ(reader.Entries()[1].usize, 0xFFFFFFFFu);
  EXPECT_EQ(reader.ReadEntry(1, bytes), ZipStatus::TooLarge);
}

struct ReadCase {
  const char* what;
  ZipTestEntry entry;
  ZipStatus status;
  ZipDetail detail;
};

std::vector<ReadCase> ReadCases() {
  std::string text(5000, 'z');
  for (size_t i = 0; i < text.size(); i += 7) text[i] = static_cast<char>('a' + i % 26);
  std::vector<ReadCase> cases;
  cases.push_back({"stored", Entry("a.jpg", "stored bytes"), ZipStatus::Ok, ZipDetail::None});
  cases.push_back({"deflated", Entry("a.jpg", text, 8), ZipStatus::Ok, ZipDetail::None});
  cases.push_back({"empty stored", Entry("a.jpg", ""), ZipStatus::Ok, ZipDetail::None});
  cases.push_back({"empty deflated", Entry("a.jpg", "", 8), ZipStatus::Ok, ZipDetail::None});

  ZipTestEntry crc = Entry("a.jpg", text, 8);
  crc.crc = 0x12345678;
  cases.push_back({"CRC mismatch after a good inflate", crc, ZipStatus::Damaged, ZipDetail::CrcMismatch});
  ZipTestEntry storedCrc = Entry("a.jpg", "abc");
  storedCrc.crc = 0;
  cases.push_back({"stored CRC mismatch", storedCrc, ZipStatus::Damaged, ZipDetail::CrcMismatch});

  ZipTestEntry lyingSmall = Entry("a.jpg", text, 8);
  lyingSmall.usize = 100;
  cases.push_back(
      {"inflates past the declared size", lyingSmall, ZipStatus::Damaged, ZipDetail::InflateFailed});
  ZipTestEntry lyingLarge = Entry("a.jpg", text, 8);
  lyingLarge.usize = text.size() + 1;
  cases.push_back(
      {"inflates short of the declared size", lyingLarge, ZipStatus::Damaged, ZipDetail::InflateFailed});
  ZipTestEntry bomb = Entry("a.jpg", text, 8);
  bomb.usize = kZipMaxEntryUncompressed;
  cases.push_back(
      {"declares more than its data can inflate to", bomb, ZipStatus::Damaged, ZipDetail::ImpossibleRatio});
  ZipTestEntry storedSizes = Entry("a.jpg", "abcdef");
  storedSizes.usize = 5;
  cases.push_back({"stored sizes differ", storedSizes, ZipStatus::Damaged, ZipDetail::StoredSizesDiffer});
  ZipTestEntry garbage = Entry("a.jpg", "\xFF\xFF\xFF\xFF not deflate", 0);
  garbage.method = 8;
  garbage.csize = 17;
  garbage.usize = 17;
  cases.push_back({"not a deflate stream", garbage, ZipStatus::Damaged, ZipDetail::InflateFailed});

  ZipTestEntry encrypted = Entry("a.jpg", "secret");
  encrypted.flags = 1;
  encrypted.method = 12;
  cases.push_back(
      {"encrypted with an unsupported method", encrypted, ZipStatus::Encrypted, ZipDetail::Encrypted});
  cases.push_back(
      {"bzip2", Entry("a.jpg", "bz", 12), ZipStatus::UnsupportedMethod, ZipDetail::UnsupportedMethod});
  ZipTestEntry huge = Entry("a.jpg", "x");
  huge.usize = kZipMaxEntryUncompressed + 1;
  cases.push_back({"declared above 1 GiB", huge, ZipStatus::TooLarge, ZipDetail::EntryTooLarge});
  ZipTestEntry hugePacked = Entry("a.jpg", "x", 8);
  hugePacked.zip64 = true;
  hugePacked.csize = kZipMaxEntryCompressed + 1;
  cases.push_back({"compressed above 2 GiB", hugePacked, ZipStatus::TooLarge, ZipDetail::EntryTooLarge});

  ZipTestEntry outside = Entry("a.jpg", "x");
  outside.localOffset = 0x7FFFFFFF;
  cases.push_back({"local header past the file", outside, ZipStatus::Damaged, ZipDetail::BadLocalHeader});
  ZipTestEntry wrapping = Entry("a.jpg", "x");
  wrapping.zip64 = true;
  wrapping.localOffset = UINT64_MAX - 10;
  cases.push_back({"local header offset near 2^64", wrapping, ZipStatus::Damaged, ZipDetail::BadLocalHeader});
  ZipTestEntry notLocal = Entry("a.jpg", "x");
  notLocal.localOffset = 4;
  cases.push_back(
      {"no local signature at the offset", notLocal, ZipStatus::Damaged, ZipDetail::BadLocalHeader});
  ZipTestEntry dataPastEnd = Entry("a.jpg", "x");
  dataPastEnd.csize = 10000;
  dataPastEnd.usize = 10000;
  cases.push_back(
      {"data running past the file", dataPastEnd, ZipStatus::Damaged, ZipDetail::DataOutsideFile});
  ZipTestEntry hugeClaim = Entry("a.jpg", "x");
  hugeClaim.csize = kZipMaxEntryUncompressed;
  hugeClaim.usize = kZipMaxEntryUncompressed;
  cases.push_back(
      {"stored gigabyte claimed by a tiny file", hugeClaim, ZipStatus::Damaged, ZipDetail::DataOutsideFile});
  return cases;
}

TEST(ZipReaderReadEntry, ReportsStatusPerEntry) {
  for (ReadCase& c : ReadCases()) {
    ZipReader reader;
    ASSERT_EQ(reader.OpenBytes(BuildZip({c.entry}).bytes), ZipStatus::Ok) << c.what;
    std::vector<uint8_t> bytes = {1, 2, 3};
    ZipDetail detail = reader.ReadEntryDetail(0, bytes);
    EXPECT_EQ(ZipStatusOf(detail), c.status) << c.what;
    EXPECT_EQ(detail, c.detail) << c.what;
    if (c.status == ZipStatus::Ok) {
      EXPECT_EQ(bytes, c.entry.data) << c.what;
    } else {
      EXPECT_TRUE(bytes.empty()) << c.what;
    }
  }
}

TEST(ZipReaderReadEntry, OverlappingEntriesReadTheSharedBytes) {
  // Two directory records point at one local header; a third claims data that runs into the
  // directory. Each is read on its own terms.
  ZipTestEntry twin = Entry("b.jpg", "shared content");
  twin.localOffset = 0;
  ZipTestEntry spill = Entry("c.jpg", "shared content");
  spill.localOffset = 0;
  spill.csize = 60;
  spill.usize = 60;
  ZipReader reader;
  ASSERT_EQ(reader.OpenBytes(BuildZip({Entry("a.jpg", "shared content"), twin, spill}).bytes), ZipStatus::Ok);
  std::vector<uint8_t> first;
  std::vector<uint8_t> second;
  std::vector<uint8_t> third;
  EXPECT_EQ(reader.ReadEntry(0, first), ZipStatus::Ok);
  EXPECT_EQ(reader.ReadEntry(1, second), ZipStatus::Ok);
  EXPECT_EQ(first, second);
  EXPECT_EQ(reader.ReadEntry(2, third), ZipStatus::Damaged);
  EXPECT_EQ(reader.ReadEntry(3, third), ZipStatus::CannotRead);
}

TEST(ZipReaderReadEntry, ClosedReaderCannotRead) {
  ZipReader reader;
  std::vector<uint8_t> bytes;
  EXPECT_EQ(reader.ReadEntry(0, bytes), ZipStatus::CannotRead);
  ASSERT_EQ(reader.OpenBytes(BuildZip({Entry("a.jpg", "x")}).bytes), ZipStatus::Ok);
  reader.Close();
  EXPECT_TRUE(reader.Entries().empty());
  EXPECT_EQ(reader.ReadEntry(0, bytes), ZipStatus::CannotRead);
}

TEST(ZipReaderReadEntry, ThreadsShareOneReader) {
  std::vector<ZipTestEntry> entries;
  for (int i = 0; i < 8; ++i)
    entries.push_back(Entry(std::to_string(i) + ".jpg", std::string(3000, 'a' + i), 8));
  Quarlo::Test::TempFolder folder;
  ZipReader reader;
  ASSERT_EQ(reader.Open(folder.AddFile("t.zip", BuildZip(entries).bytes)), ZipStatus::Ok);
  std::vector<std::thread> threads;
  std::atomic<int> failures = 0;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([&, t] {
      std::vector<uint8_t> bytes;
      for (int round = 0; round < 50; ++round) {
        size_t index = static_cast<size_t>((round + t) % 8);
        if (reader.ReadEntry(index, bytes) != ZipStatus::Ok || bytes != entries[index].data) ++failures;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures, 0);
}

// Holds back every read that starts at one offset until released, so that a test can keep one
// extraction in the middle of its read while it checks that another one gets through.
class GatedSource final : public ByteSource {
 public:
  GatedSource(std::unique_ptr<ByteSource> inner, uint64_t gatedOffset)
      : inner_(std::move(inner)), gatedOffset_(gatedOffset) {}

  uint64_t Size() const override { return inner_->Size(); }

  bool ReadAt(uint64_t offset, std::span<uint8_t> out) const override {
    if (offset == gatedOffset_) {
      std::unique_lock lock(mutex_);
      entered_ = true;
      changed_.notify_all();
      // The bound only keeps a broken reader from hanging the test; a sound one is released.
      changed_.wait_for(lock, kGiveUp, [&] { return released_; });
    }
    return inner_->ReadAt(offset, out);
  }

  // True once a read of the gated offset is waiting (false after the give-up time).
  bool WaitUntilEntered() const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kGiveUp, [&] { return entered_; });
  }

  void Release() const {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }

  static constexpr std::chrono::seconds kGiveUp{10};

 private:
  std::unique_ptr<ByteSource> inner_;
  uint64_t gatedOffset_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  mutable bool entered_ = false;
  mutable bool released_ = false;
};

// The picture lane and the thumbnail lane share one reader: a thumbnail must not wait while a
// large page is being read and inflated.
TEST(ZipReaderReadEntry, SmallEntryCompletesWhileALargeOneIsInProgress) {
  std::string page(4u << 20, 'p');
  for (size_t i = 0; i < page.size(); i += 13) page[i] = static_cast<char>(i * 7 / 3);
  ZipImage image = BuildZip({Entry("page.png", page, 8), Entry("thumb.jpg", "small picture")});
  Quarlo::Test::TempFolder folder;
  std::string path = folder.AddFile("book.cbz", image.bytes);
  uint64_t pageData = image.localOffsets[0] + kZipLocalHeaderSize + std::string_view("page.png").size();
  auto gated = std::make_unique<GatedSource>(OpenFileByteSource(path), pageData);
  const GatedSource& gate = *gated;
  ZipReader reader;
  ASSERT_EQ(reader.OpenSource(std::move(gated), path), ZipDetail::None);

  std::vector<uint8_t> pageBytes;
  std::future<ZipStatus> pageRead =
      std::async(std::launch::async, [&] { return reader.ReadEntry(0, pageBytes); });
  ASSERT_TRUE(gate.WaitUntilEntered());
  std::vector<uint8_t> thumbBytes;
  std::future<ZipStatus> thumbRead =
      std::async(std::launch::async, [&] { return reader.ReadEntry(1, thumbBytes); });
  std::future_status thumbWhilePageHeld = thumbRead.wait_for(GatedSource::kGiveUp);
  gate.Release();

  EXPECT_EQ(thumbWhilePageHeld, std::future_status::ready) << "the small read waited for the large one";
  EXPECT_EQ(thumbRead.get(), ZipStatus::Ok);
  EXPECT_EQ(thumbBytes, BytesOf("small picture"));
  EXPECT_EQ(pageRead.get(), ZipStatus::Ok);
  EXPECT_EQ(pageBytes, BytesOf(page));
}

// Reads run outside the lock, so closing the reader meanwhile must leave them their file.
TEST(ZipReaderReadEntry, CloseDuringAReadLetsItFinish) {
  ZipImage image = BuildZip({Entry("page.png", "page content", 8)});
  uint64_t pageData = image.localOffsets[0] + kZipLocalHeaderSize + std::string_view("page.png").size();
  auto gated = std::make_unique<GatedSource>(MemoryByteSource(image.bytes), pageData);
  const GatedSource& gate = *gated;
  ZipReader reader;
  ASSERT_EQ(reader.OpenSource(std::move(gated)), ZipDetail::None);
  std::vector<uint8_t> bytes;
  std::future<ZipStatus> read = std::async(std::launch::async, [&] { return reader.ReadEntry(0, bytes); });
  ASSERT_TRUE(gate.WaitUntilEntered());
  reader.Close();
  gate.Release();
  EXPECT_EQ(read.get(), ZipStatus::Ok);
  EXPECT_EQ(bytes, BytesOf("page content"));
  EXPECT_EQ(reader.ReadEntry(0, bytes), ZipStatus::CannotRead);
}

// The fuzzer's seed archives, written by another ZIP tool, double as regression inputs with their
// outcome pinned: open status, entry count, and the status of reading the first entry.
struct CorpusCase {
  const char* file;
  ZipStatus open;
  size_t entries;
  ZipStatus firstRead;
};

TEST(ZipReaderCorpus, SeedArchivesKeepTheirOutcome) {
  const CorpusCase cases[] = {
      {"stored.zip", ZipStatus::Ok, 1, ZipStatus::Ok},
      {"deflate.zip", ZipStatus::Ok, 1, ZipStatus::Ok},
      {"multi.zip", ZipStatus::Ok, 3, ZipStatus::Ok},
      {"zip64.zip", ZipStatus::Ok, 1, ZipStatus::Ok},
      {"unicode_extra.zip", ZipStatus::Ok, 1, ZipStatus::Ok},
      {"bzip2.zip", ZipStatus::Ok, 1, ZipStatus::UnsupportedMethod},
      {"enc.zip", ZipStatus::Ok, 1, ZipStatus::Encrypted},
      {"empty.zip", ZipStatus::Ok, 0, ZipStatus::CannotRead},
      {"truncated.zip", ZipStatus::NotZip, 0, ZipStatus::CannotRead},
      {"split_last.zip", ZipStatus::Damaged, 0, ZipStatus::CannotRead},  // zip -s 64k, last segment
  };
  for (const CorpusCase& c : cases) {
    ZipReader reader;
    std::string path = std::string(QUARLO_SOURCE_DIR) + "/tests/fuzz/corpus/zip_reader/" + c.file;
    EXPECT_EQ(reader.Open(path), c.open) << c.file;
    EXPECT_EQ(reader.Entries().size(), c.entries) << c.file;
    std::vector<uint8_t> bytes;
    EXPECT_EQ(reader.ReadEntry(0, bytes), c.firstRead) << c.file;
  }
  ZipReader reader;
  ASSERT_EQ(reader.Open(std::string(QUARLO_SOURCE_DIR) + "/tests/fuzz/corpus/zip_reader/unicode_extra.zip"),
            ZipStatus::Ok);
  EXPECT_EQ(reader.Entries()[0].name, "\xD0\xBD\xD0\xBE\xD0\xB2\xD1\x8B\xD0\xB9.jpg");  // новый.jpg
}

TEST(DosDateTimeToFileTime, RejectsImpossibleCalendarValues) {
  EXPECT_EQ(DosDateTimeToFileTime(Quarlo::Test::kDosDate2024Jan2, Quarlo::Test::kDosTime103004),
            133486650040000000);
  EXPECT_EQ(DosDateTimeToFileTime((44 << 9) | (2 << 5) | 29, 0), 133536384000000000);  // 2024-02-29
  const std::pair<uint16_t, uint16_t> invalid[] = {
      {(45 << 9) | (2 << 5) | 29, 0},        // 2025-02-29
      {(44 << 9) | (13 << 5) | 1, 0},        // month 13
      {(44 << 9) | (1 << 5) | 0, 0},         // day 0
      {(44 << 9) | (1 << 5) | 1, 24 << 11},  // hour 24
      {(44 << 9) | (1 << 5) | 1, 60 << 5},   // minute 60
      {(44 << 9) | (1 << 5) | 1, 30},        // second 60
  };
  for (const auto& [date, time] : invalid)
    EXPECT_EQ(DosDateTimeToFileTime(date, time), 0) << date << " " << time;
}

}  // namespace
}  // namespace Quarlo::View
