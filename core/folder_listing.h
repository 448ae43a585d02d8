#pragma once
// Enumerating a folder cheaply: the entry type comes from the directory itself, and a file's size
// and time cost one stat at most, taken only when the caller asks for them.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct dirent;

namespace Quarlo::View {

// What one stat tells about a file: links are followed, times are FILETIME values.
struct FileFacts {
  bool isDirectory = false;
  bool isRegular = false;  // a plain file: not a folder, pipe, socket or device
  uint64_t size = 0;
  int64_t modified = 0;
};

// Facts of a path (links followed), or nothing when it cannot be examined.
std::optional<FileFacts> StatPath(const std::string& path);

// One entry met during a listing; valid only inside the visitor.
class FolderEntry {
 public:
  FolderEntry(int folderFd, const dirent& entry);

  std::string_view Name() const { return name_; }

  // Types known from the listing cost nothing; links and unknown types take the stat.
  bool IsDirectory();
  bool IsRegularFile();

  // The entry's facts from one stat, kept for later calls; nothing when the stat fails (for
  // example a dangling link, or a file removed since the listing).
  const std::optional<FileFacts>& Facts();

 private:
  int folderFd_;
  std::string_view name_;
  unsigned char type_;
  bool statted_ = false;
  std::optional<FileFacts> facts_;
};

enum class ListingStatus { Ok, NotFound, Failed };

// Calls visit for every entry of folder except "." and "..". NotFound when the folder is gone;
// Failed when it cannot be read otherwise.
ListingStatus ListFolder(const std::string& folder, const std::function<void(FolderEntry&)>& visit);

}  // namespace Quarlo::View
