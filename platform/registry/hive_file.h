#pragma once
// The hive's file on disk (read with ReadWholeFile): replacing it atomically, the advisory lock that makes
// processes take turns, and moving a damaged file aside. POSIX only; hive.cpp is the one user.

#include <cstdint>
#include <string>

#include "platform/file_read.h"
#include "platform/registry/hive.h"

namespace Quarlo::Platform {

// How long a change waits for another process to release the lock before giving up (Busy).
inline constexpr int kLockWaitMs = 5000;

// Replaces the file with bytes: a temporary file beside it, fsync, rename, fsync of the folder. A
// symbolic link is followed and its target replaced. Sets stamp to the new file's. Call with the lock.
HiveStatus ReplaceFile(const std::string& path, const std::string& bytes, FileStamp& stamp);

// Creates the file's folder and its parents (mode 0700) when missing.
HiveStatus EnsureFolderOf(const std::string& path);

// Moves the file to a new name beside it ("<name>.damaged-YYYYMMDD-HHMMSS", with "-N" added when
// that is taken) and returns the new name, or empty when it could not be moved. Call with the lock.
std::string KeepAside(const std::string& path);

// An exclusive flock on "<path>.lock", released when the object ends.
class FileLock {
 public:
  FileLock() = default;
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock for the hive file at path, waiting at most kLockWaitMs.
  HiveStatus Acquire(const std::string& path);
  void Release();

 private:
  int fd_ = -1;
};

}  // namespace Quarlo::Platform
