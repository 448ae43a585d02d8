#pragma once
// A virtualised grid of thumbnail tiles: items are laid out in as many columns as fit, each tile shows a
// bitmap and one or two text lines fetched on demand from an ITileDataSource, and a SelectionModel of
// index ranges gives single, Ctrl and Shift selection with keyboard navigation. Only the tiles of the
// visible rows are painted (and, with four rows of overscan, exposed to accessibility); the source hears
// of the tiles in view plus a page of rows on each side through VisibleRangeChanged.
//
// The class spans several files: tile_view.cpp (data, layout, prefetch), tile_view_input.cpp (pointer
// and keys), tile_view_paint.cpp (painting), tile_view_access.cpp (accessibility items).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "widget/canvas.h"
#include "widget/list/tile_data_source.h"
#include "widget/list/tile_geometry.h"
#include "widget/list/virtual_rows_view.h"
#include "widget/models/selection_model.h"

namespace Quarlo::Widget::List {

using Models::IndexRange;
using Models::SelectionChange;
using Models::SelectionMode;
using Models::SelectionModel;

// What a drag that starts on a tile carries.
struct TileDragInfo {
  std::vector<IndexRange> ranges;  // a copy of the selection
  int64_t index = -1;              // the pressed item
  Point point;                     // the press point in window space
};

// Layout caches past this many entries are dropped wholesale at the start of a paint.
inline constexpr size_t kTileLayoutCacheLimit = 4000;
// The accessibility selection list stops at this many ids.
inline constexpr size_t kTileSelectionListLimit = 10000;
// Pointer travel (DIPs, on either axis) that turns a press on a selected tile into a drag.
inline constexpr float kTileDragThreshold = 4;

class TileView : public VirtualRowsView {
 public:
  TileView();
  ~TileView() override;

  // --- Data and geometry ---

  // Stores the source (not owned; null shows the empty text) and re-reads its count.
  void SetDataSource(ITileDataSource* source);
  // The thumbnail box; each side at least 16.
  void SetTileSize(Size size);
  // 0, 1 or 2 lines of text under each thumbnail (other values are clamped).
  void SetTextLines(int lines);
  // The source's items changed: drops cached texts, re-reads the count, clears the selection.
  void Reload();
  // The texts of [first, first + count) changed; their tiles are drawn again.
  void InvalidateItems(int64_t first, int64_t count);
  void ScrollIndexIntoView(int64_t index, ScrollAlignment alignment, bool animated);
  // Selects only index and brings its row into view at once.
  void SelectAndReveal(int64_t index);
  Rect TileRect(int64_t index) const;
  // The item under a local point, or -1.
  int64_t IndexAtPoint(Point local) const;

  int64_t ItemCount() const { return itemCount_; }
  int64_t Columns() const { return columns_; }
  const TileGeometry& Geometry() const { return geometry_; }
  const TextStyle& TitleStyle() const { return titleStyle_; }
  size_t LayoutCacheSize() const { return layoutCache_.size(); }
  int64_t HoverIndex() const { return hoverIndex_; }
  // The items of the visible rows widened by overscan rows on each side, as [begin, end).
  IndexRange VisibleItems(int64_t overscan = 0) const;

  SelectionModel selection{0, SelectionMode::Multiple};

  std::function<void(int64_t index)> onItemInvoked;  // Enter, double click, accessibility Invoke
  std::function<void(int64_t index, Point window, bool byKeyboard)> onContextMenu;
  std::function<void(const TileDragInfo&)> onDragStart;
  std::function<void(const SelectionChange&)> onSelectionChanged;
  std::function<void()> onViewportChanged;

  // --- Rows view ---

  int64_t RowAtPoint(Point local) const override;
  void OnViewportChanged() override;
  ItemId RowItemId(int64_t row) const override;
  int64_t ItemRow(ItemId item) const override;
  bool RowItemInfo(int64_t row, ItemInfo& info) const override;
  int64_t FocusedRow() const override;

  // --- Widget ---

  Quarlo::Widget::Role Role() const override;
  std::string AccessibleName() const override;
  bool IsSelectionContainer() const override;
  bool CanSelectMultiple() const override;
  std::vector<ItemId> Selection() const override;
  int32_t ItemChildCount(ItemId parent) const override;
  ItemId ItemChildAt(ItemId parent, int32_t index) const override;
  int32_t ItemIndex(ItemId item) const override;
  bool ItemInformation(ItemId item, ItemInfo& info) const override;
  ItemId FocusedItem() const override;
  ItemId ItemAtPoint(Point local) const override;
  bool InvokeItem(ItemId item) override;
  bool SelectItem(ItemId item, SelectAction action) override;
  bool FocusItem(ItemId item) override;
  bool RealizeItem(ItemId item) override;
  bool HasVirtualItems() const override;
  const char* ClassName() const override;
  bool OnPointerDown(const PointerEvent& event) override;
  bool OnPointerUp(const PointerEvent& event) override;
  bool OnPointerMove(const PointerEvent& event) override;
  void OnPointerLeave() override;
  void OnCaptureLost() override;
  bool OnKeyDown(const KeyEvent& event) override;
  void OnFocusChanged(bool focused) override;
  Size MeasureOverride(Size available) override;
  void ArrangeOverride(Size final) override;
  void Paint(Canvas& canvas) override;
  void OnThemeChanged() override;
  void OnScaleChanged() override;

 private:
  struct TileTexts {
    TextLayout title;
    TextLayout subtitle;
    float width = -1;
  };

  // tile_view.cpp
  void ApplyRowHeight();
  void UpdateColumns(float width);
  void RereadCount();
  void Prefetch();
  void ConnectSelection();
  void SetHoverIndex(int64_t index);
  int64_t IndexOfItem(ItemId item) const;

  // tile_view_input.cpp
  void PressLeft(const PointerEvent& event, int64_t index);
  void ContextStep(int64_t index, Point local, bool byKeyboard);
  void KeyboardContext();
  bool MoveFocusByKey(Models::FocusMove move, uint8_t modifiers);

  // tile_view_paint.cpp
  const TileTexts& TextsOf(int64_t index, float width);
  void PaintEmpty(Canvas& canvas, const Theme& theme);
  void PaintTile(Canvas& canvas, const Theme& theme, int64_t index, Size thumbnailPixels);

  ITileDataSource* source_ = nullptr;
  int64_t itemCount_ = 0;
  int64_t columns_ = 1;
  TileGeometry geometry_;
  float arrangedWidth_ = 0;
  TextLayout emptyLayout_;
  TextStyle titleStyle_{"", 14, 400};
  TextStyle subtitleStyle_{"", 12, 400};
  std::unordered_map<int64_t, TileTexts> layoutCache_;
  int64_t hoverIndex_ = -1;
  int64_t pressedIndex_ = -1;
  Point pressPoint_;
  Point lastPointer_;
  bool collapseOnRelease_ = false;
  bool dragArmed_ = false;
  bool contextPending_ = false;
  int64_t notifiedFirst_ = -1;
  int64_t notifiedCount_ = -1;
};

}  // namespace Quarlo::Widget::List
