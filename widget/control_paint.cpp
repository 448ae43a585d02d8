#include "widget/control_paint.h"

#include <algorithm>
#include <cmath>

#include "widget/canvas.h"
#include "widget/theme.h"
#include "widget/widget.h"

namespace Quarlo::Widget {
namespace {

// The outer ring sits 3 DIPs outside the control, the inner contrast ring 1 DIP outside.
constexpr float kOuterRingGap = 3;
constexpr float kOuterRingWidth = 2;
constexpr float kInnerRingGap = 1;
constexpr float kInnerRingWidth = 1;
constexpr float kFaintestBorderAlpha = 0.002f;
constexpr float kFieldStripHeight = 2;

Rect Outset(Size size, float gap) { return Rect{-gap, -gap, size.width + 2 * gap, size.height + 2 * gap}; }

}  // namespace

float HairlineWidth(float scale) {
  if (!(scale > 0)) return 1;
  return std::max(std::round(scale), 1.0f) / scale;
}

bool IsVisibleBorder(const Color& color) { return color.a > kFaintestBorderAlpha; }

void PaintFieldFrame(Canvas& canvas, const Theme& theme, Size size, const FieldState& state) {
  const Rect bounds{0, 0, size.width, size.height};
  ThemeColor fill = ThemeColor::ControlFill;
  if (!state.enabled) {
    fill = ThemeColor::ControlFillDisabled;
  } else if (state.focused) {
    fill = ThemeColor::PopupBackground;
  } else if (state.hovered) {
    fill = ThemeColor::ControlFillHover;
  }
  canvas.FillRoundedRect(bounds, theme.cornerRadius, theme.Get(fill));
  const ThemeColor border = state.error     ? ThemeColor::Critical
                            : state.enabled ? ThemeColor::ControlBorder
                                            : ThemeColor::Divider;
  const float hairline = HairlineWidth(canvas.Scale());
  canvas.StrokeRoundedRect(bounds, theme.cornerRadius, theme.Get(border), hairline);
  if (!state.enabled) return;
  canvas.PushRoundedClip(bounds, theme.cornerRadius);
  const bool marked = state.focused || state.error;
  const float strip = marked ? kFieldStripHeight : hairline;
  const ThemeColor colour = state.error ? ThemeColor::Critical
                            : marked    ? ThemeColor::Accent
                                        : ThemeColor::StrongBorder;
  canvas.FillRect(Rect{0, size.height - strip, size.width, strip}, theme.Get(colour));
  canvas.PopClip();
}

void PaintFocusRing(Canvas& canvas, const Widget& control) {
  if (!control.IsFocusVisualShown()) return;
  const Theme& theme = control.GetTheme();
  const Size size = control.ActualSize();
  canvas.StrokeRoundedRect(Outset(size, kOuterRingGap), theme.cornerRadius + kOuterRingGap,
                           theme.Get(ThemeColor::StrongForeground), kOuterRingWidth);
  canvas.StrokeRoundedRect(Outset(size, kInnerRingGap), theme.cornerRadius + kInnerRingGap,
                           theme.Get(ThemeColor::InverseSurface), kInnerRingWidth);
}

}  // namespace Quarlo::Widget
