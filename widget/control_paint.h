#pragma once
// Drawing pieces the controls share: the keyboard focus ring and the hairline width of their outlines.

namespace Quarlo::Widget {

class Canvas;
class Widget;
struct Color;

// Outline width of control borders: one device pixel at least, whole device pixels at any scale.
float HairlineWidth(float scale);
// Whether a control border of this colour is drawn: borders that are all but transparent are left out.
bool IsVisibleBorder(const Color& color);

// The keyboard focus visual around a control, drawn from its PaintOverlay; nothing unless the control
// has focus that came from the keyboard.
void PaintFocusRing(Canvas& canvas, const Widget& control);

}  // namespace Quarlo::Widget
