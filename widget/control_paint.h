#pragma once
// Drawing pieces the controls share: the keyboard focus ring and the hairline width of their outlines.

#include "widget/geometry.h"

namespace Quarlo::Widget {

class Canvas;
class Widget;
struct Color;
struct Theme;

// What decides the look of a text-like field.
struct FieldState {
  bool enabled = true;
  bool focused = false;
  bool hovered = false;
  bool error = false;
};

// Outline width of control borders: one device pixel at least, whole device pixels at any scale.
float HairlineWidth(float scale);
// Whether a control border of this colour is drawn: borders that are all but transparent are left out.
bool IsVisibleBorder(const Color& color);

// The face of text-like fields (text boxes, the hotkey box): filled by state, outlined (critical in error),
// and marked at the bottom edge by a strip, the accent while focused, critical in error, else a strong
// hairline.
void PaintFieldFrame(Canvas& canvas, const Theme& theme, Size size, const FieldState& state);

// The keyboard focus visual around a control, drawn from its PaintOverlay; nothing unless the control
// has focus that came from the keyboard.
void PaintFocusRing(Canvas& canvas, const Widget& control);

}  // namespace Quarlo::Widget
