#include "app/chrome_items.h"

#include <algorithm>
#include <cmath>

#include "app/key_map.h"
#include "core/paths.h"
#include "core/strings.h"
#include "views/zoom_model.h"

namespace App {

using namespace Quarlo::Widget::Input;
using Quarlo::View::FitMode;
using Quarlo::View::FormatText;
using Quarlo::View::PageMode;
using Quarlo::View::Text;

namespace {

constexpr int kPositionText = 29;
constexpr int kZoomText = 30;
constexpr int kMoreText = 31;
constexpr int kFitText = 32;
constexpr int kLayoutText = 33;
constexpr int kSortText = 34;
constexpr int kAlbumsText = 40;
constexpr int kAlbumText = 107;
constexpr int32_t kFitGroup = 1;
constexpr int32_t kLayoutGroup = 2;
constexpr char kEnDash[] = "\u2013";

MenuItem CommandItem(const KeyMap& keys, CommandId id, bool enabled = true) {
  MenuItem item = MenuItem::Command(ItemIdOf(id), Label(id), FirstChordText(keys, id));
  item.enabled = enabled;
  return item;
}

MenuItem CheckItem(const KeyMap& keys, CommandId id, bool checked, bool enabled = true) {
  MenuItem item = MenuItem::Check(ItemIdOf(id), Label(id), FirstChordText(keys, id), 0, checked);
  item.enabled = enabled;
  return item;
}

MenuItem RadioItem(const KeyMap& keys, CommandId id, int32_t group, bool checked) {
  return MenuItem::Radio(ItemIdOf(id), Label(id), FirstChordText(keys, id), 0, group, checked);
}

ToolbarItem Tool(ToolbarItemKind kind, CommandId id, char32_t icon, bool enabled, bool checked = false) {
  ToolbarItem item = ToolbarItem::Make(kind, ItemIdOf(id), Label(id), icon);
  item.enabled = enabled;
  item.checked = checked;
  return item;
}

ToolbarItem DropDown(int32_t id, int textId, char32_t icon, bool enabled, std::vector<MenuItem> menu) {
  ToolbarItem item = ToolbarItem::Make(ToolbarItemKind::DropDown, id, Text(textId), icon);
  item.enabled = enabled;
  item.menu = std::move(menu);
  return item;
}

ToolbarItem Separator() { return ToolbarItem::Make(ToolbarItemKind::Separator, 0, {}); }

std::string AlbumText(const ChromeState& state, size_t index) {
  std::string text = FormatText(kAlbumText, {std::to_string(index + 1)});
  const std::string& folder = state.albums[index];
  if (!folder.empty()) text += ": " + Quarlo::View::FileNameOf(folder);
  return text;
}

std::vector<MenuItem> AlbumMenu(const ChromeState& state, const KeyMap& keys) {
  constexpr CommandId kAlbums[] = {CommandId::AlbumCopy1, CommandId::AlbumCopy2, CommandId::AlbumCopy3,
                                   CommandId::AlbumCopy4};
  std::vector<MenuItem> items;
  for (size_t i = 0; i < std::size(kAlbums); ++i) {
    MenuItem item = CommandItem(keys, kAlbums[i], state.listOpen);
    item.text = AlbumText(state, i);
    items.push_back(std::move(item));
  }
  return items;
}

bool FitChecked(const ChromeState& state, FitMode mode) {
  // In webtoon layout the setting decides: the strip's zoom is never "manual" in the picture view's sense.
  return (state.webtoon || !state.zoomManual) && state.fitMode == mode;
}

bool SameMenu(const std::vector<MenuItem>& a, const std::vector<MenuItem>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const MenuItem& x, const MenuItem& y) {
    return x.kind == y.kind && x.id == y.id && x.text == y.text && x.acceleratorText == y.acceleratorText &&
           x.icon == y.icon && x.enabled == y.enabled && x.checked == y.checked && x.group == y.group &&
           SameMenu(x.children, y.children);
  });
}

}  // namespace

bool SameItems(const std::vector<ToolbarItem>& a, const std::vector<ToolbarItem>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const ToolbarItem& x, const ToolbarItem& y) {
    return x.kind == y.kind && x.id == y.id && x.text == y.text && x.toolTip == y.toolTip &&
           x.icon == y.icon && x.showLabel == y.showLabel && x.enabled == y.enabled &&
           x.checked == y.checked && SameMenu(x.menu, y.menu);
  });
}

int32_t ItemIdOf(CommandId id) { return static_cast<int32_t>(id) + 1; }

std::optional<CommandId> CommandOfItem(int32_t itemId) {
  if (itemId < 1 || itemId > kCommandCount) return std::nullopt;
  return static_cast<CommandId>(itemId - 1);
}

std::string FirstChordText(const KeyMap& keys, CommandId id) {
  const ChordList& chords = keys.Chords(id);
  return chords.empty() ? std::string() : ChordText(chords.front());
}

std::string ChordToolTip(const KeyMap& keys, CommandId id) {
  const std::string chord = FirstChordText(keys, id);
  return chord.empty() ? Label(id) : Label(id) + " (" + chord + ")";
}

