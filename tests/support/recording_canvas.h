#pragma once
// A Canvas that draws nothing and records every call, with rectangles mapped to window space through
// the pushed transforms, so tests can assert what a widget drew and where.

#include <string>
#include <vector>

#include "widget/canvas.h"

namespace Quarlo::Widget::Testing {

struct CanvasCall {
  std::string op;   // the operation's name, for example "FillRect" or "PushClip"
  Rect rect;        // the rectangle as passed (empty for operations without one)
  Rect windowRect;  // rect mapped through the current transform
  Color color;
  float value = 0;   // stroke width, icon size or opacity, depending on op
  float radius = 0;  // corner radius of rounded operations
  Matrix matrix;     // PushTransform's matrix
  // DrawBitmap: the bitmap, its source rectangle and interpolation; DrawIcon: the code point.
  Bitmap bitmap;
  Rect source;
  Interpolation interpolation = Interpolation::Linear;
  char32_t codePoint = 0;
};

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(float scale = 1) : scale_(scale) {}

  std::vector<CanvasCall> calls;

  // The names of the recorded operations, in order.
  std::vector<std::string> Ops() const;
  // The recorded calls of one operation.
  std::vector<CanvasCall> Calls(const std::string& op) const;
  // True when every push was popped by its own kind of pop, in order.
  bool Balanced() const { return stack_.empty() && !mismatched_; }

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
  enum class Entry { Clip, Opacity, Transform };

  void Record(const std::string& op, Rect rect = {}, Color color = {}, float value = 0);
  void Pop(Entry kind);

  float scale_;
  Matrix transform_;
  std::vector<Matrix> savedTransforms_;
  std::vector<Entry> stack_;
  bool mismatched_ = false;
};

}  // namespace Quarlo::Widget::Testing
