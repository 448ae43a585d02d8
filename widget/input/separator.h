#pragma once
// A thin dividing line, horizontal or vertical, one device pixel thick at least.

#include "widget/input/control_orientation.h"
#include "widget/widget.h"

namespace Quarlo::Widget::Input {

class Separator : public Widget {
 public:
  explicit Separator(ControlOrientation orientation = ControlOrientation::Horizontal);

  ControlOrientation GetOrientation() const { return orientation_; }

  const char* ClassName() const override;
  Size MeasureOverride(Size available) override;
  void Paint(Canvas& canvas) override;

 private:
  ControlOrientation orientation_;
};

}  // namespace Quarlo::Widget::Input
