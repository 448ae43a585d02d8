// Menu rows: their layout from the items' texts, their painting, and pointer input handed to the session.

#include "widget/input/menu_panel.h"

#include <algorithm>
#include <cmath>

#include "widget/control_paint.h"
#include "widget/input/events.h"
#include "widget/input/menu_session.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr float kAcceleratorGap = 32;       // between the widest label and the widest accelerator
constexpr float kRightPadding = 16;         // after the last column
constexpr float kSubmenuRightPadding = 32;  // when a chevron takes the last column
constexpr float kMarkLeft = 12;             // check marks, radio dots and icons are centred at x = 22
constexpr float kMarkWidth = 20;
constexpr float kMarkSize = 16;
constexpr float kRadioDotRadius = 3;
constexpr float kChevronWidth = 16;
constexpr float kChevronSize = 10;
constexpr float kHighlightInset = 4;
constexpr char32_t kCheckGlyph = 0xE73E;
constexpr char32_t kChevronGlyph = 0xE76C;
constexpr char32_t kScrollUpGlyph = 0xE70E;
constexpr char32_t kScrollDownGlyph = 0xE70D;
constexpr float kScrollGlyphSize = 10;
constexpr float kWheelRows = 3;  // rows a wheel notch scrolls

}  // namespace

MenuPanel::MenuPanel(std::weak_ptr<MenuSession> session, int level, std::vector<MenuItem> items)
    : session_(std::move(session)), level_(level), items_(std::move(items)) {
  role = Role::Menu;
}

const char* MenuPanel::ClassName() const { return "MenuPanel"; }
Quarlo::Widget::Role MenuPanel::Role() const { return Role::Menu; }

void MenuPanel::SetHighlighted(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == highlighted_) return;
  highlighted_ = index;
  Reveal(index);
  InvalidateVisual();
}

void MenuPanel::SetViewportHeight(float height) {
  viewportHeight_ = std::max(height, 0.0f);
  ScrollTo(scroll_);
  InvalidateMeasure();
}

float MenuPanel::MaxScroll() const {
  if (viewportHeight_ <= 0) return 0;
  return std::max(0.0f, content_.height - viewportHeight_);
}

void MenuPanel::ScrollTo(float offset) {
  if (!rowsValid_) BuildRows();
  const float clamped = std::clamp(std::round(offset), 0.0f, MaxScroll());
  if (clamped == scroll_) return;
  scroll_ = clamped;
  InvalidateVisual();
}

// Keeps the row between the arrow strips that show once it is scrolled there.
void MenuPanel::Reveal(int index) {
  if (index < 0 || MaxScroll() <= 0 || index >= static_cast<int>(rows_.size())) return;
  const Row& row = rows_[static_cast<size_t>(index)];
  const float top = row.top - kMenuScrollBand;
  const float bottom = row.top + row.height + kMenuScrollBand - viewportHeight_;
  if (index == 0 || top < scroll_) {
    ScrollTo(index == 0 ? 0 : top);
  } else if (bottom > scroll_) {
    ScrollTo(index + 1 == static_cast<int>(rows_.size()) ? MaxScroll() : bottom);
  }
}

int MenuPanel::ScrollBandAt(float y) const {
  if (MaxScroll() <= 0) return 0;
  if (scroll_ > 0 && y < kMenuScrollBand) return -1;
  if (scroll_ < MaxScroll() && y >= viewportHeight_ - kMenuScrollBand) return 1;
  return 0;
}

