#pragma once
// The canvas over a Cairo context: a window's back buffer or an offscreen image surface.

#include <cairo.h>

#include <vector>

#include "widget/canvas.h"

namespace Quarlo::Widget::Detail {

class CairoCanvas final : public Canvas {
 public:
  // Draws into cr, whose user space must be the target's device pixels; scale is device pixels per DIP.
  CairoCanvas(cairo_t* cr, float scale);
  // Closes any clip or layer a painter left open, so the target always receives what was drawn.
  ~CairoCanvas() override;
  CairoCanvas(const CairoCanvas&) = delete;
  CairoCanvas& operator=(const CairoCanvas&) = delete;

  float Scale() const override { return scale_; }
  void Clear(Color color) override;
  void FillRectGradient(Rect rect, const Gradient& gradient) override;
  void FillRect(Rect rect, Color color) override;
  void StrokeRect(Rect rect, Color color, const StrokeStyle& style) override;
  void StrokeRect(Rect rect, Color color, float width) override;
  void FillRoundedRect(Rect rect, float radius, Color color) override;
  void StrokeRoundedRect(Rect rect, float radius, Color color, float width) override;
  void FillEllipse(Point centre, float radiusX, float radiusY, Color color) override;
  void StrokeEllipse(Point centre, float radiusX, float radiusY, Color color, float width) override;
  void DrawLine(Point from, Point to, Color color, const StrokeStyle& style) override;
  void DrawLine(Point from, Point to, Color color, float width) override;
  void FillPathGradient(const Path& path, const Gradient& gradient) override;
  void FillPath(const Path& path, Color color) override;
  void StrokePath(const Path& path, Color color, const StrokeStyle& style) override;
  void DrawText(const TextLayout& layout, Point origin, Color color) override;
  void DrawIcon(char32_t codePoint, Rect rect, float size, Color color) override;
  void DrawBitmap(const Bitmap& bitmap, Rect destination, Rect source, float opacity,
                  Interpolation interpolation) override;
  void PushClip(Rect rect) override;
  void PushRoundedClip(Rect rect, float radius) override;
  void PopClip() override;
  void PushTransform(const Matrix& matrix) override;
  void PopTransform() override;
  void PushOpacity(float opacity) override;
  void PopOpacity() override;
  Rect SnapRect(Rect rect) const override;

 private:
  enum class Layer { Clip, RoundedClip, Opacity };
  struct SavedTransform {
    cairo_matrix_t matrix;
    Point translation;
    bool collapsed;
  };

  // True under a transform that cannot be inverted: nothing drawn there would be visible.
  bool Collapsed() const { return collapsed_; }

  void SetColor(Color color);
  void ApplyStroke(const StrokeStyle& style);
  void StrokeCurrentPath(Color color, const StrokeStyle& style);
  bool SetGradientSource(const Gradient& gradient);
  // A clip through which nothing is drawn (clips pushed under a collapsed transform).
  void ClipToNothing();
  // Pops the top clip or layer (the caller checked its kind) and restores the transform it saved.
  void PopLayer();

  cairo_t* cr_;
  float scale_;
  cairo_matrix_t current_;
  Point translation_;
  bool collapsed_ = false;
  std::vector<SavedTransform> transforms_;
  std::vector<Layer> layers_;
  std::vector<float> opacities_;
};

}  // namespace Quarlo::Widget::Detail
