// The single-instance link's folder and file names.

#include "widget/detail/instance_names.h"

#include <fmt/format.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace Quarlo::Widget::Detail {
namespace {

constexpr std::string_view kLockSuffix = ".lock";
constexpr std::string_view kSocketSuffix = ".socket";
// The longest socket path bind accepts, without its terminating NUL.
constexpr size_t kSocketPathLimit = sizeof(sockaddr_un::sun_path) - 1;
// '~' and 16 hexadecimal digits.
constexpr size_t kHashedTailSize = 17;

bool KeepsItsByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
         c == '-';
}

// FNV-1a: stable across builds and processes, which is all a file name needs.
uint64_t IdentityHash(std::string_view identity) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : identity) {
    hash = (hash ^ c) * 1099511628211ull;
  }
  return hash;
}

}  // namespace

std::string InstanceFolderPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/') return std::string(runtime) + "/quarloview";
  return fmt::format("/tmp/quarloview-{}", geteuid());
}

bool EnsurePrivateFolder(const std::string& folder) {
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string InstanceFileStem(std::string_view identity, size_t room) {
  std::string stem;
  for (unsigned char c : identity) {
    if (KeepsItsByte(c)) {
      stem += static_cast<char>(c);
    } else {
      stem += fmt::format("%{:02X}", c);
    }
  }
  if (stem.size() <= room) return stem;
  if (room < kHashedTailSize) return {};
  stem.resize(room - kHashedTailSize);
  return stem + fmt::format("~{:016x}", IdentityHash(identity));
}

std::optional<InstancePaths> InstancePathsFor(std::string_view identity) {
  std::string folder = InstanceFolderPath();
  if (!EnsurePrivateFolder(folder)) return std::nullopt;
  // The longer suffix decides what fits, in a file name and in a socket address.
  const size_t used = folder.size() + 1 + kSocketSuffix.size();
  const size_t room = std::min<size_t>(NAME_MAX - kSocketSuffix.size(),
                                       used < kSocketPathLimit ? kSocketPathLimit - used : 0);
  const std::string stem = InstanceFileStem(identity, room);
  if (stem.empty()) return std::nullopt;
  const std::string base = folder + "/" + stem;
  return InstancePaths{folder, base + std::string(kLockSuffix), base + std::string(kSocketSuffix)};
}

}  // namespace Quarlo::Widget::Detail
