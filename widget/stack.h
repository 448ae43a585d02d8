#pragma once
// A panel that lays its visible children one after another, top to bottom or left to right.

#include "widget/widget.h"

namespace Quarlo::Widget {

class Stack : public Widget {
 public:
  Stack() = default;
  Stack(bool vertical, float spacing) : vertical(vertical), spacing(spacing) {}

  const char* ClassName() const override;
  bool IsHitTestVisible() const override;
  Size MeasureOverride(Size available) override;
  void ArrangeOverride(Size final) override;

  // Plain fields: follow a change with InvalidateMeasure.
  bool vertical = false;  // false lays children left to right
  float spacing = 0;      // gap between adjacent visible children
};

}  // namespace Quarlo::Widget
