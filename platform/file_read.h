#pragma once
// Reading a whole file into memory: pictures, the bytes the file operations copy, and the hive.
// Only regular files are read (links followed): a pipe, socket or device named like a picture
// would block the reader for ever or feed it endless bytes. The file is read to its end, so one
// that grows or shrinks while it is read yields what was there, up to the cap.

#include <cstdint>
#include <string>
#include <vector>

namespace Quarlo::Platform {

// Files larger than this are not read whole (files of 2 GiB or more).
inline constexpr uint64_t kMaxWholeFileBytes = (uint64_t{2} << 30) - 1;

enum class FileReadStatus {
  Ok,
  NotFound,     // no such file, or a link that leads nowhere
  NotRegular,   // a folder, pipe, socket or device
  TooLarge,     // more bytes than the cap
  OutOfMemory,  // the bytes could not be held
  ReadError,    // the file could not be opened or read otherwise
};

// What identifies one version of a file: a replaced file has another inode and change time.
struct FileStamp {
  bool exists = false;
  uint64_t device = 0, inode = 0, size = 0;
  int64_t modifiedNs = 0, changedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

struct FileRead {
  FileReadStatus status = FileReadStatus::ReadError;
  // The errno of the failing call, for diagnosis; for the reader's own refusals EISDIR (a folder),
  // ENODEV (a pipe, socket or device), EFBIG (above the cap) or ENOMEM. 0 on success.
  int error = 0;
  std::vector<uint8_t> bytes;  // the content; empty unless Ok
  FileStamp stamp;             // the file as it was opened, before reading; set when it was opened

  bool Ok() const { return status == FileReadStatus::Ok; }
};

// Reads the file at path whole, refusing more than maxBytes (at most kMaxWholeFileBytes). Never throws.
FileRead ReadWholeFile(const std::string& path, uint64_t maxBytes = kMaxWholeFileBytes);

// The stamp of the file at path now (links followed); exists is false when it cannot be examined.
FileStamp StampOf(const std::string& path);
// The stamp of an open file, as above.
FileStamp StampOfDescriptor(int fd);

}  // namespace Quarlo::Platform
