// ChoiceButton: the box-and-text layout and the box colours of check boxes and radio buttons.

#include "widget/input/choice_button.h"

#include <algorithm>
#include <cmath>

#include "widget/canvas.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

// Theme metric that holds the check box size.
constexpr size_t kBoxSizeMetric = 7;
constexpr float kBoxTextGap = 8;
constexpr float kVerticalPadding = 8;

}  // namespace

ChoiceButton::ChoiceButton(const std::string& text, Quarlo::Widget::Role accessibleRole)
    : ButtonBase(text, accessibleRole) {}

bool ChoiceButton::ActivatesOnEnter() const { return false; }

float ChoiceButton::BoxSize() const { return GetTheme().metrics[kBoxSizeMetric]; }

Rect ChoiceButton::BoxRect() const {
  const float box = BoxSize();
  return Rect{0, std::floor((ActualSize().height - box) * 0.5f), box, box};
}

ControlColors ChoiceButton::ColorTargets() const {
  const Theme& theme = GetTheme();
  const bool enabled = IsEnabledInTree();
  const bool pressed = IsPressed();
  const bool hovered = IsHovered();
  if (IsOn()) {
    return ControlColors{theme.Get(!enabled  ? ThemeColor::AccentDisabled
                                   : pressed ? ThemeColor::AccentPressed
                                   : hovered ? ThemeColor::AccentHover
                                             : ThemeColor::Accent),
                         kNoColor,
                         theme.Get(enabled ? ThemeColor::TextOnAccent : ThemeColor::TextOnAccentDisabled)};
  }
  // The glyph fades out in its own colour rather than through black.
  return ControlColors{theme.Get(!enabled  ? ThemeColor::ControlFillDisabled
                                 : pressed ? ThemeColor::ControlFillPressed
                                 : hovered ? ThemeColor::ControlFillHover
                                           : ThemeColor::ControlFill),
                       theme.Get(enabled ? ThemeColor::StrongBorder : ThemeColor::Divider),
                       theme.Get(ThemeColor::TextOnAccent).WithAlpha(0)};
}

void ChoiceButton::FormatText(ControlText& text) const {
  text.SetFormat(BodyTextStyle(GetTheme()), TextOptions{.wrapping = TextWrapping::Wrap});
}

Size ChoiceButton::MeasureOverride(Size available) {
  const Theme& theme = GetTheme();
  const float box = BoxSize();
  if (DisplayText().empty()) return Size{box, theme.controlHeight};
  const float room =
      std::isinf(available.width) ? kUnbounded : std::max(available.width - box - kBoxTextGap, 0.0f);
  const TextLayout& layout = FormattedText().LayoutFor(Size{room, kUnbounded});
  if (!layout) return Size{box + kBoxTextGap, theme.controlHeight};
  const Size text = layout.Metrics();
  return Size{box + std::ceil(text.width) + kBoxTextGap,
              std::max(std::ceil(text.height) + kVerticalPadding, theme.controlHeight)};
}

void ChoiceButton::PaintText(Canvas& canvas) {
  const Size size = ActualSize();
  const float left = BoxSize() + kBoxTextGap;
  ControlText& text = FormattedText();
  const TextLayout& layout = text.LayoutFor(Size{std::max(size.width - left, 0.0f), kUnbounded});
  if (!layout) return;
  const Theme& theme = GetTheme();
  const Color color = theme.Get(IsEnabledInTree() ? ThemeColor::TextPrimary : ThemeColor::TextDisabled);
  text.Draw(canvas, *this, Point{left, std::floor((size.height - layout.Metrics().height) * 0.5f)}, color);
}

}  // namespace Quarlo::Widget::Input
