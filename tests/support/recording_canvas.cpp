#include "support/recording_canvas.h"

#include <algorithm>
#include <cmath>

namespace Quarlo::Widget::Testing {

std::vector<std::string> RecordingCanvas::Ops() const {
  std::vector<std::string> ops;
  for (const CanvasCall& c : calls) {
    ops.push_back(c.op);
  }
  return ops;
}

std::vector<CanvasCall> RecordingCanvas::Calls(const std::string& op) const {
  std::vector<CanvasCall> found;
  std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
               [&](const CanvasCall& c) { return c.op == op; });
  return found;
}

void RecordingCanvas::Record(const std::string& op, Rect rect, Color color, float value) {
  Point a = transform_.Apply({rect.x, rect.y});
  Point b = transform_.Apply({rect.Right(), rect.Bottom()});
  Rect mapped{std::min(a.x, b.x), std::min(a.y, b.y), std::fabs(b.x - a.x), std::fabs(b.y - a.y)};
  calls.push_back(CanvasCall{op, rect, mapped, color, value, 0, {}, {}, {}, Interpolation::Linear, 0});
}

void RecordingCanvas::Pop(Entry kind) {
  if (stack_.empty() || stack_.back() != kind) {
    mismatched_ = true;
    return;
  }
  stack_.pop_back();
}

void RecordingCanvas::Clear(Color color) { Record("Clear", {}, color); }
void RecordingCanvas::FillRectGradient(Rect rect, const Gradient&) { Record("FillRectGradient", rect); }
void RecordingCanvas::FillRect(Rect rect, Color color) { Record("FillRect", rect, color); }
void RecordingCanvas::StrokeRect(Rect rect, Color color, const StrokeStyle& style) {
  Record("StrokeRect", rect, color, style.width);
}
void RecordingCanvas::StrokeRect(Rect rect, Color color, float width) {
  Record("StrokeRect", rect, color, width);
}
void RecordingCanvas::FillRoundedRect(Rect rect, float radius, Color color) {
  Record("FillRoundedRect", rect, color);
  calls.back().radius = radius;
}
void RecordingCanvas::StrokeRoundedRect(Rect rect, float radius, Color color, float width) {
  Record("StrokeRoundedRect", rect, color, width);
  calls.back().radius = radius;
}
void RecordingCanvas::FillEllipse(Point centre, float rx, float ry, Color color) {
  Record("FillEllipse", Rect{centre.x - rx, centre.y - ry, 2 * rx, 2 * ry}, color);
}
void RecordingCanvas::StrokeEllipse(Point centre, float rx, float ry, Color color, float width) {
  Record("StrokeEllipse", Rect{centre.x - rx, centre.y - ry, 2 * rx, 2 * ry}, color, width);
}
void RecordingCanvas::DrawLine(Point from, Point to, Color color, const StrokeStyle& style) {
  Record("DrawLine", Rect{from.x, from.y, to.x - from.x, to.y - from.y}, color, style.width);
}
void RecordingCanvas::DrawLine(Point from, Point to, Color color, float width) {
  Record("DrawLine", Rect{from.x, from.y, to.x - from.x, to.y - from.y}, color, width);
}
void RecordingCanvas::FillPathGradient(const Path&, const Gradient&) { Record("FillPathGradient"); }
void RecordingCanvas::FillPath(const Path&, Color color) { Record("FillPath", {}, color); }
void RecordingCanvas::StrokePath(const Path&, Color color, const StrokeStyle& style) {
  Record("StrokePath", {}, color, style.width);
}
void RecordingCanvas::DrawText(const TextLayout&, Point origin, Color color) {
  Record("DrawText", Rect{origin.x, origin.y, 0, 0}, color);
}
void RecordingCanvas::DrawIcon(char32_t codePoint, Rect rect, float size, Color color) {
  Record("DrawIcon", rect, color, size);
  calls.back().codePoint = codePoint;
}
void RecordingCanvas::DrawBitmap(const Bitmap& bitmap, Rect destination, Rect source, float opacity,
                                 Interpolation interpolation) {
  Record("DrawBitmap", destination, {}, opacity);
  calls.back().bitmap = bitmap;
  calls.back().source = source;
  calls.back().interpolation = interpolation;
}

void RecordingCanvas::PushClip(Rect rect) {
  Record("PushClip", rect);
  stack_.push_back(Entry::Clip);
}

void RecordingCanvas::PushRoundedClip(Rect rect, float radius) {
  Record("PushRoundedClip", rect);
  calls.back().radius = radius;
  stack_.push_back(Entry::Clip);
}

void RecordingCanvas::PopClip() {
  Record("PopClip");
  Pop(Entry::Clip);
}

void RecordingCanvas::PushTransform(const Matrix& matrix) {
  Record("PushTransform");
  calls.back().matrix = matrix;
  savedTransforms_.push_back(transform_);
  transform_ = matrix * transform_;
  stack_.push_back(Entry::Transform);
}

void RecordingCanvas::PopTransform() {
  Record("PopTransform");
  if (!savedTransforms_.empty()) {
    transform_ = savedTransforms_.back();
    savedTransforms_.pop_back();
  }
  Pop(Entry::Transform);
}

void RecordingCanvas::PushOpacity(float opacity) {
  Record("PushOpacity", {}, {}, opacity);
  stack_.push_back(Entry::Opacity);
}

void RecordingCanvas::PopOpacity() {
  Record("PopOpacity");
  Pop(Entry::Opacity);
}

Rect RecordingCanvas::SnapRect(Rect rect) const {
  auto snap = [this](float e, float t) { return std::round((e + t) * scale_) / scale_ - t; };
  float left = snap(rect.x, transform_.dx);
  float top = snap(rect.y, transform_.dy);
  float right = snap(rect.Right(), transform_.dx);
  float bottom = snap(rect.Bottom(), transform_.dy);
  return Rect{left, top, right - left, bottom - top};
}

}  // namespace Quarlo::Widget::Testing
