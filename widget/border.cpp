#include "widget/border.h"

#include <algorithm>

#include "widget/canvas.h"
#include "widget/theme.h"

namespace Quarlo::Widget {

void Border::SetPadding(float left, float top, float right, float bottom) {
  padding = Thickness{left, top, right, bottom};
  InvalidateMeasure();
}

void Border::SetBackground(BackgroundKind kind, Color colour) {
  background = kind;
  backgroundColour = colour;
  InvalidateVisual();
}

void Border::SetBorder(BorderKind kind, float thickness, Color colour) {
  border = kind;
  borderThickness = thickness;
  borderColour = colour;
  InvalidateVisual();
}

void Border::SetCornerRadius(float radius) {
  cornerRadius = radius;
  InvalidateVisual();
}

const char* Border::ClassName() const { return "Border"; }

bool Border::IsHitTestVisible() const { return background != BackgroundKind::None; }

Size Border::MeasureOverride(Size available) {
  float horizontal = padding.left + padding.right;
  float vertical = padding.top + padding.bottom;
  Size inner{std::max(available.width - horizontal, 0.0f), std::max(available.height - vertical, 0.0f)};
  Size content = Widget::MeasureOverride(inner);
  return Size{content.width + horizontal, content.height + vertical};
}

void Border::ArrangeOverride(Size final) {
  Rect inner{padding.left, padding.top, std::max(final.width - padding.left - padding.right, 0.0f),
             std::max(final.height - padding.top - padding.bottom, 0.0f)};
  for (const auto& child : Children()) {
    child->Arrange(inner);
  }
}

Color Border::BackgroundColour() const {
  switch (background) {
    case BackgroundKind::Window:
      return GetTheme().Get(ThemeColor::WindowBackground);
    case BackgroundKind::Layer:
      return GetTheme().Get(ThemeColor::LayerFill);
    case BackgroundKind::Popup:
      return GetTheme().Get(ThemeColor::PopupBackground);
    case BackgroundKind::Custom:
      return backgroundColour;
    case BackgroundKind::None:
      break;
  }
  return Color{0, 0, 0, 1};
}

Color Border::BorderColour() const {
  switch (border) {
    case BorderKind::Subtle:
      return GetTheme().Get(ThemeColor::SubtleBorder);
    case BorderKind::Control:
      return GetTheme().Get(ThemeColor::ControlBorder);
    default:
      return borderColour;
  }
}

void Border::Paint(Canvas& canvas) {
  Rect bounds{0, 0, ActualSize().width, ActualSize().height};
  if (background != BackgroundKind::None) {
    Color fill = BackgroundColour();
    if (cornerRadius > 0) {
      canvas.FillRoundedRect(bounds, cornerRadius, fill);
    } else {
      canvas.FillRect(bounds, fill);
    }
  }
  if (border != BorderKind::None) {
    float width = std::max(1.0f / canvas.Scale(), borderThickness);
    Color outline = BorderColour();
    if (cornerRadius > 0) {
      canvas.StrokeRoundedRect(bounds, cornerRadius, outline, width);
    } else {
      canvas.StrokeRect(bounds, outline, width);
    }
  }
}

}  // namespace Quarlo::Widget
