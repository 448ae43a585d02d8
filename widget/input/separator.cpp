// Separator: a line along the widget's top or left edge.

#include "widget/input/separator.h"

#include <algorithm>
#include <cmath>

#include "widget/canvas.h"
#include "widget/theme.h"

namespace Quarlo::Widget::Input {
namespace {

float BoundedOrZero(float length) { return std::isinf(length) ? 0 : length; }

}  // namespace

Separator::Separator(ControlOrientation orientation) : orientation_(orientation) {
  role = Role::Separator;
  tabStop = false;
}

const char* Separator::ClassName() const { return "Separator"; }

Size Separator::MeasureOverride(Size available) {
  if (orientation_ == ControlOrientation::Vertical) return Size{1, BoundedOrZero(available.height)};
  return Size{BoundedOrZero(available.width), 1};
}

void Separator::Paint(Canvas& canvas) {
  const Size size = ActualSize();
  const float thickness = std::max(1.0f, 1.0f / canvas.Scale());
  const Rect line = orientation_ == ControlOrientation::Vertical ? Rect{0, 0, thickness, size.height}
                                                                 : Rect{0, 0, size.width, thickness};
  canvas.FillRect(canvas.SnapRect(line), GetTheme().Get(ThemeColor::SubtleBorder));
}

}  // namespace Quarlo::Widget::Input
