#pragma once
// The ordered pictures of one source (a folder or a ZIP/CBZ archive), how a path becomes such a
// list, its four sort orders, and the folder or archive beside it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/zip_reader.h"

namespace Quarlo::View {

// One picture. Folder source: name is the file name and path the full path. Archive source: name is
// the entry name with "/" separators, path is empty and entryIndex is the reader's table index.
struct PictureItem {
  std::string name;
  std::string path;
  uint64_t entryIndex = 0;
  uint64_t size = 0;     // file size, or the entry's uncompressed size
  int64_t modified = 0;  // FILETIME; 0 when unknown
};

// The identity of a picture (path in a folder, entry name in an archive). Compared exactly: Linux
// file systems and archive entry names are case-sensitive.
const std::string& KeyOf(const PictureItem& item);

enum class SourceKind : uint32_t { None = 0, Folder = 1, Archive = 2 };

enum class SortKey : uint32_t { Name = 0, DateModified = 1, Size = 2, Type = 3 };

struct PictureList {
  SourceKind kind = SourceKind::None;
  std::string location;               // the folder's path, or the archive file's path
  std::vector<PictureItem> items;     // in display order
  std::shared_ptr<ZipReader> reader;  // archive sources only; shared with the picture cache
  SortKey sortKey = SortKey::Name;
  bool descending = false;
};

struct OpenOutcome {
  bool succeeded = false;
  uint64_t startIndex = 0;                  // 0 when no start picture was found
  ZipStatus archiveStatus = ZipStatus::Ok;  // why the archive failed to open, else Ok
};

// A new list and how opening it went. The list holds nothing when the source did not open.
struct OpenedSource {
  PictureList list;
  OpenOutcome outcome;
};

// Called by the viewer window to open a path (normalised here): a folder lists its pictures; an
// archive its picture entries, starting at startEntry when given; any other file lists its folder's
// pictures plus itself and starts on it. The list comes sorted by name, ascending.
OpenedSource OpenSource(std::string_view path, std::string_view startEntry);

// The first index whose KeyOf equals key exactly.
std::optional<size_t> IndexOf(const PictureList& list, std::string_view key);

// Called when the user picks an order: sorts stably and returns the new index of the picture that
// was at currentIndex (unchanged when currentIndex was out of range).
size_t Resort(PictureList& list, SortKey key, bool descending, size_t currentIndex);

// Called after the current picture was deleted or moved away; keeps the order of the rest. An index
// out of range does nothing.
void RemoveItem(PictureList& list, size_t index);

// Called after a folder picture was renamed: sets its path and name; the list is not re-sorted.
// Does nothing for archive lists or an index out of range.
void RenameItem(PictureList& list, size_t index, std::string_view newPath);

// Called by the file operations: the whole encoded content of a picture (a file below 2 GiB, or an
// archive entry through reader); empty on any failure.
std::vector<uint8_t> ReadItemBytes(const PictureItem& item, ZipReader* reader);

// Called for "next folder" (+1) and "previous folder" (-1): the folder or archive beside the list's
// location in natural order, or nothing.
std::optional<std::string> SiblingFolder(const PictureList& list, int direction);

}  // namespace Quarlo::View
