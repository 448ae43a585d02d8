#pragma once
// Reads ZIP and CBZ archives in place: the central directory when the archive is opened, then one
// whole entry at a time on request. Stored and deflate entries, ZIP64, UTF-8 and code-page names;
// every extracted entry is checked against its CRC-32. One reader is shared by the picture list and
// the picture cache's loader threads; its mutex guards the entry table, and extractions read the
// file with positioned reads side by side.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Quarlo::View {

class ByteSource;
struct ZipDirectoryInfo;

enum class ZipStatus : uint32_t {
  Ok = 0,
  CannotRead = 1,         // cannot open or size the file; ReadEntry: reader closed or index out of range
  NotZip = 2,             // too short, tail unreadable, or no end-of-central-directory record
  Damaged = 3,            // directory or entry data inconsistent, unreadable, or failing its checks
  Encrypted = 4,          // ReadEntry only
  UnsupportedMethod = 5,  // ReadEntry only: neither stored nor deflate
  TooLarge = 6,           // ReadEntry only: above the entry size caps
};

// Which check decided a status. Callers act on the status alone; the detail lets tests see that the
// intended guard refused an input, not some later read that happened to fail as well.
enum class ZipDetail : uint8_t {
  None,                  // Ok
  FileUnreadable,        // CannotRead: the file cannot be opened or sized
  NoSuchEntry,           // CannotRead: the reader is closed or the index is out of range
  TooShort,              // NotZip: shorter than an end record
  TailUnreadable,        // NotZip
  NoEndRecord,           // NotZip
  SplitArchive,          // Damaged: a segment of a split archive, whose directory spans other files
  DirectoryOutsideFile,  // Damaged: the announced directory does not lie inside the file
  DirectoryTooLarge,     // Damaged: above kZipMaxDirectorySize
  DirectoryUnreadable,   // Damaged
  RecordPastDirectory,   // Damaged: a central header's variable parts run past the directory
  Encrypted,             // Encrypted
  UnsupportedMethod,     // UnsupportedMethod
  EntryTooLarge,         // TooLarge: above kZipMaxEntryUncompressed or kZipMaxEntryCompressed
  ImpossibleRatio,       // Damaged: more output declared than deflate can make from the input
  StoredSizesDiffer,     // Damaged: a stored entry whose two sizes differ
  BadLocalHeader,        // Damaged: the local header is unreadable or has no signature
  DataOutsideFile,       // Damaged: the entry's data would run past the end of the file
  DataUnreadable,        // Damaged
  InflateFailed,         // Damaged: not a deflate stream, or it inflates to another size
  CrcMismatch,           // Damaged
};

// The status that callers see for a detail.
ZipStatus ZipStatusOf(ZipDetail detail);

// One central-directory record as kept.
struct ZipEntry {
  std::string name;  // decoded to UTF-8, every "\" replaced by "/"
  uint64_t usize = 0;
  uint64_t csize = 0;
  uint64_t localHeaderOffset = 0;
  uint32_t crc = 0;
  uint16_t method = 0;
  bool encrypted = false;
  bool isDirectory = false;
  int64_t modified = 0;  // FILETIME of the DOS date and time taken as they are, 0 when invalid
};

// Limits that bound what one archive can make us allocate.
inline constexpr uint64_t kZipMaxDirectorySize = 512ull << 20;
inline constexpr uint64_t kZipMaxEntryUncompressed = 1ull << 30;
inline constexpr uint64_t kZipMaxEntryCompressed = 2ull << 30;

// The last step of an extraction, on an entry's data as read from the archive: a deflated entry is
// inflated into its declared size, and the content must match the entry's CRC-32. bytes holds the
// data on entry and the content on return (nothing worth keeping on any detail but None). Apart
// from the reader so that the benchmark can time the decoding alone.
ZipDetail DecodeEntryData(const ZipEntry& entry, std::vector<uint8_t>& bytes);

class ZipReader {
 public:
  ZipReader();
  ~ZipReader();
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  // Called by the picture list when an archive is opened: closes what was open, opens the file and
  // reads its central directory. Any status but Ok leaves the reader closed with no entries.
  ZipStatus Open(const std::string& path);

  // Same as Open for bytes already in memory (tests and fuzzing); path is only remembered.
  ZipStatus OpenBytes(std::vector<uint8_t> bytes, const std::string& path = {});

  // Same as Open over any source of bytes, saying which check decided (tests that control the reads
  // or check a guard); a null source cannot be read.
  ZipDetail OpenSource(std::unique_ptr<ByteSource> source, const std::string& path = {});

  // Closes the file and clears the entries; also done by destruction.
  void Close();

  // The entry table in directory order; read by the thread that opened the reader, before sharing it.
  const std::vector<ZipEntry>& Entries() const { return entries_; }

  // The path given to Open.
  const std::string& Path() const { return path_; }

  // Called by the loader threads and the file operations, from several threads at once: fills bytes
  // (emptied first) with the entry's uncompressed content; empty on any status other than Ok.
  ZipStatus ReadEntry(uint64_t index, std::vector<uint8_t>& bytes);

  // Same as ReadEntry, saying which check decided (tests).
  ZipDetail ReadEntryDetail(uint64_t index, std::vector<uint8_t>& bytes);

 private:
  ZipDetail OpenLocked(std::unique_ptr<ByteSource> source, const std::string& path);
  ZipDetail ReadDirectory();
  // Called by ReadDirectory: how many bytes precede an archive whose offsets ignore them, else 0.
  uint64_t PrependedBytes(const ZipDirectoryInfo& info, uint64_t endRecordOffset);
  void CloseLocked();

  // Guards the source and the entry table; never held while entry data is read or decoded.
  std::mutex mutex_;
  // Shared with the extractions in progress, so that a Close or a new Open never pulls the file
  // from under them.
  std::shared_ptr<const ByteSource> source_;
  std::string path_;
  std::vector<ZipEntry> entries_;
};

}  // namespace Quarlo::View
