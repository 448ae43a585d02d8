#pragma once
// A panel that pads its children and can draw a background and an outline behind them.

#include <cstdint>

#include "widget/color.h"
#include "widget/widget.h"

namespace Quarlo::Widget {

// Window, Layer and Popup take theme colours 0, 1 and 2; Custom takes the border's own background
// colour; other values draw opaque black.
enum class BackgroundKind : int32_t { None = 0, Window = 1, Layer = 2, Popup = 3, Custom = 4 };

// Subtle and Control take theme colours 21 and 16; every other value takes the border's own colour.
enum class BorderKind : int32_t { None = 0, Subtle = 1, Control = 2, Custom = 3 };

class Border : public Widget {
 public:
  Border() = default;

  void SetPadding(float left, float top, float right, float bottom);
  void SetBackground(BackgroundKind kind, Color colour = {});
  // The outline is drawn at least one device pixel wide.
  void SetBorder(BorderKind kind, float thickness = 1, Color colour = {});
  void SetCornerRadius(float radius);

  const Thickness& Padding() const { return padding; }
  BackgroundKind Background() const { return background; }

  const char* ClassName() const override;
  // A border with a background takes the pointer; without one, events reach what lies beneath.
  bool IsHitTestVisible() const override;
  Size MeasureOverride(Size available) override;
  void ArrangeOverride(Size final) override;
  void Paint(Canvas& canvas) override;

 private:
  Color BackgroundColour() const;
  Color BorderColour() const;

  Thickness padding;
  BackgroundKind background = BackgroundKind::None;
  Color backgroundColour{0, 0, 0, 1};
  BorderKind border = BorderKind::None;
  float borderThickness = 1;
  Color borderColour{0, 0, 0, 1};
  float cornerRadius = 0;
};

}  // namespace Quarlo::Widget
