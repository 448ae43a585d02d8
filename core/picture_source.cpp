// Building picture lists from the file system: opening a folder, an archive or a single file,
// reading a picture's bytes, and finding the sibling folders.

#include <algorithm>

#include "core/file_kinds.h"
#include "core/folder_listing.h"
#include "core/natural_order.h"
#include "core/paths.h"
#include "core/picture_list.h"
#include "platform/file_read.h"

namespace Quarlo::View {

namespace {

// Archives made on macOS carry resource forks beside the real entries.
constexpr std::string_view kMacResourceFolder = "__MACOSX/";
constexpr std::string_view kMacResourcePrefix = "._";

bool IsHiddenName(std::string_view name) { return name.starts_with('.'); }

void AddArchiveItems(const ZipReader& reader, std::vector<PictureItem>& items) {
  const std::vector<ZipEntry>& entries = reader.Entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    const ZipEntry& entry = entries[i];
    if (entry.isDirectory || !IsPictureName(entry.name) || entry.name.starts_with(kMacResourceFolder) ||
        FileNameOf(entry.name).starts_with(kMacResourcePrefix)) {
      continue;
    }
    items.push_back({entry.name, {}, i, entry.usize, entry.modified});
  }
}

// Lists the pictures of a folder. A hidden file is listed only when it is the opened file. Names are
// filtered before any stat, so only pictures cost one. Only regular files (links followed) are
// pictures: a pipe, socket or device would block or feed the loader, a dangling link holds nothing.
ListingStatus AddFolderItems(const std::string& location, const std::string& startName,
                             std::vector<PictureItem>& items) {
  return ListFolder(location, [&](FolderEntry& entry) {
    std::string_view name = entry.Name();
    if (!IsPictureName(name)) return;
    std::string path = JoinPath(location, name);
    if (IsHiddenName(name) && path != startName) return;
    const std::optional<FileFacts>& facts = entry.Facts();
    if (!facts || !facts->isRegular) return;
    items.push_back({std::string(name), std::move(path), 0, facts->size, facts->modified});
  });
}

}  // namespace

OpenedSource OpenSource(std::string_view path, std::string_view startEntry) {
  OpenedSource result;
  PictureList& list = result.list;
  OpenOutcome& outcome = result.outcome;
  // An empty path names nothing; normalising it would silently open the current folder.
  if (path.empty()) return result;
  std::string opened = NormalizePath(path);
  std::optional<FileFacts> facts = StatPath(opened);
  if (!facts) return result;

  std::string startName;
  if (facts->isDirectory) {
    list.location = opened;
  } else if (IsArchiveName(opened)) {
    auto reader = std::make_shared<ZipReader>();
    ZipStatus status = reader->Open(opened);
    if (status != ZipStatus::Ok) {
      outcome.archiveStatus = status;
      return result;
    }
    list.kind = SourceKind::Archive;
    list.location = opened;
    AddArchiveItems(*reader, list.items);
    list.reader = std::move(reader);
    startName = startEntry;
  } else {
    list.location = ParentOf(opened);
    startName = opened;
  }

  if (list.kind != SourceKind::Archive) {
    if (AddFolderItems(list.location, startName, list.items) == ListingStatus::Failed) {
      result.list = {};
      return result;
    }
    list.kind = SourceKind::Folder;
    // The opened file joins its folder's list even when its extension is not a picture's.
    if (!startName.empty() && !IndexOf(list, startName)) {
      list.items.push_back({FileNameOf(opened), opened, 0, facts->size, facts->modified});
    }
  }

  // An index past the end means there is no current picture to follow.
  Resort(list, SortKey::Name, false, list.items.size());
  outcome.succeeded = true;
  if (!startName.empty()) outcome.startIndex = IndexOf(list, startName).value_or(0);
  return result;
}

std::vector<uint8_t> ReadItemBytes(const PictureItem& item, ZipReader* reader) {
  if (!item.path.empty()) {
    Platform::FileRead read = Platform::ReadWholeFile(item.path);
    return read.Ok() ? std::move(read.bytes) : std::vector<uint8_t>();
  }
  std::vector<uint8_t> bytes;
  if (reader == nullptr || reader->ReadEntry(item.entryIndex, bytes) != ZipStatus::Ok) return {};
  return bytes;
}

std::optional<std::string> SiblingFolder(const PictureList& list, int direction) {
  if (list.kind == SourceKind::None || list.location.empty()) return std::nullopt;
  std::string parent = ParentOf(list.location);
  if (parent.empty() || parent == list.location) return std::nullopt;

  std::vector<std::string> names;
  ListingStatus status = ListFolder(parent, [&](FolderEntry& entry) {
    std::string_view name = entry.Name();
    if (IsHiddenName(name)) return;
    if (entry.IsDirectory() || (IsArchiveName(name) && entry.IsRegularFile())) names.emplace_back(name);
  });
  if (status != ListingStatus::Ok) return std::nullopt;
  SortNatural(names);

  std::string own = FileNameOf(list.location);
  auto found = std::find(names.begin(), names.end(), own);
  if (found == names.end()) return std::nullopt;
  ptrdiff_t at = (found - names.begin()) + (direction < 0 ? -1 : 1);
  if (at < 0 || at >= static_cast<ptrdiff_t>(names.size())) return std::nullopt;
  return JoinPath(parent, names[static_cast<size_t>(at)]);
}

}  // namespace Quarlo::View
