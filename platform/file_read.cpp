#include "platform/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

namespace Quarlo::Platform {

namespace {

FileStamp StampFrom(const struct stat& info) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.device = info.st_dev;
  stamp.inode = info.st_ino;
  stamp.size = static_cast<uint64_t>(info.st_size);
  stamp.modifiedNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  stamp.changedNs = static_cast<int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
  return stamp;
}

FileRead Failure(FileReadStatus status, int error) {
  FileRead result;
  result.status = status;
  result.error = error;
  return result;
}

// Reads until the end of the file into bytes. The size fstat gave is only the first guess: the file
// may change while it is read, and some (in /proc) report 0. One byte more than expected is asked
// for, so that a file of the expected size ends with no further allocation; past that the buffer
// doubles, up to one byte over the cap.
FileRead ReadToEnd(int fd, uint64_t expected, uint64_t maxBytes) {
  FileRead result;
  const uint64_t limit = maxBytes + 1;
  std::vector<uint8_t>& bytes = result.bytes;
  bytes.resize(static_cast<size_t>(std::min(expected + 1, limit)));
  size_t done = 0;
  while (true) {
    if (done == bytes.size()) {
      if (bytes.size() >= limit) return Failure(FileReadStatus::TooLarge, EFBIG);
      bytes.resize(
          static_cast<size_t>(std::min<uint64_t>(std::max<uint64_t>(bytes.size() * 2, 4096), limit)));
    }
    ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Failure(FileReadStatus::ReadError, errno);
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  bytes.resize(done);
  result.status = FileReadStatus::Ok;
  return result;
}

FileRead ReadOpened(int fd, uint64_t maxBytes) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return Failure(FileReadStatus::ReadError, errno);
  if (!S_ISREG(info.st_mode))
    return Failure(FileReadStatus::NotRegular, S_ISDIR(info.st_mode) ? EISDIR : ENODEV);
  if (static_cast<uint64_t>(info.st_size) > maxBytes) return Failure(FileReadStatus::TooLarge, EFBIG);
  // The flag only kept the open from waiting on a pipe; reads of a regular file wait for the disk.
  if (int flags = fcntl(fd, F_GETFL); flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  FileRead result;
  try {
    result = ReadToEnd(fd, static_cast<uint64_t>(info.st_size), maxBytes);
  } catch (const std::bad_alloc&) {
    result = Failure(FileReadStatus::OutOfMemory, ENOMEM);
  }
  result.stamp = StampFrom(info);
  return result;
}

}  // namespace

FileRead ReadWholeFile(const std::string& path, uint64_t maxBytes) {
  maxBytes = std::min(maxBytes, kMaxWholeFileBytes);
  // Non-blocking, so that opening a pipe that nobody writes to returns at once; the type check
  // follows on the opened file, so that the file checked is the file read.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return Failure(errno == ENOENT ? FileReadStatus::NotFound : FileReadStatus::ReadError, errno);
  FileRead result = ReadOpened(fd, maxBytes);
  close(fd);
  return result;
}

FileStamp StampOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {};
  return StampFrom(info);
}

FileStamp StampOfDescriptor(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return {};
  return StampFrom(info);
}

}  // namespace Quarlo::Platform
