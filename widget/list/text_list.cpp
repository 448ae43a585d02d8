// TextList: prepared row layouts, single selection, keyboard paging and painting.

#include "widget/list/text_list.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "widget/control_paint.h"
#include "widget/input/events.h"
#include "widget/input/virtual_keys.h"
#include "widget/theme.h"
#include "widget/toolkit_language.h"

namespace Quarlo::Widget::List {

namespace {

constexpr float kRowInset = 4;           // rows' highlight inset from both sides
constexpr float kTextLeft = 16;          // text start within the row
constexpr float kTextRightReserve = 28;  // kept free right of the text (the scroll bar's strip)
constexpr float kTextSize = 14;
constexpr float kIndicatorWidth = 3;
constexpr float kIndicatorHeight = 16;
constexpr float kIndicatorRadius = 1.5f;
constexpr float kFocusStrokeWidth = 2;

int32_t ClampToInt32(int64_t v) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

TextList::TextList() = default;

void TextList::SetItems(int64_t count, TextSource textAt) {
  textAt_ = std::move(textAt);
  selected_ = -1;
  DropSlots();
  SetRowCount(count);
  OnViewportChanged();
}

void TextList::InvalidateTexts() {
  DropSlots();
  InvalidateVisual();
}

void TextList::Select(int64_t row, bool reveal) {
  if (row < -1 || row >= Rows().RowCount()) {
    return;
  }
  if (row != selected_) {
    selected_ = row;
    InvalidateVisual();
    if (row >= 0) {
      RaiseAutomationEvent(AutomationEvent::ElementSelected, RowItemId(row));
    }
    if (onSelectionChanged) {
      onSelectionChanged(row);
    }
  }
  if (reveal && row >= 0) {
    ScrollRowIntoView(row, ScrollAlignment::Nearest, true);
  }
}

// --- Prepared rows ---

float TextList::TextWidth() const { return std::max(ActualSize().width - kTextRightReserve, 0.0f); }

void TextList::DropSlots() {
  slots_.clear();
  prepared_ = {};
}

const TextList::RowSlot* TextList::SlotOf(int64_t row) const {
  auto found = std::find_if(slots_.begin(), slots_.end(), [row](const RowSlot& s) { return s.row == row; });
  return found == slots_.end() ? nullptr : &*found;
}

void TextList::PrepareRows() {
  float width = TextWidth();
  if (width != slotWidth_) {
    DropSlots();
    slotWidth_ = width;
  }
  prepared_ = Rows().VisibleRange(kPreparedOverscan);
  for (RowSlot& slot : slots_) {
    if (!prepared_.Contains(slot.row)) {
      slot.row = -1;
    }
  }
  TextOptions options;
  options.trimming = TextTrimming::CharacterEllipsis;
  TextStyle style{"", kTextSize};
  for (int64_t row = prepared_.first; row < prepared_.end; ++row) {
    if (SlotOf(row)) {
      continue;
    }
    auto free = std::find_if(slots_.begin(), slots_.end(), [](const RowSlot& s) { return s.row == -1; });
    RowSlot& slot = free != slots_.end() ? *free : slots_.emplace_back();
    slot.row = row;
    slot.layout =
        TextLayout::Create(textAt_ ? textAt_(row) : std::string(), style, Size{width, kUnbounded}, options);
    ++layoutsBuilt_;
  }
  std::erase_if(slots_, [](const RowSlot& s) { return s.row == -1; });
}

// --- Rows view ---

ItemId TextList::RowItemId(int64_t row) const {
  return row >= 0 && row < Rows().RowCount() ? static_cast<ItemId>(row) + 1 : 0;
}

int64_t TextList::ItemRow(ItemId item) const {
  if (item == 0 || item > static_cast<ItemId>(Rows().RowCount())) {
    return -1;
  }
  return static_cast<int64_t>(item - 1);
}

bool TextList::RowItemInfo(int64_t row, ItemInfo& info) const {
  if (row < 0 || row >= Rows().RowCount()) {
    return false;
  }
  info.role = Role::ListItem;
  info.name = textAt_ ? textAt_(row) : std::string();
  info.selected = row == selected_;
  info.focused = IsFocused() && row == FocusedRow();
  info.invokable = true;
  info.row = ClampToInt32(row);
  info.positionInSet = ClampToInt32(row + 1);
  info.sizeOfSet = ClampToInt32(Rows().RowCount());
  return true;
}

int64_t TextList::FocusedRow() const { return selected_; }

void TextList::OnViewportChanged() {
  if (IsHovered()) {
    SetHoverRow(RowAtPoint(lastPointer_));
  }
}

void TextList::SetHoverRow(int64_t row) {
  if (row != hoverRow) {
    hoverRow = row;
    InvalidateVisual();
  }
}

// --- Accessibility ---

Quarlo::Widget::Role TextList::Role() const { return Role::List; }

std::string TextList::AccessibleName() const {
  std::string name = Widget::AccessibleName();
  return name.empty() ? ToolkitString(ToolkitText::TileListName) : name;
}

bool TextList::IsSelectionContainer() const { return true; }

std::vector<ItemId> TextList::Selection() const {
  if (selected_ < 0) {
    return {};
  }
  return {RowItemId(selected_)};
}

bool TextList::SelectItem(ItemId item, SelectAction action) {
  int64_t row = ItemRow(item);
  if (row < 0) {
    return false;
  }
  if (action == SelectAction::Remove) {
    if (row == selected_) {
      Select(-1, false);
    }
  } else {
    Select(row, true);
  }
  return true;
}

bool TextList::FocusItem(ItemId item) {
  int64_t row = ItemRow(item);
  if (row < 0) {
    return false;
  }
  Select(row, true);
  Focus(FocusReason::Programmatic);
  return true;
}

bool TextList::InvokeItem(ItemId item) {
  int64_t row = ItemRow(item);
  if (row < 0) {
    return false;
  }
  Select(row, false);
  if (onInvoked) {
    onInvoked(row);
  }
  return true;
}

bool TextList::HasVirtualItems() const { return true; }

// --- Input ---

bool TextList::OnPointerDown(const PointerEvent& event) {
  if (event.button != PointerButton::Left) {
    return false;
  }
  Focus(FocusReason::Pointer);
  int64_t row = RowAtPoint(event.position);
  if (row < 0) {
    return true;
  }
  pressedRow = row;
  Select(row, true);
  if (event.clicks == 2 && onInvoked) {
    onInvoked(row);
  }
  return true;
}

bool TextList::OnPointerUp(const PointerEvent&) {
  bool wasPressed = pressedRow >= 0;
  pressedRow = -1;
  return wasPressed;
}

bool TextList::OnPointerMove(const PointerEvent& event) {
  lastPointer_ = event.position;
  OnScrollActivity();
  SetHoverRow(RowAtPoint(event.position));
  return false;
}

void TextList::OnCaptureLost() { pressedRow = -1; }

int64_t TextList::KeyTarget(uint32_t key) const {
  // Paging starts from where a running glide is heading, so that quick presses add up.
  RowModel settled = Rows();
  if (Scroller().IsAnimating()) {
    settled.SetOffset(Scroller().Target());
  }
  int64_t last = settled.RowCount() - 1;
  int64_t f = selected_;
  bool forward = key == Vk::Down || key == Vk::Home || key == Vk::PageDown;
  if (f < 0 || f > last) {
    return forward ? 0 : last;
  }
  int64_t first = settled.FirstVisibleRow();
  int64_t whole = settled.WholeRowsInView();
  int64_t page = std::max<int64_t>(whole - 1, 1);
  int64_t target = f;
  switch (key) {
    case Vk::Up:
      target = f - 1;
      break;
    case Vk::Down:
      target = f + 1;
      break;
    case Vk::Home:
      target = 0;
      break;
    case Vk::End:
      target = last;
      break;
    case Vk::PageUp:
      target = f > first ? first : std::max<int64_t>(f - page, 0);
      break;
    case Vk::PageDown: {
      int64_t lastVisible = std::min(first + whole - 1, last);
      target = f < lastVisible ? lastVisible : std::min(f + page, last);
      break;
    }
    default:
      break;
  }
  return std::clamp<int64_t>(target, 0, last);
}

bool TextList::OnKeyDown(const KeyEvent& event) {
  if (event.modifiers & (Modifier::Alt | Modifier::Ctrl | Modifier::Win)) {
    return false;
  }
  switch (event.key) {
    case Vk::Up:
    case Vk::Down:
    case Vk::Home:
    case Vk::End:
    case Vk::PageUp:
    case Vk::PageDown:
      if (Rows().RowCount() == 0) {
        return false;
      }
      Select(KeyTarget(event.key), true);
      return true;
    case Vk::Enter:
      if (selected_ < 0 || !onInvoked) {
        return false;
      }
      onInvoked(selected_);
      return true;
    default:
      return false;
  }
}

void TextList::OnFocusChanged(bool) { InvalidateVisual(); }

void TextList::OnThemeChanged() {
  DropSlots();
  UpdateScrollMetrics();
  InvalidateVisual();
}

void TextList::OnScaleChanged() {
  DropSlots();
  VirtualRowsView::OnScaleChanged();
}

// --- Paint ---

void TextList::Paint(Canvas& canvas) {
  PrepareRows();
  const Theme& theme = GetTheme();
  RowRange visible = Rows().VisibleRange();
  for (int64_t row = visible.first; row < visible.end; ++row) {
    PaintRow(canvas, row, theme);
  }
}

void TextList::PaintRow(Canvas& canvas, int64_t row, const Theme& theme) {
  Rect rect = RowRect(row);
  Rect highlight{kRowInset, rect.y, std::max(rect.width - 2 * kRowInset, 0.0f), rect.height};
  bool selected = row == selected_;
  bool hovered = row == hoverRow;
  // High-contrast fills are opaque black, so there the selection takes the highlight colour and the
  // hovered row an outline.
  bool contrast = theme.highContrast;
  if (selected && contrast) {
    canvas.FillRoundedRect(highlight, theme.cornerRadius, theme.Get(ThemeColor::Accent));
  } else if (selected || hovered) {
    ThemeColor fill = row == pressedRow ? ThemeColor::SubtleFillPressed : ThemeColor::SubtleFillHover;
    canvas.FillRoundedRect(highlight, theme.cornerRadius, theme.Get(fill));
  }
  if (hovered && !selected && contrast) {
    canvas.StrokeRoundedRect(highlight, theme.cornerRadius, theme.Get(ThemeColor::AccentHover),
                             HairlineWidth(canvas.Scale()));
  }
  if (selected && !contrast) {
    float height = std::min(kIndicatorHeight, rect.height);
    canvas.FillRoundedRect(Rect{kRowInset, rect.y + (rect.height - height) / 2, kIndicatorWidth, height},
                           kIndicatorRadius, theme.Get(ThemeColor::Accent));
  }
  if (selected && IsFocusVisualShown()) {
    canvas.StrokeRoundedRect(highlight, theme.cornerRadius, theme.Get(ThemeColor::StrongForeground),
                             kFocusStrokeWidth);
  }
  if (const RowSlot* slot = SlotOf(row)) {
    float textHeight = slot->layout.Metrics().height;
    float y = rect.y + std::round((rect.height - textHeight) / 2);
    ThemeColor text = selected && contrast ? ThemeColor::TextOnAccent : ThemeColor::TextPrimary;
    canvas.DrawText(slot->layout, Point{kTextLeft, y}, theme.Get(text));
  }
}

}  // namespace Quarlo::Widget::List
