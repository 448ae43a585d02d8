// The drop-down list's rows, their painting, scrolling and pointer input.

#include "widget/input/combo_popup.h"

#include <algorithm>
#include <cmath>

#include "widget/canvas.h"
#include "widget/control_paint.h"
#include "widget/input/control_text.h"
#include "widget/input/events.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr float kRowInset = 4;
constexpr float kTextLeft = 16;
constexpr float kTextRoom = 28;  // the text may take the width less this
constexpr Rect kIndicator{4, 8, 3, 16};
constexpr float kIndicatorRadius = 1.5f;
constexpr float kThumbWidth = 2;
constexpr float kThumbRight = 5;
constexpr float kThumbMinLength = 20;
constexpr float kThumbAlpha = 0.7f;
constexpr float kWheelRows = 3;

}  // namespace

ComboList::ComboList() { role = Role::List; }

const char* ComboList::ClassName() const { return "ComboList"; }

void ComboList::SetItems(std::vector<std::string> items, int selected, int visibleRows) {
  items_ = std::move(items);
  layouts_.clear();
  selected_ = selected;
  visibleRows_ = std::max(visibleRows, 1);
  offset_ = 0;
  highlighted_ = -1;
  InvalidateMeasure();
  SetHighlighted(selected);
}

float ComboList::Viewport() const {
  return static_cast<float>(std::min<int>(visibleRows_, static_cast<int>(items_.size()))) * kComboRowHeight;
}

float ComboList::MaxOffset() const {
  return std::max(0.0f, static_cast<float>(items_.size()) * kComboRowHeight - Viewport());
}

void ComboList::ScrollTo(float offset) {
  offset = std::clamp(offset, 0.0f, MaxOffset());
  if (offset == offset_) return;
  offset_ = offset;
  InvalidateVisual();
}

void ComboList::SetHighlighted(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (index >= 0) {
    const float top = static_cast<float>(index) * kComboRowHeight;
    if (top < offset_) ScrollTo(top);
    if (top + kComboRowHeight > offset_ + Viewport()) ScrollTo(top + kComboRowHeight - Viewport());
  }
  if (index == highlighted_) return;
  highlighted_ = index;
  InvalidateVisual();
}

int ComboList::RowAt(Point local) const {
  if (local.x < 0 || local.x >= ActualSize().width) return -1;
  const float y = local.y - kComboListPadding;
  if (y < 0 || y >= Viewport()) return -1;
  const int row = static_cast<int>(std::floor((y + offset_) / kComboRowHeight));
  return row < static_cast<int>(items_.size()) ? row : -1;
}

Size ComboList::MeasureOverride(Size available) {
  const float width = std::isfinite(available.width) ? available.width : 0;
  return Size{width, Viewport() + 2 * kComboListPadding};
}

void ComboList::OnScaleChanged() { layouts_.clear(); }

void ComboList::Paint(Canvas& canvas) {
  const Theme& theme = GetTheme();
  const Size size = ActualSize();
  const float viewport = Viewport();
  if (layouts_.size() != items_.size()) {
    TextStyle style = BodyTextStyle(theme);
    TextOptions options;
    options.trimming = TextTrimming::CharacterEllipsis;
    layouts_.clear();
    for (const std::string& item : items_) {
      layouts_.push_back(
          TextLayout::Create(item, style, Size{std::max(0.0f, size.width - kTextRoom), kUnbounded}, options));
    }
  }
  canvas.PushClip(Rect{0, kComboListPadding, size.width, viewport});
  const int first = static_cast<int>(offset_ / kComboRowHeight);
  for (int i = first; i < static_cast<int>(items_.size()); ++i) {
    const float top = kComboListPadding + static_cast<float>(i) * kComboRowHeight - offset_;
    if (top >= kComboListPadding + viewport) break;
    const Rect row{kRowInset, top, size.width - 2 * kRowInset, kComboRowHeight};
    if (i == highlighted_ || i == selected_) {
      canvas.FillRoundedRect(row, theme.cornerRadius, theme.Get(ThemeColor::SubtleFillHover));
    }
    if (i == selected_) {
      canvas.FillRoundedRect(Rect{kIndicator.x, top + kIndicator.y, kIndicator.width, kIndicator.height},
                             kIndicatorRadius, theme.Get(ThemeColor::Accent));
    }
    const TextLayout& text = layouts_[static_cast<size_t>(i)];
    canvas.DrawText(text, Point{kTextLeft, std::round(top + (kComboRowHeight - text.Metrics().height) / 2)},
                    theme.Get(ThemeColor::TextPrimary));
  }
  canvas.PopClip();
  if (MaxOffset() > 0) {
    const float total = static_cast<float>(items_.size()) * kComboRowHeight;
    const float length = std::max(viewport * viewport / total, kThumbMinLength);
    const float position = kComboListPadding + (viewport - length) * offset_ / MaxOffset();
    Color thumb = theme.Get(ThemeColor::TextSecondary);
    thumb.a *= kThumbAlpha;
    canvas.FillRoundedRect(Rect{size.width - kThumbRight, position, kThumbWidth, length}, 1, thumb);
  }
  canvas.StrokeRect(Rect{0, 0, size.width, size.height}, theme.Get(ThemeColor::ControlBorder),
                    HairlineWidth(canvas.Scale()));
}

bool ComboList::OnPointerMove(const PointerEvent& event) {
  const int row = RowAt(event.position);
  if (row >= 0) SetHighlighted(row);
  return true;
}

bool ComboList::OnPointerDown(const PointerEvent&) { return true; }

bool ComboList::OnPointerUp(const PointerEvent& event) {
  const int row = RowAt(event.position);
  if (row >= 0 && event.button == PointerButton::Left) {
    if (std::function<void(int)> chosen = onChosen) chosen(row);
  }
  return true;
}

bool ComboList::OnWheel(const WheelEvent& event) {
  ScrollTo(offset_ - event.deltaY * kWheelRows * kComboRowHeight);
  return true;
}

ComboPopup::ComboPopup() {
  Options().title = "ComboList";
  Options().activatable = false;
  Options().followSystemTheme = false;
  list_ = SetRoot(std::make_unique<ComboList>());
}

}  // namespace Quarlo::Widget::Input