void MenuPanel::BuildRows() {
  rows_.clear();
  anySubmenu_ = false;
  float y = kMenuPadding;
  float widestLabel = 0;
  float widestAccelerator = 0;
  TextStyle style = BodyTextStyle(GetTheme());
  const Size unbounded{kUnbounded, kUnbounded};
  for (const MenuItem& item : items_) {
    Row row;
    row.top = y;
    if (item.kind == MenuItemKind::Separator) {
      row.height = kMenuSeparatorHeight;
    } else {
      row.height = kMenuRowHeight;
      row.text.SetText(item.text, true);
      row.text.SetFormat(style, TextOptions{});
      widestLabel = std::max(widestLabel, std::ceil(row.text.LayoutFor(unbounded).Metrics().width));
      if (!item.acceleratorText.empty()) {
        row.accelerator = TextLayout::Create(item.acceleratorText, style, unbounded, TextOptions{});
        widestAccelerator = std::max(widestAccelerator, std::ceil(row.accelerator.Metrics().width));
      }
      anySubmenu_ = anySubmenu_ || item.kind == MenuItemKind::Submenu;
    }
    y += row.height;
    rows_.push_back(std::move(row));
  }
  const float width = widestLabel + kMenuTextLeft +
                      (widestAccelerator > 0 ? widestAccelerator + kAcceleratorGap : 0) +
                      (anySubmenu_ ? kSubmenuRightPadding : kRightPadding);
  content_ = Size{std::max(kMenuMinWidth, width), y + kMenuPadding};
  rowsValid_ = true;
}

Size MenuPanel::ContentSize() {
  if (!rowsValid_) BuildRows();
  return content_;
}

float MenuPanel::RowTop(int index) const {
  if (index < 0 || index >= static_cast<int>(rows_.size())) return 0;
  return rows_[static_cast<size_t>(index)].top;
}

int MenuPanel::RowAt(float y) const {
  if (ScrollBandAt(y) != 0) return -1;
  y += scroll_;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (y >= rows_[i].top && y < rows_[i].top + rows_[i].height) return static_cast<int>(i);
  }
  return -1;
}

Size MenuPanel::ShownSize() {
  const Size content = ContentSize();
  if (MaxScroll() <= 0) return content;
  return Size{content.width, viewportHeight_};
}

Size MenuPanel::MeasureOverride(Size) { return ShownSize(); }

void MenuPanel::OnScaleChanged() {
  rowsValid_ = false;
  InvalidateMeasure();
}

void MenuPanel::OnThemeChanged() {
  rowsValid_ = false;
  InvalidateMeasure();
}

void MenuPanel::Paint(Canvas& canvas) {
  if (!rowsValid_) BuildRows();
  const Theme& theme = GetTheme();
  const Size size = ActualSize();
  canvas.PushClip(Rect{0, 0, size.width, size.height});
  canvas.PushTransform(Matrix::Translation(0, -scroll_));
  for (size_t i = 0; i < items_.size() && i < rows_.size(); ++i) {
    const Row& row = rows_[i];
    if (row.top + row.height < scroll_ || row.top > scroll_ + size.height) continue;
    PaintRow(canvas, items_[i], rows_[i], static_cast<int>(i) == highlighted_);
  }
  canvas.PopTransform();
  PaintScrollBands(canvas);
  canvas.PopClip();
  canvas.StrokeRect(Rect{0, 0, size.width, size.height}, theme.Get(ThemeColor::ControlBorder),
                    HairlineWidth(canvas.Scale()));
}

void MenuPanel::PaintRow(Canvas& canvas, const MenuItem& item, Row& row, bool highlighted) {
  const Theme& theme = GetTheme();
  const float width = ActualSize().width;
  if (item.kind == MenuItemKind::Separator) {
    const Rect line = canvas.SnapRect(Rect{0, row.top + std::floor(row.height / 2), width, 1});
    canvas.FillRect(Rect{line.x, line.y, line.width, HairlineWidth(canvas.Scale())},
                    theme.Get(ThemeColor::Divider));
    return;
  }
  if (highlighted) {
    canvas.FillRoundedRect(Rect{kHighlightInset, row.top, width - 2 * kHighlightInset, row.height},
                           theme.cornerRadius, theme.Get(ThemeColor::SubtleFillHover));
  }
  const Color text = theme.Get(item.enabled ? ThemeColor::TextPrimary : ThemeColor::TextDisabled);
  PaintMark(canvas, item, row, text);
  // The popup's host shows access keys exactly when the menu does (MenuSession::OpenLevel).
  const Size metrics = row.text.LayoutFor(Size{kUnbounded, kUnbounded}).Metrics();
  row.text.Draw(canvas, *this, Point{kMenuTextLeft, std::round(row.top + (row.height - metrics.height) / 2)},
                text);
  const float lastColumn = anySubmenu_ ? kSubmenuRightPadding : kRightPadding;
  if (row.accelerator) {
    const Size accel = row.accelerator.Metrics();
    const Color colour = theme.Get(item.enabled ? ThemeColor::TextSecondary : ThemeColor::TextDisabled);
    canvas.DrawText(row.accelerator,
                    Point{width - lastColumn - std::ceil(accel.width),
                          std::round(row.top + (row.height - accel.height) / 2)},
                    colour);
  }
  if (item.kind == MenuItemKind::Submenu) {
    canvas.DrawIcon(
        kChevronGlyph,
        Rect{width - lastColumn + (lastColumn - kChevronWidth) / 2, row.top, kChevronWidth, row.height},
        kChevronSize, text);
  }
}

