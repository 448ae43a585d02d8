// Shapes, paths, gradients, text and the transform, clip and opacity stacks on Cairo.

#include "widget/detail/cairo_canvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "widget/detail/bitmap_pyramid.h"
#include "widget/detail/icon_glyphs.h"
#include "widget/detail/pango_text.h"
#include "widget/detail/text_formats.h"

namespace Quarlo::Widget::Detail {
namespace {

constexpr double kMiterLimit = 10;

cairo_matrix_t ToCairo(const Matrix& m) { return cairo_matrix_t{m.m11, m.m12, m.m21, m.m22, m.dx, m.dy}; }

void AddRoundedRect(cairo_t* cr, Rect rect, float radius) {
  const double r = std::clamp(radius, 0.0f, std::min(rect.width, rect.height) / 2);
  if (r <= 0) {
    cairo_rectangle(cr, rect.x, rect.y, rect.width, rect.height);
    return;
  }
  constexpr double kQuarter = std::numbers::pi / 2;
  cairo_new_sub_path(cr);
  cairo_arc(cr, rect.Right() - r, rect.y + r, r, -kQuarter, 0);
  cairo_arc(cr, rect.Right() - r, rect.Bottom() - r, r, 0, kQuarter);
  cairo_arc(cr, rect.x + r, rect.Bottom() - r, r, kQuarter, 2 * kQuarter);
  cairo_arc(cr, rect.x + r, rect.y + r, r, 2 * kQuarter, 3 * kQuarter);
  cairo_close_path(cr);
}

// Adds the ellipse through a scaled transform; false (nothing added) when that transform would be unusable,
// which would put the context into Cairo's error state.
bool AddEllipse(cairo_t* cr, Point centre, double radiusX, double radiusY) {
  if (!std::isfinite(centre.x) || !std::isfinite(centre.y) || !(radiusX > 0) || !(radiusY > 0) ||
      !std::isfinite(radiusX) || !std::isfinite(radiusY)) {
    return false;
  }
  cairo_save(cr);
  cairo_translate(cr, centre.x, centre.y);
  cairo_scale(cr, radiusX, radiusY);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
  cairo_close_path(cr);
  cairo_restore(cr);
  return true;
}

void AddPath(cairo_t* cr, const Path& path) {
  cairo_new_path(cr);
  for (const PathCommand& command : path.commands) {
    const auto& p = command.points;
    switch (command.kind) {
      case PathKind::MoveTo:
        cairo_move_to(cr, p[0].x, p[0].y);
        break;
      case PathKind::LineTo:
        cairo_line_to(cr, p[0].x, p[0].y);
        break;
      case PathKind::QuadraticTo: {
        double x0 = p[0].x;
        double y0 = p[0].y;
        if (cairo_has_current_point(cr)) cairo_get_current_point(cr, &x0, &y0);
        // The cubic with control points two thirds of the way towards the quadratic's control point.
        cairo_curve_to(cr, x0 + 2.0 / 3 * (p[0].x - x0), y0 + 2.0 / 3 * (p[0].y - y0),
                       p[1].x + 2.0 / 3 * (p[0].x - p[1].x), p[1].y + 2.0 / 3 * (p[0].y - p[1].y), p[1].x,
                       p[1].y);
        break;
      }
      case PathKind::CubicTo:
        cairo_curve_to(cr, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
        break;
      case PathKind::Close:
        cairo_close_path(cr);
        break;
    }
  }
}

cairo_line_cap_t ToCairo(CapStyle cap) {
  switch (cap) {
    case CapStyle::Round:
      return CAIRO_LINE_CAP_ROUND;
    case CapStyle::Square:
      return CAIRO_LINE_CAP_SQUARE;
    case CapStyle::Flat:
      break;
  }
  return CAIRO_LINE_CAP_BUTT;
}

cairo_line_join_t ToCairo(LineJoin join) {
  switch (join) {
    case LineJoin::Round:
      return CAIRO_LINE_JOIN_ROUND;
    case LineJoin::Bevel:
      return CAIRO_LINE_JOIN_BEVEL;
    case LineJoin::Miter:
      break;
  }
  return CAIRO_LINE_JOIN_MITER;
}

StrokeStyle Plain(float width) {
  StrokeStyle style;
  style.width = width;
  return style;
}

}  // namespace

CairoCanvas::CairoCanvas(cairo_t* cr, float scale) : cr_(cr), scale_(scale > 0 ? scale : 1) {
  cairo_matrix_init_scale(&current_, scale_, scale_);
  cairo_save(cr_);
  cairo_set_matrix(cr_, &current_);
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
}

CairoCanvas::~CairoCanvas() {
  while (!layers_.empty()) PopLayer();
  cairo_restore(cr_);
}

void CairoCanvas::SetColor(Color color) { cairo_set_source_rgba(cr_, color.r, color.g, color.b, color.a); }

void CairoCanvas::Clear(Color color) {
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_reset_clip(cr_);
  cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
  SetColor(color);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

bool CairoCanvas::SetGradientSource(const Gradient& gradient) {
  // A pattern Cairo rejects would put the whole context into its error state, so doubtful input draws
  // nothing.
  const bool finite = std::isfinite(gradient.start.x) && std::isfinite(gradient.start.y) &&
                      std::isfinite(gradient.end.x) && std::isfinite(gradient.end.y);
  if (gradient.stops.empty() || !finite) return false;
  cairo_pattern_t* pattern = nullptr;
  if (gradient.radial) {
    if (!(gradient.radiusX > 0) || !(gradient.radiusY > 0) || !std::isfinite(gradient.radiusX) ||
        !std::isfinite(gradient.radiusY)) {
      return false;
    }
    // Pixman cannot build a gradient of a vanishing radius; below a thousandth of a DIP it looks the same.
    constexpr double kMinRadius = 1e-3;
    pattern = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_matrix_t toUnitCircle;
    cairo_matrix_init_scale(&toUnitCircle, 1.0 / std::max<double>(gradient.radiusX, kMinRadius),
                            1.0 / std::max<double>(gradient.radiusY, kMinRadius));
    cairo_matrix_translate(&toUnitCircle, -gradient.start.x, -gradient.start.y);
    cairo_pattern_set_matrix(pattern, &toUnitCircle);
  } else {
    pattern = cairo_pattern_create_linear(gradient.start.x, gradient.start.y, gradient.end.x, gradient.end.y);
  }
  std::vector<GradientStop> stops = gradient.stops;
  for (GradientStop& stop : stops)
    stop.position = std::isnan(stop.position) ? 0 : std::clamp(stop.position, 0.0f, 1.0f);
  std::stable_sort(stops.begin(), stops.end(),
                   [](const GradientStop& a, const GradientStop& b) { return a.position < b.position; });
  for (const GradientStop& stop : stops) {
    const Color& c = stop.color;
    cairo_pattern_add_color_stop_rgba(pattern, stop.position, c.r, c.g, c.b, c.a);
  }
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_set_source(cr_, pattern);
  cairo_pattern_destroy(pattern);
  return true;
}

void CairoCanvas::FillRectGradient(Rect rect, const Gradient& gradient) {
  if (Collapsed()) return;
  if (!SetGradientSource(gradient)) return;
  cairo_rectangle(cr_, rect.x, rect.y, rect.width, rect.height);
  cairo_fill(cr_);
}

void CairoCanvas::FillRect(Rect rect, Color color) {
  if (Collapsed()) return;
  SetColor(color);
  cairo_rectangle(cr_, rect.x, rect.y, rect.width, rect.height);
  cairo_fill(cr_);
}

void CairoCanvas::ApplyStroke(const StrokeStyle& style) {
  cairo_set_line_width(cr_, style.width);
  cairo_set_line_cap(cr_, ToCairo(style.cap));
  cairo_set_line_join(cr_, ToCairo(style.join));
  cairo_set_miter_limit(cr_, kMiterLimit);
  static constexpr std::array<double, 2> kDash{4, 2};
  static constexpr std::array<double, 2> kDot{1, 1};
  static constexpr std::array<double, 4> kDashDot{4, 2, 1, 2};
  std::vector<double> dashes;
  switch (style.dash) {
    case DashStyle::Dash:
      dashes.assign(kDash.begin(), kDash.end());
      break;
    case DashStyle::Dot:
      dashes.assign(kDot.begin(), kDot.end());
      break;
    case DashStyle::DashDot:
      dashes.assign(kDashDot.begin(), kDashDot.end());
      break;
    case DashStyle::Solid:
      break;
  }
  // Dash lengths and the offset are in multiples of the stroke width.
  for (double& dash : dashes) dash *= style.width;
  cairo_set_dash(cr_, dashes.data(), static_cast<int>(dashes.size()), style.dashOffset * style.width);
}

void CairoCanvas::StrokeCurrentPath(Color color, const StrokeStyle& style) {
  if (!(style.width > 0) || !std::isfinite(style.width)) {
    cairo_new_path(cr_);
    return;
  }
  SetColor(color);
  ApplyStroke(style);
  cairo_stroke(cr_);
}

void CairoCanvas::StrokeRect(Rect rect, Color color, const StrokeStyle& style) {
  if (Collapsed()) return;
  if (style.width >= rect.width || style.width >= rect.height) {
    FillRect(rect, color);
    return;
  }
  const float half = style.width / 2;
  cairo_rectangle(cr_, rect.x + half, rect.y + half, rect.width - style.width, rect.height - style.width);
  StrokeCurrentPath(color, style);
}

void CairoCanvas::StrokeRect(Rect rect, Color color, float width) { StrokeRect(rect, color, Plain(width)); }

void CairoCanvas::FillRoundedRect(Rect rect, float radius, Color color) {
  if (Collapsed()) return;
  if (rect.width <= 0 || rect.height <= 0) return;
  SetColor(color);
  AddRoundedRect(cr_, rect, radius);
  cairo_fill(cr_);
}

void CairoCanvas::StrokeRoundedRect(Rect rect, float radius, Color color, float width) {
  if (Collapsed()) return;
  if (2 * width >= rect.width || 2 * width >= rect.height) {
    FillRoundedRect(rect, radius, color);
    return;
  }
  const float half = width / 2;
  AddRoundedRect(cr_, Rect{rect.x + half, rect.y + half, rect.width - width, rect.height - width}, radius);
  StrokeCurrentPath(color, Plain(width));
}

void CairoCanvas::FillEllipse(Point centre, float radiusX, float radiusY, Color color) {
  if (Collapsed()) return;
  if (!AddEllipse(cr_, centre, radiusX, radiusY)) return;
  SetColor(color);
  cairo_fill(cr_);
}

void CairoCanvas::StrokeEllipse(Point centre, float radiusX, float radiusY, Color color, float width) {
  if (Collapsed()) return;
  if (!(width > 0)) return;
  const float rx = std::max(radiusX - width / 2, 0.0f);
  const float ry = std::max(radiusY - width / 2, 0.0f);
  if (rx <= 0 || ry <= 0) {
    // A degenerate ellipse has no outline to follow; its stroke still covers the line between the ends.
    if (rx <= 0 && ry <= 0) return;
    DrawLine(Point{centre.x - rx, centre.y - ry}, Point{centre.x + rx, centre.y + ry}, color, width);
    return;
  }
  if (AddEllipse(cr_, centre, rx, ry)) StrokeCurrentPath(color, Plain(width));
}

void CairoCanvas::DrawLine(Point from, Point to, Color color, const StrokeStyle& style) {
  if (Collapsed()) return;
  cairo_move_to(cr_, from.x, from.y);
  cairo_line_to(cr_, to.x, to.y);
  StrokeCurrentPath(color, style);
}

void CairoCanvas::DrawLine(Point from, Point to, Color color, float width) {
  DrawLine(from, to, color, Plain(width));
}

void CairoCanvas::FillPathGradient(const Path& path, const Gradient& gradient) {
  if (Collapsed()) return;
  if (!SetGradientSource(gradient)) return;
  AddPath(cr_, path);
  cairo_fill(cr_);
}

void CairoCanvas::FillPath(const Path& path, Color color) {
  if (Collapsed()) return;
  SetColor(color);
  AddPath(cr_, path);
  cairo_fill(cr_);
}

void CairoCanvas::StrokePath(const Path& path, Color color, const StrokeStyle& style) {
  if (Collapsed()) return;
  AddPath(cr_, path);
  StrokeCurrentPath(color, style);
}

void CairoCanvas::DrawText(const TextLayout& layout, Point origin, Color color) {
  if (Collapsed()) return;
  const TextLayoutImpl* impl = layout.Get();
  if (impl == nullptr) return;
  const Point at{origin.x + impl->offset.x, origin.y + impl->offset.y};
  cairo_save(cr_);
  if (impl->clipHeight > 0) {
    const float width = std::isfinite(impl->maximum.width) ? impl->maximum.width : 1'000'000.0f;
    cairo_rectangle(cr_, origin.x, at.y, width, impl->clipHeight);
    cairo_clip(cr_);
  }
  SetColor(color);
  cairo_move_to(cr_, at.x, at.y);
  pango_cairo_show_layout(cr_, impl->layout.get());
  cairo_restore(cr_);
}

void CairoCanvas::DrawIcon(char32_t codePoint, Rect rect, float size, Color color) {
  if (Collapsed()) return;
  const std::string glyph = IconGlyph(codePoint);
  const PangoFontDescription* format = IconFormat(size);
  if (glyph.empty() || format == nullptr) return;
  PangoLayout* layout = pango_layout_new(UiContext());
  pango_layout_set_font_description(layout, format);
  pango_layout_set_text(layout, glyph.c_str(), -1);
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  const double x = rect.x + (rect.width - static_cast<double>(logical.width) / PANGO_SCALE) / 2;
  const double y = rect.y + (rect.height - static_cast<double>(logical.height) / PANGO_SCALE) / 2;
  SetColor(color);
  cairo_move_to(cr_, x, y);
  pango_cairo_show_layout(cr_, layout);
  g_object_unref(layout);
}

void CairoCanvas::DrawBitmap(const Bitmap& bitmap, Rect destination, Rect source, float opacity,
                             Interpolation interpolation) {
  const bool finite = std::isfinite(destination.x) && std::isfinite(destination.y) &&
                      std::isfinite(destination.width) && std::isfinite(destination.height) &&
                      std::isfinite(source.x) && std::isfinite(source.y) && std::isfinite(source.width) &&
                      std::isfinite(source.height);
  if (Collapsed() || !bitmap || !finite || destination.width <= 0 || destination.height <= 0 ||
      !(opacity > 0)) {
    return;
  }
  DrawBitmapScaled(cr_, *bitmap.Get(), destination, source, std::min(opacity, 1.0f), interpolation);
}

void CairoCanvas::PushClip(Rect rect) {
  cairo_save(cr_);
  if (Collapsed()) {
    ClipToNothing();
    layers_.push_back(Layer::Clip);
    return;
  }
  // The clip is the device-space bounding box of the transformed rectangle, so it stays axis-aligned
  // under rotation.
  double left = INFINITY;
  double top = INFINITY;
  double right = -INFINITY;
  double bottom = -INFINITY;
  for (const Point corner : {Point{rect.x, rect.y}, Point{rect.Right(), rect.y}, Point{rect.x, rect.Bottom()},
                             Point{rect.Right(), rect.Bottom()}}) {
    double x = corner.x;
    double y = corner.y;
    cairo_matrix_transform_point(&current_, &x, &y);
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
  }
  cairo_identity_matrix(cr_);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  cairo_rectangle(cr_, left, top, right - left, bottom - top);
  cairo_clip(cr_);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
  cairo_set_matrix(cr_, &current_);
  layers_.push_back(Layer::Clip);
}

void CairoCanvas::PushRoundedClip(Rect rect, float radius) {
  cairo_save(cr_);
  if (Collapsed()) {
    ClipToNothing();
  } else {
    AddRoundedRect(cr_, rect, radius);
    cairo_clip(cr_);
  }
  layers_.push_back(Layer::RoundedClip);
}

void CairoCanvas::ClipToNothing() {
  cairo_new_path(cr_);
  cairo_rectangle(cr_, 0, 0, 0, 0);
  cairo_clip(cr_);
}

void CairoCanvas::PopLayer() {
  const Layer layer = layers_.back();
  layers_.pop_back();
  if (layer == Layer::Opacity) {
    cairo_pop_group_to_source(cr_);
    cairo_paint_with_alpha(cr_, opacities_.back());
    opacities_.pop_back();
  } else {
    cairo_restore(cr_);
  }
  // Restoring brings back the transform of the push; transforms have their own stack.
  if (!collapsed_) cairo_set_matrix(cr_, &current_);
}

void CairoCanvas::PopClip() {
  if (!layers_.empty() && layers_.back() != Layer::Opacity) PopLayer();
}

void CairoCanvas::PushTransform(const Matrix& matrix) {
  transforms_.push_back(SavedTransform{current_, translation_, collapsed_});
  const cairo_matrix_t applied = ToCairo(matrix);
  cairo_matrix_t result;
  cairo_matrix_multiply(&result, &applied, &current_);
  current_ = result;
  translation_.x += matrix.dx;
  translation_.y += matrix.dy;
  // A transform that flattens space (a scale of 0 while something zooms in) or holds NaN would put the
  // Cairo context into a permanent error state and blank the rest of the paint; draw nothing under it
  // instead.
  cairo_matrix_t inverse = current_;
  collapsed_ = collapsed_ || cairo_matrix_invert(&inverse) != CAIRO_STATUS_SUCCESS;
  if (!collapsed_) cairo_set_matrix(cr_, &current_);
}

void CairoCanvas::PopTransform() {
  if (transforms_.empty()) return;
  current_ = transforms_.back().matrix;
  translation_ = transforms_.back().translation;
  collapsed_ = transforms_.back().collapsed;
  transforms_.pop_back();
  if (!collapsed_) cairo_set_matrix(cr_, &current_);
}

void CairoCanvas::PushOpacity(float opacity) {
  cairo_push_group(cr_);
  layers_.push_back(Layer::Opacity);
  opacities_.push_back(std::clamp(opacity, 0.0f, 1.0f));
}

void CairoCanvas::PopOpacity() {
  if (!layers_.empty() && layers_.back() == Layer::Opacity) PopLayer();
}

Rect CairoCanvas::SnapRect(Rect rect) const {
  const float s = scale_;
  auto snapX = [&](float e) { return std::round((e + translation_.x) * s) / s - translation_.x; };
  auto snapY = [&](float e) { return std::round((e + translation_.y) * s) / s - translation_.y; };
  const float left = snapX(rect.x);
  const float top = snapY(rect.y);
  return Rect{left, top, snapX(rect.Right()) - left, snapY(rect.Bottom()) - top};
}

}  // namespace Quarlo::Widget::Detail
