#include "platform/registry/hive_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

namespace Quarlo::Platform {

namespace {

constexpr int kLockPollMs = 10;

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Owns a file descriptor.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now, reporting whether the close succeeded (a late write error shows up here).
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

std::string UtcStamp() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
  return text;
}

// A hive file that is a symbolic link (into a folder of dotfiles, say) is replaced at its target, so
// that the link survives. A link that leads nowhere is replaced by the file.
std::string ReplacementTarget(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char* resolved = realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target = resolved;
  free(resolved);
  return target;
}

}  // namespace

HiveStatus ReplaceFile(const std::string& path, const std::string& bytes, FileStamp& stamp) {
  const std::string target = ReplacementTarget(path);
  const std::string temporary = target + ".new";
  Descriptor file(open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  if (file.Get() < 0) return HiveStatus::IoError;
  FileStamp written;
  if (WriteAll(file.Get(), bytes) && fsync(file.Get()) == 0) written = StampOfDescriptor(file.Get());
  if (!file.Close() || !written.exists || rename(temporary.c_str(), target.c_str()) != 0) {
    unlink(temporary.c_str());
    return HiveStatus::IoError;
  }
  stamp = written;
  // The rename itself reaches the disk only with the folder; a failure here leaves a correct file
  // that a crash could roll back to the previous version, which loses nothing already reported.
  Descriptor folder(open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() >= 0) fsync(folder.Get());
  return HiveStatus::Ok;
}

HiveStatus EnsureFolderOf(const std::string& path) {
  const std::string folder = FolderOf(path);
  struct stat info {};
  if (stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode) ? HiveStatus::Ok : HiveStatus::IoError;
  if (folder != "/" && folder != "." && EnsureFolderOf(folder) != HiveStatus::Ok) return HiveStatus::IoError;
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return HiveStatus::IoError;
  return HiveStatus::Ok;
}

std::string KeepAside(const std::string& path) {
  const std::string base = path + ".damaged-" + UtcStamp();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string target = attempt == 0 ? base : base + "-" + std::to_string(attempt);
    struct stat info {};
    if (lstat(target.c_str(), &info) == 0) continue;
    if (rename(path.c_str(), target.c_str()) != 0) return {};
    return target;
  }
  return {};
}

FileLock::~FileLock() { Release(); }

HiveStatus FileLock::Acquire(const std::string& path) {
  Release();
  const std::string lockPath = path + ".lock";
  fd_ = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return HiveStatus::IoError;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLockWaitMs);
  while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if ((error != EWOULDBLOCK && error != EINTR) || std::chrono::steady_clock::now() >= deadline) {
      Release();
      return error == EWOULDBLOCK ? HiveStatus::Busy : HiveStatus::IoError;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kLockPollMs));
  }
  return HiveStatus::Ok;
}

void FileLock::Release() {
  if (fd_ < 0) return;
  close(fd_);  // closing the only descriptor releases the flock
  fd_ = -1;
}

}  // namespace Quarlo::Platform
