// The image list: showing and hiding it in place of the picture, choosing a tile, the thumbnails arriving
// from the cache, and the sort order with its submenu, which re-sorts the open list around the current
// picture.

#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "app/list_source.h"
#include "app/main_window.h"
#include "app/viewer_window.h"
#include "core/picture_list.h"
#include "core/strings.h"
#include "core/trace.h"
#include "views/webtoon_view.h"
#include "widget/input/menu_item.h"
#include "widget/list/tile_view.h"

namespace App {

using Quarlo::View::SortKey;
using Quarlo::View::Text;
using Quarlo::View::Trace;
using Quarlo::Widget::FocusReason;
using Quarlo::Widget::Input::MenuItem;
using Quarlo::Widget::List::ScrollAlignment;

namespace {

// Texts of the sort keys, in SortKey order (35 "Name" to 38 "Type").
constexpr int kFirstSortKeyText = 35;
constexpr int kDescendingText = 39;
constexpr int32_t kSortRadioGroup = 1;

// Automation names of the Sort items, in SortKey order.
constexpr std::string_view kSortKeyNames[] = {"SortName", "SortDateModified", "SortSize", "SortType"};
constexpr std::string_view kSortDescendingName = "SortDescending";

}  // namespace

std::unique_ptr<Quarlo::Widget::List::TileView> MainWindow::BuildListView() {
  auto view = std::make_unique<Quarlo::Widget::List::TileView>();
  view->SetDataSource(listSource_.get());
  view->SetTileSize({kListTileSide, kListTileSide});
  view->SetTextLines(1);
  view->onItemInvoked = [this](int64_t index) { OnTileInvoked(index); };
  listView_ = view.get();
  return view;
}

void MainWindow::SetListShown(bool on) {
  if (on && !HasList()) return;
  listShown_ = on;
  if (on) {
    RefreshChrome();
    if (window_) window_->UpdateLayout();
    listView_->Reload();
    listView_->SelectAndReveal(static_cast<int64_t>(current_));
    listView_->ScrollIndexIntoView(static_cast<int64_t>(current_), ScrollAlignment::Center, false);
    listView_->Focus(FocusReason::Programmatic);
  } else {
    ReleaseListFocus();
  }
  Trace(on ? "list shown" : "list hidden");
  RefreshChrome();
}

// Keys reach the window's own handling again once no widget of the list holds the focus.
void MainWindow::ReleaseListFocus() {
  if (window_) window_->SetFocus(nullptr, FocusReason::Programmatic);
}

void MainWindow::HideListQuietly() {
  if (!listShown_) return;
  listShown_ = false;
  ReleaseListFocus();
}

void MainWindow::OnTileInvoked(int64_t index) {
  if (index < 0) return;
  listShown_ = false;
  ReleaseListFocus();
  Trace("list hidden");
  RefreshChrome();
  GoTo(static_cast<size_t>(index), false);
}

void MainWindow::ResetImageList() {
  listSource_->ForgetBitmaps();
  listView_->Reload();
}

bool MainWindow::ListThumbnailsReady() const {
  const Quarlo::Widget::List::IndexRange tiles = listView_->VisibleItems();
  for (int64_t i = tiles.begin; i < tiles.end; ++i) {
    if (!cache_->GetThumbnail(static_cast<size_t>(i))) return false;
  }
  return true;
}

void MainWindow::DeliverThumbnails(const std::vector<size_t>& indexes) {
  for (size_t index : indexes) {
    listSource_->ForgetBitmap(static_cast<int64_t>(index));
    listView_->InvalidateItems(static_cast<int64_t>(index), 1);
  }
}

void MainWindow::SetSortOrder(SortKey key, bool descending) {
  sortKey_ = key;
  sortDescending_ = descending;
  if (!HasList()) return;
  const size_t index = Quarlo::View::Resort(list_, key, descending, current_);
  // The same pictures in another order: the decoded ones stay in the cache under their keys.
  cache_->SetList(list_.items, list_.reader, true);
  ResetImageList();
  webtoonView_->Relayout();
  current_ = index;
  GoTo(current_, false);
}

std::vector<MenuItem> MainWindow::SortMenuItems() const {
  const bool open = HasList();
  std::vector<MenuItem> items;
  for (int key = 0; key <= static_cast<int>(SortKey::Type); ++key) {
    MenuItem item = MenuItem::Radio(kSortMenuFirstKeyId + key, Text(kFirstSortKeyText + key), {}, 0,
                                    kSortRadioGroup, sortKey_ == static_cast<SortKey>(key));
    item.enabled = open;
    items.push_back(std::move(item));
  }
  items.push_back(MenuItem::Separator());
  MenuItem descending = MenuItem::Check(kSortMenuDescendingId, Text(kDescendingText), {}, 0, sortDescending_);
  descending.enabled = open;
  items.push_back(std::move(descending));
  return items;
}

std::optional<int32_t> MainWindow::SortMenuItemNamed(std::string_view name) {
  for (int32_t key = 0; key < static_cast<int32_t>(std::size(kSortKeyNames)); ++key) {
    if (name == kSortKeyNames[key]) return kSortMenuFirstKeyId + key;
  }
  if (name == kSortDescendingName) return kSortMenuDescendingId;
  return std::nullopt;
}

bool MainWindow::RunSortMenuItem(int32_t id) {
  if (id >= kSortMenuFirstKeyId && id <= kSortMenuFirstKeyId + static_cast<int32_t>(SortKey::Type)) {
    SetSortOrder(static_cast<SortKey>(id - kSortMenuFirstKeyId), sortDescending_);
    return true;
  }
  if (id == kSortMenuDescendingId) {
    SetSortOrder(sortKey_, !sortDescending_);
    return true;
  }
  return false;
}

}  // namespace App
