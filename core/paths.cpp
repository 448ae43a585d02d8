#include "core/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace Quarlo::View {

namespace {

std::string CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

}  // namespace

std::string NormalizePathFrom(std::string_view path, std::string_view base) {
  std::string joined = path.starts_with('/') ? std::string(path) : JoinPath(base, path);
  std::vector<std::string_view> parts;
  std::string_view rest = joined;
  while (!rest.empty()) {
    size_t slash = rest.find('/');
    std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string result;
  for (std::string_view part : parts) {
    result += '/';
    result += part;
  }
  return result.empty() ? "/" : result;
}

std::string NormalizePath(std::string_view path) {
  if (path.starts_with('/')) return NormalizePathFrom(path, "/");
  std::string cwd = CurrentDirectory();
  if (cwd.empty()) return std::string(path);
  return NormalizePathFrom(path, cwd);
}

std::string ParentOf(std::string_view path) {
  size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return {};
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string JoinPath(std::string_view dir, std::string_view name) {
  if (dir.empty()) return std::string(name);
  std::string result(dir);
  if (!result.ends_with('/')) result += '/';
  result += name;
  return result;
}

std::string FileNameOf(std::string_view path) {
  size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace Quarlo::View
