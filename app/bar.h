#pragma once
// The look of the viewer's top and bottom bars: the window background, slightly see-through, so that a
// picture running under the bars still shows, with the outline and padding of a Border.

#include "widget/border.h"

namespace App {

// The bars' background opacity.
inline constexpr float kBarOpacity = 0.92f;

class Bar : public Quarlo::Widget::Border {
 public:
  Bar();

  const char* ClassName() const override { return "Bar"; }
  // A bar takes the pointer everywhere, also between its controls: a click there never reaches the picture.
  bool IsHitTestVisible() const override { return true; }
  void Paint(Quarlo::Widget::Canvas& canvas) override;
};

}  // namespace App
