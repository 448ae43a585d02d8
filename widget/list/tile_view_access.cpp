// TileView: tiles as accessibility items (id = index + 1), exposed for the visible rows with overscan.

#include <algorithm>
#include <limits>

#include "widget/list/tile_view.h"
#include "widget/toolkit_language.h"

namespace Quarlo::Widget::List {

namespace {

int32_t CapToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, 0, std::numeric_limits<int32_t>::max()));
}

}  // namespace

int64_t TileView::IndexOfItem(ItemId item) const {
  if (item == 0 || item > static_cast<ItemId>(itemCount_)) return -1;
  return static_cast<int64_t>(item - 1);
}

Quarlo::Widget::Role TileView::Role() const { return Role::List; }

std::string TileView::AccessibleName() const {
  std::string name = Widget::AccessibleName();
  return name.empty() ? ToolkitString(ToolkitText::TileListName) : name;
}

bool TileView::IsSelectionContainer() const { return true; }

bool TileView::CanSelectMultiple() const { return selection.Mode() == SelectionMode::Multiple; }

bool TileView::HasVirtualItems() const { return true; }

const char* TileView::ClassName() const { return "TileView"; }

std::vector<ItemId> TileView::Selection() const {
  std::vector<ItemId> ids;
  for (const IndexRange& range : selection.Ranges()) {
    for (int64_t i = range.begin; i < range.end; ++i) {
      if (ids.size() >= kTileSelectionListLimit) return ids;
      ids.push_back(static_cast<ItemId>(i) + 1);
    }
  }
  return ids;
}

int32_t TileView::ItemChildCount(ItemId parent) const {
  if (parent != 0) return 0;
  const IndexRange items = VisibleItems(kAccessibilityOverscan);
  return CapToInt32(items.end - items.begin);
}

ItemId TileView::ItemChildAt(ItemId parent, int32_t index) const {
  if (parent != 0 || index < 0) return 0;
  const IndexRange items = VisibleItems(kAccessibilityOverscan);
  const int64_t item = items.begin + index;
  return item < items.end ? static_cast<ItemId>(item) + 1 : 0;
}

int32_t TileView::ItemIndex(ItemId item) const {
  const IndexRange items = VisibleItems(kAccessibilityOverscan);
  const int64_t index = IndexOfItem(item);
  return index >= items.begin && index < items.end ? static_cast<int32_t>(index - items.begin) : -1;
}

bool TileView::ItemInformation(ItemId item, ItemInfo& info) const {
  const int64_t index = IndexOfItem(item);
  if (index < 0 || !source_) return false;
  info.role = Role::ListItem;
  info.name = std::string(source_->Title(index));
  info.helpText = std::string(source_->Subtitle(index));
  info.selected = selection.IsSelected(index);
  info.focused = IsFocused() && index == selection.Focus();
  info.invokable = static_cast<bool>(onItemInvoked);
  info.row = CapToInt32(index / columns_);
  info.column = CapToInt32(index % columns_);
  info.positionInSet = CapToInt32(index + 1);
  info.sizeOfSet = CapToInt32(itemCount_);
  info.bounds = VisiblePart(TileRect(index), ContentRect());
  return true;
}

ItemId TileView::FocusedItem() const {
  const int64_t focus = selection.Focus();
  return IsFocused() && focus >= 0 ? static_cast<ItemId>(focus) + 1 : 0;
}

ItemId TileView::ItemAtPoint(Point local) const {
  const int64_t index = IndexAtPoint(local);
  return index >= 0 ? static_cast<ItemId>(index) + 1 : 0;
}

bool TileView::InvokeItem(ItemId item) {
  const int64_t index = IndexOfItem(item);
  if (index < 0 || !onItemInvoked) return false;
  onItemInvoked(index);
  return true;
}

bool TileView::SelectItem(ItemId item, SelectAction action) {
  const int64_t index = IndexOfItem(item);
  if (index < 0) return false;
  switch (action) {
    case SelectAction::Select:
      selection.SelectOnly(index);
      break;
    case SelectAction::Add:
      selection.AddRange({index, index + 1});
      selection.SetFocus(index);
      break;
    case SelectAction::Remove:
      selection.RemoveRange({index, index + 1});
      break;
  }
  return true;
}

bool TileView::FocusItem(ItemId item) {
  const int64_t index = IndexOfItem(item);
  if (index < 0) return false;
  selection.SetFocus(index);
  ScrollRowIntoView(index / columns_, ScrollAlignment::Nearest, false);
  return true;
}

bool TileView::RealizeItem(ItemId item) {
  const int64_t index = IndexOfItem(item);
  if (index < 0) return false;
  ScrollRowIntoView(index / columns_, ScrollAlignment::Nearest, false);
  return true;
}

// Rows stand for their first tile where the rows view asks by row.
ItemId TileView::RowItemId(int64_t row) const { return static_cast<ItemId>(row) + 1; }

int64_t TileView::ItemRow(ItemId item) const {
  const int64_t index = IndexOfItem(item);
  return index < 0 ? -1 : index / columns_;
}

bool TileView::RowItemInfo(int64_t row, ItemInfo& info) const {
  return ItemInformation(static_cast<ItemId>(row * columns_) + 1, info);
}

int64_t TileView::FocusedRow() const {
  const int64_t focus = selection.Focus();
  return IsFocused() && focus >= 0 ? focus / columns_ : -1;
}

}  // namespace Quarlo::Widget::List
