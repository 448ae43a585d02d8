// Button and ToggleButton: measure, paint, the colours of each look, and what a push does.

#include "widget/input/button.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "widget/canvas.h"
#include "widget/control_paint.h"
#include "widget/host.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

// Theme metrics: the horizontal padding of buttons and their default icon size.
constexpr size_t kPaddingMetric = 2;
constexpr size_t kIconSizeMetric = 6;
constexpr float kIconTextGap = 8;
constexpr float kTrailingWidth = 18;
constexpr float kTrailingGlyphSize = 10;
constexpr float kVerticalPadding = 10;
constexpr float kMinimumTextButtonWidth = 32;
// A pressed accent button dims its text to this share of its alpha.
constexpr float kPressedAccentTextAlpha = 0.8f;

float Padding(const Theme& theme) { return theme.metrics[kPaddingMetric]; }

Size CeilSize(Size size) { return Size{std::ceil(size.width), std::ceil(size.height)}; }

// The accent look: accent buttons, default Standard buttons and checked toggle buttons.
ControlColors AccentColors(const Theme& theme, bool enabled, bool pressed, bool hovered,
                           bool dimPressedText) {
  ControlColors colors;
  colors.background = theme.Get(!enabled  ? ThemeColor::AccentDisabled
                                : pressed ? ThemeColor::AccentPressed
                                : hovered ? ThemeColor::AccentHover
                                          : ThemeColor::Accent);
  colors.border = kNoColor;
  if (!enabled) {
    colors.foreground = theme.Get(ThemeColor::TextOnAccentDisabled);
  } else {
    const Color text = theme.Get(ThemeColor::TextOnAccent);
    colors.foreground = pressed && dimPressedText ? text.WithAlpha(text.a * kPressedAccentTextAlpha) : text;
  }
  return colors;
}

ThemeColor PlainText(bool enabled, bool pressed) {
  return !enabled ? ThemeColor::TextDisabled : pressed ? ThemeColor::TextSecondary : ThemeColor::TextPrimary;
}

}  // namespace

Button::Button(const std::string& text, ButtonStyle style) : ButtonBase(text, Role::Button), style_(style) {}

bool Button::IsChecked() const { return false; }

void Button::SetIcon(char32_t codePoint) {
  iconGlyph_ = codePoint;
  InvalidateMeasure();
}

void Button::SetIconSize(float size) {
  iconSize_ = size;
  InvalidateMeasure();
  InvalidateVisual();
}

void Button::SetTrailingGlyph(char32_t codePoint) {
  trailingGlyph_ = codePoint;
  InvalidateMeasure();
  InvalidateVisual();
}

void Button::SetDefault(bool value) {
  isDefault_ = value;
  RefreshColors(true);
}

void Button::SetStyle(ButtonStyle value) {
  style_ = value;
  RefreshColors(true);
}

float Button::IconSize() const { return iconSize_ > 0 ? iconSize_ : GetTheme().metrics[kIconSizeMetric]; }

void Button::Click() {
  if (!IsEnabledInTree()) return;
  // The handler may replace the callback or take the button out of its window.
  const std::shared_ptr<Detail::WidgetLink> self = Link();
  if (onClick) {
    auto callback = onClick;
    callback();
  }
  if (self->widget == nullptr || dialogResult == 0) return;
  if (Host* host = GetHost()) host->EndModal(dialogResult);
}

bool Button::ActivatesOnEnter() const { return true; }
const char* Button::ClassName() const { return "Button"; }

ControlColors Button::ColorTargets() const {
  const Theme& theme = GetTheme();
  const bool enabled = IsEnabledInTree();
  const bool pressed = IsPressed();
  const bool hovered = IsHovered();
  const bool subtle = style_ == ButtonStyle::Subtle;
  if (IsChecked() && subtle) {
    return ControlColors{enabled ? theme.Get(ThemeColor::SubtleFillPressed) : kNoColor, kNoColor,
                         theme.Get(enabled ? ThemeColor::Accent : ThemeColor::TextDisabled)};
  }
  if (IsChecked()) return AccentColors(theme, enabled, pressed, hovered, false);
  if (subtle) {
    const Color background = pressed   ? theme.Get(ThemeColor::SubtleFillPressed)
                             : hovered ? theme.Get(ThemeColor::SubtleFillHover)
                                       : kNoColor;
    return ControlColors{background, kNoColor, theme.Get(PlainText(enabled, pressed))};
  }
  if (style_ == ButtonStyle::Accent || isDefault_)
    return AccentColors(theme, enabled, pressed, hovered, true);
  ControlColors colors;
  colors.background = theme.Get(!enabled  ? ThemeColor::ControlFillDisabled
                                : pressed ? ThemeColor::ControlFillPressed
                                : hovered ? ThemeColor::ControlFillHover
                                          : ThemeColor::ControlFill);
  colors.border = theme.Get(enabled ? ThemeColor::ControlBorder : ThemeColor::Divider);
  colors.foreground = theme.Get(PlainText(enabled, pressed));
  return colors;
}

