#pragma once
// The look the viewer's floating panels share (the notice, the end card, the info panel): the popup
// background with a subtle one-pixel outline and rounded corners over the picture.

#include "widget/border.h"

namespace App {

inline void StyleAsFloatingPanel(Quarlo::Widget::Border& panel, float cornerRadius) {
  panel.SetBackground(Quarlo::Widget::BackgroundKind::Popup);
  panel.SetBorder(Quarlo::Widget::BorderKind::Subtle, 1);
  panel.SetCornerRadius(cornerRadius);
}

}  // namespace App
