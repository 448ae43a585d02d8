#pragma once
// Where the single-instance link keeps its lock file and its socket, and how an identity becomes their
// file name. The folder is private to the user: the link trusts nothing it finds in a folder that another
// user owns or may write into.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Quarlo::Widget::Detail {

struct InstancePaths {
  std::string folder;
  std::string lock;    // held with flock by the primary
  std::string socket;  // the primary listens here
};

// "quarloview" below $XDG_RUNTIME_DIR when that names an absolute folder, else "/tmp/quarloview-<uid>".
std::string InstanceFolderPath();

// Creates the folder with mode 0700 when it is missing. True when it is a folder (not a symbolic link)
// owned by this user that neither the group nor others may write.
bool EnsurePrivateFolder(const std::string& folder);

// The identity as a file-name stem of at most room bytes: letters, digits, '.', '_' and '-' stay, every
// other byte becomes %XX, so distinct identities keep distinct names and none can leave the folder. A stem
// that would not fit keeps what fits of that form and ends in '~' and a hash of the whole identity ('~'
// never appears otherwise). Empty when room is too small even for that.
std::string InstanceFileStem(std::string_view identity, size_t room);

// The paths for an identity in the private folder; nullopt when that folder cannot be used safely.
std::optional<InstancePaths> InstancePathsFor(std::string_view identity);

}  // namespace Quarlo::Widget::Detail
