// Widget: the measure and arrange passes with their caches, rendering order and hit testing.

#include <algorithm>
#include <cmath>

#include "widget/canvas.h"
#include "widget/widget.h"

namespace Quarlo::Widget {

float ClampLength(float v, float minimum, float maximum) {
  float upper = std::max(maximum, minimum);
  if (v > upper) {
    return upper;
  }
  if (v < minimum) {
    return minimum;
  }
  return v;
}

Size Widget::Measure(Size available) {
  if (!visible) {
    measureValid = true;
    desiredSize = Size{};
    lastMeasureConstraint = available;
    return desiredSize;
  }
  // Exact float comparison: a NaN constraint never equals itself and always re-measures.
  if (measureValid && available.width == lastMeasureConstraint.width &&
      available.height == lastMeasureConstraint.height) {
    return desiredSize;
  }
  lastMeasureConstraint = available;
  // Whatever made this measure necessary (a margin, an alignment, new content) can move the widget
  // inside an unchanged slot, so the cached arrangement no longer holds.
  arrangeValid = false;
  Size inner{std::max(0.0f, available.width - margin.left - margin.right),
             std::max(0.0f, available.height - margin.top - margin.bottom)};
  if (!std::isnan(width)) {
    inner.width = width;
  }
  if (!std::isnan(height)) {
    inner.height = height;
  }
  inner.width = ClampLength(inner.width, minWidth, maxWidth);
  inner.height = ClampLength(inner.height, minHeight, maxHeight);

  Size content = MeasureOverride(inner);

  // A fixed size is reported as given; Arrange applies the limits to it.
  float w = std::isnan(width) ? ClampLength(content.width, minWidth, maxWidth) : width;
  float h = std::isnan(height) ? ClampLength(content.height, minHeight, maxHeight) : height;
  desiredSize = Size{w + margin.left + margin.right, h + margin.top + margin.bottom};
  measureValid = true;
  return desiredSize;
}

namespace {

// Places a length w inside an available length along one axis.
float AlignedOffset(Alignment alignment, float available, float w) {
  switch (alignment) {
    case Alignment::End:
      return available - w;
    case Alignment::Center:
      return (available - w) / 2;
    case Alignment::Start:
    case Alignment::Stretch:
      break;
  }
  return 0;
}

}  // namespace

void Widget::Arrange(Rect slot) {
  if (!visible) {
    lastArrangeRect = slot;
    arrangeValid = true;
    return;
  }
  if (arrangeValid && measureValid && slot == lastArrangeRect) {
    return;
  }
  lastArrangeRect = slot;
  Size available{std::max(0.0f, slot.width - margin.left - margin.right),
                 std::max(0.0f, slot.height - margin.top - margin.bottom)};

  float w = available.width;
  if (horizontalAlignment != Alignment::Stretch || !std::isnan(width)) {
    w = std::min(std::max(0.0f, desiredSize.width - margin.left - margin.right), available.width);
  }
  w = ClampLength(w, minWidth, maxWidth);
  float h = available.height;
  if (verticalAlignment != Alignment::Stretch || !std::isnan(height)) {
    h = std::min(std::max(0.0f, desiredSize.height - margin.top - margin.bottom), available.height);
  }
  h = ClampLength(h, minHeight, maxHeight);

  // A Stretch widget narrowed by its maximum stays at the start of its slot.
  position = Point{slot.x + margin.left + AlignedOffset(horizontalAlignment, available.width, w),
                   slot.y + margin.top + AlignedOffset(verticalAlignment, available.height, h)};
  actualSize = Size{w, h};
  ArrangeOverride(actualSize);
  arrangeValid = true;
  InvalidateVisual();
}

Size Widget::MeasureOverride(Size available) {
  Size result;
  for (auto& child : children) {
    Size d = child->Measure(available);
    result.width = std::max(result.width, d.width);
    result.height = std::max(result.height, d.height);
  }
  return result;
}

void Widget::ArrangeOverride(Size final) {
  for (auto& child : children) {
    child->Arrange(Rect{0, 0, final.width, final.height});
  }
}

void Widget::Render(Canvas& canvas) {
  if (!visible || !(opacity > 0)) {
    return;
  }
  canvas.PushTransform(Matrix::Translation(position.x, position.y));
  bool layered = opacity < 1;
  if (layered) {
    canvas.PushOpacity(opacity);
  }
  if (clipToBounds) {
    canvas.PushClip(Rect{0, 0, actualSize.width, actualSize.height});
  }
  Paint(canvas);
  for (auto& child : children) {
    child->Render(canvas);
  }
  PaintOverlay(canvas);
  if (clipToBounds) {
    canvas.PopClip();
  }
  if (layered) {
    canvas.PopOpacity();
  }
  canvas.PopTransform();
}

Widget* Widget::HitTest(Point local) {
  if (!visible || local.x < 0 || local.y < 0 || local.x >= actualSize.width || local.y >= actualSize.height) {
    return nullptr;
  }
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    Widget* child = it->get();
    if (!child->visible) {
      continue;
    }
    if (Widget* hit = child->HitTest(Point{local.x - child->position.x, local.y - child->position.y})) {
      return hit;
    }
  }
  return IsHitTestVisible() ? this : nullptr;
}

}  // namespace Quarlo::Widget
