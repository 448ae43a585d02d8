#pragma once
// Path helpers. Paths are native byte strings; "/" is the only separator and the root "/" keeps its
// slash. Identity of paths compares exactly, because Linux file systems are case-sensitive.

#include <string>
#include <string_view>

namespace Quarlo::View {

// Makes a path absolute against the current directory and lexically clean ("." and ".." resolved,
// repeated slashes joined) without resolving links; trailing slashes go, except for "/" itself.
// Returns the input unchanged when the current directory cannot be read.
std::string NormalizePath(std::string_view path);

// Same as NormalizePath, against the given absolute base folder instead of the current directory.
std::string NormalizePathFrom(std::string_view path, std::string_view base);

// The text before the last "/"; empty without a separator; "/" for a child of the root.
std::string ParentOf(std::string_view path);

// name when dir is empty; dir + name when dir ends in "/"; otherwise dir + "/" + name.
std::string JoinPath(std::string_view dir, std::string_view name);

// The text after the last "/", or the whole text.
std::string FileNameOf(std::string_view path);

// True for an existing non-directory (links followed).
bool FileExists(const std::string& path);

// True for an existing directory (links followed).
bool FolderExists(const std::string& path);

}  // namespace Quarlo::View