std::vector<ToolbarItem> ToolBarItems(const ChromeState& state, const KeyMap& keys) {
  const bool open = state.listOpen;
  const bool turnable = open && !state.webtoon;
  using Kind = ToolbarItemKind;
  return {
      Tool(Kind::Button, CommandId::Open, U'\uE8E5', true),
      Tool(Kind::Toggle, CommandId::ShowList, U'\uE8A9', open, state.listShown),
      Separator(),
      Tool(Kind::Button, CommandId::ZoomOut, U'\uE71F', open),
      Tool(Kind::Button, CommandId::ZoomIn, U'\uE8A3', open),
      DropDown(kFitMenuId, kFitText, U'\uE9A6', open, FitMenu(state, keys)),
      Tool(Kind::Button, CommandId::RotateLeft, U'\uE7A7', turnable),
      Tool(Kind::Button, CommandId::RotateRight, U'\uE7A6', turnable),
      DropDown(kLayoutMenuId, kLayoutText, U'\uE736', true, LayoutMenu(state, keys)),
      Separator(),
      Tool(Kind::Toggle, CommandId::Slideshow, U'\uE786', open, state.slideShow),
      Tool(Kind::Button, CommandId::Fullscreen, state.fullScreen ? U'\uE73F' : U'\uE740', true),
      Tool(Kind::Toggle, CommandId::ShowInfo, U'\uE946', open, state.infoShown),
      Separator(),
      Tool(Kind::Button, CommandId::Delete, U'\uE74D', state.folderPicture),
      DropDown(kMoreMenuId, kMoreText, U'\uE712', true, MoreMenu(state, keys)),
      Tool(Kind::Button, CommandId::Settings, U'\uE713', true),
  };
}

std::vector<MenuItem> FitMenu(const ChromeState& state, const KeyMap& keys) {
  return {
      RadioItem(keys, CommandId::ZoomFit, kFitGroup, FitChecked(state, FitMode::Fit)),
      RadioItem(keys, CommandId::ZoomOriginal, kFitGroup, FitChecked(state, FitMode::ActualSize)),
      RadioItem(keys, CommandId::FitWidth, kFitGroup, FitChecked(state, FitMode::FitWidth)),
      RadioItem(keys, CommandId::FitHeight, kFitGroup, FitChecked(state, FitMode::FitHeight)),
      RadioItem(keys, CommandId::FitFill, kFitGroup, FitChecked(state, FitMode::Fill)),
      MenuItem::Separator(),
      CommandItem(keys, CommandId::ZoomIn),
      CommandItem(keys, CommandId::ZoomOut),
      CheckItem(keys, CommandId::ZoomLock, state.zoomLock),
  };
}

std::vector<MenuItem> LayoutMenu(const ChromeState& state, const KeyMap& keys) {
  return {
      RadioItem(keys, CommandId::SinglePage, kLayoutGroup, state.pageMode == PageMode::SinglePage),
      RadioItem(keys, CommandId::TwoPages, kLayoutGroup, state.pageMode == PageMode::TwoPages),
      RadioItem(keys, CommandId::Webtoon, kLayoutGroup, state.pageMode == PageMode::Webtoon),
      MenuItem::Separator(),
      CheckItem(keys, CommandId::RightToLeft, state.rightToLeft, state.pageMode == PageMode::TwoPages),
  };
}

std::vector<MenuItem> MoreMenu(const ChromeState& state, const KeyMap& keys) {
  const bool open = state.listOpen;
  const bool folder = state.folderPicture;
  const bool turnable = open && !state.webtoon;
  std::vector<MenuItem> items{
      CommandItem(keys, CommandId::OpenFolder),
      CommandItem(keys, CommandId::Reload, open),
      CommandItem(keys, CommandId::CloseFile, open),
      MenuItem::Separator(),
      CommandItem(keys, CommandId::CopyImage, open),
      CommandItem(keys, CommandId::CopyPath, open),
      CommandItem(keys, CommandId::ShowInFolder, open),
      CommandItem(keys, CommandId::OpenWith, folder),
      CommandItem(keys, CommandId::Convert, open),
      CommandItem(keys, CommandId::SetWallpaper, open),
      MenuItem::Submenu(0, Text(kAlbumsText), {}, 0, AlbumMenu(state, keys)),
      CommandItem(keys, CommandId::Rename, folder),
      CommandItem(keys, CommandId::DeletePermanently, folder),
      CommandItem(keys, CommandId::Properties, open),
      MenuItem::Separator(),
  };
  if (!state.sortMenu.empty()) items.push_back(MenuItem::Submenu(0, Text(kSortText), {}, 0, state.sortMenu));
  items.insert(items.end(), {
                                CommandItem(keys, CommandId::GoTo, open),
                                CommandItem(keys, CommandId::NextFolder, open),
                                CommandItem(keys, CommandId::PreviousFolder, open),
                                MenuItem::Separator(),
                                CommandItem(keys, CommandId::FlipHorizontal, turnable),
                                CommandItem(keys, CommandId::FlipVertical, turnable),
                                CheckItem(keys, CommandId::AlwaysOnTop, state.alwaysOnTop),
                                CheckItem(keys, CommandId::PinBars, state.pinBars),
                                MenuItem::Separator(),
                                CommandItem(keys, CommandId::BookmarkAdd, open),
                                CommandItem(keys, CommandId::Bookmarks),
                                CommandItem(keys, CommandId::ShortcutList),
                                CommandItem(keys, CommandId::About),
                            });
  return items;
}

std::string PositionText(size_t current, size_t count, bool twoShown) {
  std::string number = std::to_string(current + 1);
  if (twoShown) number += kEnDash + std::to_string(current + 2);
  return FormatText(kPositionText, {number, std::to_string(count)});
}

std::string ZoomText(double zoom) { return FormatText(kZoomText, {std::to_string(ZoomPercent(zoom))}); }

size_t SliderTarget(double value) {
  const long rounded = std::lround(value);
  return static_cast<size_t>(std::max(rounded, 1L) - 1);
}

}  // namespace App