void MenuPanel::PaintScrollBands(Canvas& canvas) const {
  if (MaxScroll() <= 0) return;
  const Theme& theme = GetTheme();
  const float width = ActualSize().width;
  const Color glyph = theme.Get(ThemeColor::TextSecondary);
  if (scroll_ > 0) {
    const Rect band{0, 0, width, kMenuScrollBand};
    canvas.FillRect(band, theme.Get(ThemeColor::PopupBackground));
    canvas.DrawIcon(kScrollUpGlyph, band, kScrollGlyphSize, glyph);
  }
  if (scroll_ < MaxScroll()) {
    const Rect band{0, viewportHeight_ - kMenuScrollBand, width, kMenuScrollBand};
    canvas.FillRect(band, theme.Get(ThemeColor::PopupBackground));
    canvas.DrawIcon(kScrollDownGlyph, band, kScrollGlyphSize, glyph);
  }
}

void MenuPanel::PaintMark(Canvas& canvas, const MenuItem& item, const Row& row, Color colour) const {
  const Rect mark{kMarkLeft, row.top, kMarkWidth, row.height};
  if (item.kind == MenuItemKind::Check && item.checked) {
    canvas.DrawIcon(kCheckGlyph, mark, kMarkSize, colour);
  } else if (item.kind == MenuItemKind::Radio && item.checked) {
    canvas.FillEllipse(Point{mark.x + mark.width / 2, row.top + row.height / 2}, kRadioDotRadius,
                       kRadioDotRadius, colour);
  } else if (item.icon != 0) {
    canvas.DrawIcon(item.icon, mark, kMarkSize, colour);
  }
}

void MenuPanel::HoverAt(Point position) {
  const int row = RowAt(position.y);
  // Only rows that can be chosen light up; a separator or a disabled row clears the highlight.
  const int hot = row >= 0 && items_[static_cast<size_t>(row)].IsSelectable() ? row : -1;
  const bool inside = position.x >= 0 && position.x < ActualSize().width;
  if (!inside || hot == highlighted_) return;
  if (auto session = session_.lock()) session->HotChanged(level_, hot, true);
}

bool MenuPanel::OnPointerMove(const PointerEvent& event) {
  HoverAt(event.position);
  return true;
}

bool MenuPanel::OnPointerDown(const PointerEvent& event) {
  if (const int band = ScrollBandAt(event.position.y); band != 0) {
    ScrollTo(scroll_ + static_cast<float>(band) * (viewportHeight_ - 2 * kMenuScrollBand));
  }
  return true;
}

bool MenuPanel::OnWheel(const WheelEvent& event) {
  if (MaxScroll() <= 0) return false;
  ScrollTo(scroll_ - event.deltaY * kWheelRows * kMenuRowHeight);
  // The rows moved under a resting pointer: the one now under it lights up.
  HoverAt(event.position);
  return true;
}

bool MenuPanel::OnPointerUp(const PointerEvent& event) {
  const bool inside = event.position.x >= 0 && event.position.x < ActualSize().width;
  const int row = inside ? RowAt(event.position.y) : -1;
  if (row < 0) return true;
  if (auto session = session_.lock()) session->Invoke(level_, row, InvokeSource::Pointer);
  return true;
}

}  // namespace Quarlo::Widget::Input
