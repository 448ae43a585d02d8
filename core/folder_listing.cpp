#include "core/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

#include "core/file_time.h"

namespace Quarlo::View {

namespace {

FileFacts FactsOf(const struct stat& info) {
  FileFacts facts;
  facts.isDirectory = S_ISDIR(info.st_mode);
  facts.isRegular = S_ISREG(info.st_mode);
  facts.size = info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
  facts.modified = FileTimeFromUnix(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
  return facts;
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

std::optional<FileFacts> StatPath(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return FactsOf(info);
}

FolderEntry::FolderEntry(int folderFd, const dirent& entry)
    : folderFd_(folderFd), name_(entry.d_name), type_(entry.d_type) {}

bool FolderEntry::IsDirectory() {
  if (type_ == DT_DIR) return true;
  if (type_ != DT_LNK && type_ != DT_UNKNOWN) return false;
  return Facts() && Facts()->isDirectory;
}

bool FolderEntry::IsRegularFile() {
  if (type_ == DT_REG) return true;
  if (type_ != DT_LNK && type_ != DT_UNKNOWN) return false;
  return Facts() && Facts()->isRegular;
}

const std::optional<FileFacts>& FolderEntry::Facts() {
  if (!statted_) {
    statted_ = true;
    struct stat info {};
    // name_ views the entry's NUL-terminated d_name.
    if (fstatat(folderFd_, name_.data(), &info, 0) == 0) facts_ = FactsOf(info);
  }
  return facts_;
}

ListingStatus ListFolder(const std::string& folder, const std::function<void(FolderEntry&)>& visit) {
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) return errno == ENOENT ? ListingStatus::NotFound : ListingStatus::Failed;
  int fd = dirfd(dir.get());
  while (true) {
    const dirent* raw = readdir(dir.get());
    // A read error part-way ends the listing with what was read, as the end of the folder would.
    if (raw == nullptr) return ListingStatus::Ok;
    std::string_view name = raw->d_name;
    if (name == "." || name == "..") continue;
    FolderEntry entry(fd, *raw);
    visit(entry);
  }
}

}  // namespace Quarlo::View
