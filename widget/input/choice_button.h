#pragma once
// What check boxes and radio buttons share: a 20-DIP box (square or round) at the left, wrapping text beside
// it, and the box colours of the on and off states.

#include <string>

#include "widget/input/button_base.h"

namespace Quarlo::Widget::Input {

class ChoiceButton : public ButtonBase {
 public:
  bool ActivatesOnEnter() const override;
  Size MeasureOverride(Size available) override;

 protected:
  ChoiceButton(const std::string& text, Quarlo::Widget::Role accessibleRole);

  // Whether the box shows the on colours (checked or indeterminate).
  virtual bool IsOn() const = 0;

  ControlColors ColorTargets() const override;
  void FormatText(ControlText& text) const override;
  // The side of the box (the theme's check box size).
  float BoxSize() const;
  // The box's rectangle: at the left edge, centred vertically.
  Rect BoxRect() const;
  // Draws the text right of the box, centred vertically.
  void PaintText(Canvas& canvas);
};

}  // namespace Quarlo::Widget::Input
