// NavTab: the navigation entry's size and look; it switches colours at once instead of fading them.

#include "widget/input/nav_tab.h"

#include <algorithm>
#include <cmath>

#include "widget/canvas.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

constexpr float kUnboundedWidth = 140;
constexpr float kHeight = 36;
constexpr float kRadius = 4;
constexpr float kIndicatorWidth = 3;
constexpr float kIndicatorHeight = 16;
constexpr float kIndicatorRadius = 1.5f;
constexpr float kTextLeft = 14;
constexpr float kTextRoomInset = 24;
// Theme metric that holds the focus visual's width.
constexpr size_t kFocusWidthMetric = 11;

}  // namespace

NavTab::NavTab(const std::string& text, const std::string& groupName) : RadioButton(text, groupName) {}

const char* NavTab::ClassName() const { return "NavTab"; }

void NavTab::OnVisualStateChanged() { InvalidateVisual(); }
void NavTab::RefreshColors(bool) { InvalidateVisual(); }

void NavTab::FormatText(ControlText& text) const {
  text.SetFormat(BodyTextStyle(GetTheme()), TextOptions{.trimming = TextTrimming::CharacterEllipsis});
}

Size NavTab::MeasureOverride(Size available) {
  return Size{std::isinf(available.width) ? kUnboundedWidth : available.width, kHeight};
}

void NavTab::Paint(Canvas& canvas) {
  const Theme& theme = GetTheme();
  const Size size = ActualSize();
  if (IsChecked() || IsHovered()) {
    canvas.FillRoundedRect(
        Rect{0, 0, size.width, size.height}, kRadius,
        theme.Get(IsPressed() ? ThemeColor::SubtleFillPressed : ThemeColor::SubtleFillHover));
  }
  if (IsChecked()) {
    canvas.FillRoundedRect(
        Rect{0, std::floor(size.height * 0.5f - kIndicatorHeight * 0.5f), kIndicatorWidth, kIndicatorHeight},
        kIndicatorRadius, theme.Get(ThemeColor::Accent));
  }
  ControlText& text = FormattedText();
  const TextLayout& layout = text.LayoutFor(Size{std::max(size.width - kTextRoomInset, 0.0f), size.height});
  if (!layout) return;
  const Color color = theme.Get(IsEnabledInTree() ? ThemeColor::TextPrimary : ThemeColor::TextDisabled);
  text.Draw(canvas, *this, Point{kTextLeft, std::floor((size.height - layout.Metrics().height) * 0.5f)},
            color);
}

void NavTab::PaintOverlay(Canvas& canvas) {
  if (!IsFocusVisualShown()) return;
  const Theme& theme = GetTheme();
  const Size size = ActualSize();
  canvas.StrokeRoundedRect(Rect{0, 0, size.width, size.height}, kRadius,
                           theme.Get(ThemeColor::StrongForeground), theme.metrics[kFocusWidthMetric]);
}

}  // namespace Quarlo::Widget::Input
