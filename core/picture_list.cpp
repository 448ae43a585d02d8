#include "core/picture_list.h"

#include <algorithm>

#include "core/natural_order.h"
#include "core/paths.h"

namespace Quarlo::View {

namespace {

// The extension as ExtensionOf finds it, without copying; case does not matter to the natural
// comparison that uses it.
std::string_view ExtensionView(std::string_view name) {
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot + 1 == name.size()) return {};
  size_t slash = name.rfind('/');
  if (slash != std::string_view::npos && slash > dot) return {};
  return name.substr(dot + 1);
}

template <typename T>
int ThreeWay(T a, T b) {
  return a < b ? -1 : b < a ? 1 : 0;
}

int Compare(const PictureItem& a, const PictureItem& b, SortKey key) {
  int primary = 0;
  switch (key) {
    case SortKey::Name:
      break;
    case SortKey::DateModified:
      primary = ThreeWay(a.modified, b.modified);
      break;
    case SortKey::Size:
      primary = ThreeWay(a.size, b.size);
      break;
    case SortKey::Type:
      primary = NaturalCompare(ExtensionView(a.name), ExtensionView(b.name));
      break;
  }
  return primary != 0 ? primary : NaturalCompare(a.name, b.name);
}

}  // namespace

const std::string& KeyOf(const PictureItem& item) { return item.path.empty() ? item.name : item.path; }

std::optional<size_t> IndexOf(const PictureList& list, std::string_view key) {
  for (size_t i = 0; i < list.items.size(); ++i) {
    if (KeyOf(list.items[i]) == key) return i;
  }
  return std::nullopt;
}

size_t Resort(PictureList& list, SortKey key, bool descending, size_t currentIndex) {
  std::optional<std::string> currentKey;
  if (currentIndex < list.items.size()) currentKey = KeyOf(list.items[currentIndex]);
  list.sortKey = key;
  list.descending = descending;
  // Descending reverses the whole comparison, the name tie-break included; equal items keep their
  // order either way.
  std::stable_sort(list.items.begin(), list.items.end(), [key, descending](const auto& a, const auto& b) {
    return descending ? Compare(b, a, key) < 0 : Compare(a, b, key) < 0;
  });
  if (!currentKey) return currentIndex;
  return IndexOf(list, *currentKey).value_or(currentIndex);
}

void RemoveItem(PictureList& list, size_t index) {
  if (index < list.items.size()) list.items.erase(list.items.begin() + static_cast<ptrdiff_t>(index));
}

void RenameItem(PictureList& list, size_t index, std::string_view newPath) {
  if (list.kind != SourceKind::Folder || index >= list.items.size()) return;
  PictureItem& item = list.items[index];
  item.path = std::string(newPath);
  item.name = FileNameOf(newPath);
}

}  // namespace Quarlo::View
