#include "core/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace Quarlo::View {

namespace {

// Larger reads are split so that no single request asks the kernel for more than this.
constexpr size_t kMaxReadRequest = size_t{1} << 30;

bool RangeFits(uint64_t offset, uint64_t length, uint64_t size) {
  return offset <= size && length <= size - offset;
}

class FileByteSource final : public ByteSource {
 public:
  FileByteSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
  ~FileByteSource() override { close(fd_); }
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

  uint64_t Size() const override { return size_; }

  bool ReadAt(uint64_t offset, std::span<uint8_t> out) const override {
    if (!RangeFits(offset, out.size(), size_)) return false;
    size_t done = 0;
    while (done < out.size()) {
      size_t request = std::min(out.size() - done, kMaxReadRequest);
      ssize_t got = pread(fd_, out.data() + done, request, static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      done += static_cast<size_t>(got);
    }
    return true;
  }

 private:
  int fd_;
  uint64_t size_;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  uint64_t Size() const override { return bytes_.size(); }

  bool ReadAt(uint64_t offset, std::span<uint8_t> out) const override {
    if (!RangeFits(offset, out.size(), bytes_.size())) return false;
    if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
    return true;
  }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileByteSource(const std::string& path) {
  // Non-blocking, so that a FIFO named like an archive cannot stall the open; only regular files
  // are read.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
    close(fd);
    return nullptr;
  }
  return std::make_unique<FileByteSource>(fd, static_cast<uint64_t>(info.st_size));
}

std::unique_ptr<ByteSource> MemoryByteSource(std::vector<uint8_t> bytes) {
  return std::make_unique<MemorySource>(std::move(bytes));
}

}  // namespace Quarlo::View
