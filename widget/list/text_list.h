#pragma once
// A virtualised list of single-line text rows with one selected row: the rows' texts come from a callback,
// and only the rows in view (plus a few beyond each edge, ready for the next scroll step) have text laid
// out. Layouts of rows that scroll away are recycled for the rows that come in. The arrow keys, Page Up,
// Page Down, Home and End move the selection and glide it into view; a click selects, Enter or a double
// click invokes.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "widget/canvas.h"
#include "widget/list/virtual_rows_view.h"

namespace Quarlo::Widget::List {

// Rows laid out ahead beyond each edge of the viewport.
inline constexpr int64_t kPreparedOverscan = 4;

class TextList : public VirtualRowsView {
 public:
  using TextSource = std::function<std::string(int64_t row)>;

  TextList();

  // Replaces the rows: count rows whose texts textAt gives on demand. The selection is cleared.
  void SetItems(int64_t count, TextSource textAt);
  // The texts changed (same count): every prepared row is laid out again when next drawn.
  void InvalidateTexts();
  int64_t Selected() const { return selected_; }
  // Selects a row (-1 clears) and, with reveal, glides it into view; onSelectionChanged on a change.
  void Select(int64_t row, bool reveal);

  // The rows that have text laid out, and how many layouts were made since the list was created.
  RowRange PreparedRange() const { return prepared_; }
  size_t PreparedSlotCount() const { return slots_.size(); }
  uint64_t LayoutsBuilt() const { return layoutsBuilt_; }

  std::function<void(int64_t row)> onSelectionChanged;
  std::function<void(int64_t row)> onInvoked;

  // --- Rows view ---

  ItemId RowItemId(int64_t row) const override;
  int64_t ItemRow(ItemId item) const override;
  bool RowItemInfo(int64_t row, ItemInfo& info) const override;
  int64_t FocusedRow() const override;
  void OnViewportChanged() override;

  // --- Widget ---

  Quarlo::Widget::Role Role() const override;
  std::string AccessibleName() const override;
  bool IsSelectionContainer() const override;
  std::vector<ItemId> Selection() const override;
  bool SelectItem(ItemId item, SelectAction action) override;
  bool FocusItem(ItemId item) override;
  bool InvokeItem(ItemId item) override;
  bool HasVirtualItems() const override;
  bool OnPointerDown(const PointerEvent& event) override;
  bool OnPointerUp(const PointerEvent& event) override;
  bool OnPointerMove(const PointerEvent& event) override;
  void OnCaptureLost() override;
  bool OnKeyDown(const KeyEvent& event) override;
  void OnFocusChanged(bool focused) override;
  void Paint(Canvas& canvas) override;
  void OnThemeChanged() override;
  void OnScaleChanged() override;

 private:
  // A laid-out row; a slot whose row left the prepared range takes the next row that comes in.
  struct RowSlot {
    int64_t row = -1;
    TextLayout layout;
  };

  // Lays out the rows of the prepared range that have no layout yet, reusing slots of rows that left it.
  void PrepareRows();
  const RowSlot* SlotOf(int64_t row) const;
  void DropSlots();
  float TextWidth() const;
  int64_t KeyTarget(uint32_t key) const;
  void SetHoverRow(int64_t row);
  void PaintRow(Canvas& canvas, int64_t row, const Theme& theme);

  TextSource textAt_;
  int64_t selected_ = -1;
  std::vector<RowSlot> slots_;
  RowRange prepared_;
  float slotWidth_ = -1;  // the text width the slots were laid out at
  uint64_t layoutsBuilt_ = 0;
  Point lastPointer_;
};

}  // namespace Quarlo::Widget::List