void Button::FormatText(ControlText& text) const {
  text.SetFormat(BodyTextStyle(GetTheme()), TextOptions{.trimming = TextTrimming::CharacterEllipsis});
}

Button::ContentWidths Button::Widths() const {
  ContentWidths widths;
  widths.icon = iconGlyph_ != 0 ? IconSize() : 0;
  widths.gap = iconGlyph_ != 0 && !DisplayText().empty() ? kIconTextGap : 0;
  widths.trailing = trailingGlyph_ != 0 ? kTrailingWidth : 0;
  return widths;
}

float Button::TextRoom(float width) const {
  const ContentWidths widths = Widths();
  if (std::isinf(width)) return kUnbounded;
  return std::max(width - 2 * Padding(GetTheme()) - widths.icon - widths.gap - widths.trailing, 0.0f);
}

Size Button::MeasureOverride(Size available) {
  const Theme& theme = GetTheme();
  const ContentWidths widths = Widths();
  const TextLayout& layout = FormattedText().LayoutFor(Size{TextRoom(available.width), kUnbounded});
  const Size text = layout ? CeilSize(layout.Metrics()) : Size{};
  const float height = std::max(std::max(widths.icon, text.height) + kVerticalPadding, theme.controlHeight);
  const float minimum = DisplayText().empty() ? theme.controlHeight : kMinimumTextButtonWidth;
  const float content = text.width + widths.icon + widths.gap + widths.trailing + 2 * Padding(theme);
  return Size{std::max(minimum, content), height};
}

void Button::Paint(Canvas& canvas) {
  const Theme& theme = GetTheme();
  const Size size = ActualSize();
  const Rect bounds{0, 0, size.width, size.height};
  const ControlColors colors = CurrentColors();
  canvas.FillRoundedRect(bounds, theme.cornerRadius, colors.background);
  if (IsVisibleBorder(colors.border)) {
    canvas.StrokeRoundedRect(bounds, theme.cornerRadius, colors.border, HairlineWidth(canvas.Scale()));
  }

  const ContentWidths widths = Widths();
  const float room = TextRoom(size.width);
  ControlText& text = FormattedText();
  const TextLayout& layout = text.LayoutFor(Size{room, kUnbounded});
  const Size textSize = layout ? layout.Metrics() : Size{};
  const float textWidth = std::min(textSize.width, room);
  float x = std::floor((size.width - widths.trailing - (widths.icon + widths.gap + textWidth)) * 0.5f);

  if (trailingGlyph_ != 0) {
    const Rect glyph{size.width - Padding(theme) - kTrailingGlyphSize,
                     (size.height - kTrailingGlyphSize) * 0.5f, kTrailingGlyphSize, kTrailingGlyphSize};
    canvas.DrawIcon(trailingGlyph_, glyph, kTrailingGlyphSize, colors.foreground);
  }
  if (iconGlyph_ != 0) {
    const float icon = widths.icon;
    canvas.DrawIcon(iconGlyph_, Rect{x, (size.height - icon) * 0.5f, icon, icon}, icon, colors.foreground);
    x += widths.icon + widths.gap;
  }
  text.Draw(canvas, *this, Point{x, std::floor((size.height - textSize.height) * 0.5f)}, colors.foreground);
}

ToggleButton::ToggleButton(const std::string& text, ButtonStyle style) : Button(text, style) {}

bool ToggleButton::IsChecked() const { return checked_; }

void ToggleButton::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  ShowToggleState();
  if (onToggled) {
    auto callback = onToggled;
    callback(checked_);
  }
}

void ToggleButton::Click() {
  if (!IsEnabledInTree()) return;
  const std::shared_ptr<Detail::WidgetLink> self = Link();
  SetChecked(!checked_);
  if (self->widget != nullptr) Button::Click();
}

int32_t ToggleButton::ToggleState() const { return checked_ ? kToggleStateOn : kToggleStateOff; }
bool ToggleButton::SupportsInvoke() const { return false; }
bool ToggleButton::Toggle() { return Invoke(); }
const char* ToggleButton::ClassName() const { return "ToggleButton"; }

}  // namespace Quarlo::Widget::Input
