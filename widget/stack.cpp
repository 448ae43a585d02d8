#include "widget/stack.h"

#include <algorithm>

namespace Quarlo::Widget {

const char* Stack::ClassName() const { return "Stack"; }

bool Stack::IsHitTestVisible() const { return false; }

Size Stack::MeasureOverride(Size available) {
  Size constraint = vertical ? Size{available.width, kUnbounded} : Size{kUnbounded, available.height};
  Size result;
  int shown = 0;
  for (const auto& child : Children()) {
    if (!child->IsVisible()) {
      continue;
    }
    Size d = child->Measure(constraint);
    ++shown;
    if (vertical) {
      result.width = std::max(result.width, d.width);
      result.height += d.height;
    } else {
      result.width += d.width;
      result.height = std::max(result.height, d.height);
    }
  }
  float gaps = shown > 1 ? spacing * static_cast<float>(shown - 1) : 0;
  (vertical ? result.height : result.width) += gaps;
  return result;
}

void Stack::ArrangeOverride(Size final) {
  float along = 0;
  for (const auto& child : Children()) {
    if (!child->IsVisible()) {
      continue;
    }
    Size d = child->DesiredSize();
    if (vertical) {
      child->Arrange(Rect{0, along, final.width, d.height});
      along += d.height + spacing;
    } else {
      child->Arrange(Rect{along, 0, d.width, final.height});
      along += d.width + spacing;
    }
  }
}

}  // namespace Quarlo::Widget
