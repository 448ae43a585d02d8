#include "views/zoom_model.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace App {

using Quarlo::Widget::Point;
using Quarlo::Widget::Rect;
using Quarlo::Widget::Size;

namespace {

// 0.3333 and 0.6667 are the steps users see as 33% and 67%, not exact thirds.
constexpr std::array<double, 23> kZoomSteps = {0.02, 0.05, 0.1,  0.25, 0.3333, 0.5,  0.6667, 0.75,
                                               1.0,  1.25, 1.5,  2.0,  3.0,    4.0,  5.0,    6.0,
                                               8.0,  10.0, 12.0, 16.0, 20.0,   24.0, 32.0};

// Content that overflows the viewport by half a DIP or less is treated as fitting, so rounding
// never produces a pan range nobody can see.
constexpr double kPanSlack = 0.5;

// Smallest pan change that counts as a move (and so as a repaint).
constexpr double kMoveEpsilon = 1e-6;

// A size the geometry can work with: negative and not-a-number become 0.
double Dimension(double value) { return std::isfinite(value) && value > 0 ? value : 0.0; }

bool Positive(double value) { return std::isfinite(value) && value > 0; }

struct Quarter {
  int r11, r12, r21, r22;
};

// Quarter turns clockwise in screen coordinates (y grows downwards).
constexpr std::array<Quarter, 4> kQuarterTurns = {Quarter{1, 0, 0, 1}, Quarter{0, -1, 1, 0},
                                                  Quarter{-1, 0, 0, -1}, Quarter{0, 1, -1, 0}};

Rect BoundingBox(const std::array<Point, 4>& corners) {
  float left = corners[0].x, top = corners[0].y, right = left, bottom = top;
  for (const Point& p : corners) {
    left = std::min(left, p.x);
    top = std::min(top, p.y);
    right = std::max(right, p.x);
    bottom = std::max(bottom, p.y);
  }
  return {left, top, right - left, bottom - top};
}

std::array<Point, 4> Corners(const Rect& r) {
  return {Point{r.x, r.y}, Point{r.Right(), r.y}, Point{r.x, r.Bottom()}, Point{r.Right(), r.Bottom()}};
}

}  // namespace

double ClampZoom(double zoom) {
  if (std::isnan(zoom)) return 1.0;
  return std::clamp(zoom, kMinZoom, kMaxZoom);
}

double ComputeFitZoom(FitMode mode, double contentWidth, double contentHeight, double viewportWidth,
                      double viewportHeight) {
  if (!Positive(contentWidth) || !Positive(contentHeight) || !Positive(viewportWidth) ||
      !Positive(viewportHeight)) {
    return 1.0;
  }
  double rx = viewportWidth / contentWidth;
  double ry = viewportHeight / contentHeight;
  switch (mode) {
    case FitMode::Fit:
      return ClampZoom(std::min({rx, ry, 1.0}));
    case FitMode::Fill:
      return ClampZoom(std::min(rx, ry));
    case FitMode::FitWidth:
      return ClampZoom(rx);
    case FitMode::FitHeight:
      return ClampZoom(ry);
    case FitMode::ActualSize:
      break;
  }
  return 1.0;
}

double NextZoomStep(double zoom) {
  for (double step : kZoomSteps) {
    if (step > zoom * 1.001) return step;
  }
  return kMaxZoom;
}

double PreviousZoomStep(double zoom) {
  for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it) {
    if (*it < zoom * 0.999) return *it;
  }
  return kMinZoom;
}

int ZoomPercent(double zoom) {
  // The webtoon strip's effective zoom is not limited to the preset range, so only guard the
  // conversion itself.
  if (!std::isfinite(zoom)) return 100;
  return static_cast<int>(std::lround(std::clamp(zoom, 0.0, 1e6) * 100.0));
}

Point ViewMatrix::Map(Point p) const {
  return {static_cast<float>(m11 * p.x + m21 * p.y + dx), static_cast<float>(m12 * p.x + m22 * p.y + dy)};
}

Point ViewMatrix::MapBack(Point p) const {
  double det = m11 * m22 - m12 * m21;
  if (det == 0 || !std::isfinite(det)) return p;
  double px = p.x - dx;
  double py = p.y - dy;
  return {static_cast<float>((px * m22 - py * m21) / det), static_cast<float>((py * m11 - px * m12) / det)};
}

Rect ViewMatrix::MapRect(const Rect& r) const {
  std::array<Point, 4> corners = Corners(r);
  for (Point& p : corners) p = Map(p);
  return BoundingBox(corners);
}

Rect ViewMatrix::MapRectBack(const Rect& r) const {
  std::array<Point, 4> corners = Corners(r);
  for (Point& p : corners) p = MapBack(p);
  return BoundingBox(corners);
}

double ZoomModel::RotatedWidth() const { return rotation_ % 2 == 0 ? contentWidth_ : contentHeight_; }

double ZoomModel::RotatedHeight() const { return rotation_ % 2 == 0 ? contentHeight_ : contentWidth_; }

bool ZoomModel::CanPanX() const {
  return HasContent() && RotatedWidth() * DipsPerPixel() > viewport_.width + kPanSlack;
}

bool ZoomModel::CanPanY() const {
  return HasContent() && RotatedHeight() * DipsPerPixel() > viewport_.height + kPanSlack;
}

void ZoomModel::SetContent(Size content, bool reset, bool startAtEnd, bool startFromRight) {
  contentWidth_ = Dimension(content.width);
  contentHeight_ = Dimension(content.height);
  startFromRight_ = startFromRight;
  if (reset) {
    rotation_ = 0;
    flipHorizontal_ = flipVertical_ = false;
    // With the lock on, a zoom the user chose carries over; a fitted zoom is refitted.
    if (!(zoomLocked_ && zoomIsManual_)) Refit();
    ResetPosition(startAtEnd);
  } else if (zoomIsManual_) {
    ClampPan();
  } else {
    Refit();
  }
}

bool ZoomModel::ViewportResized(Size viewport) {
  Size size{static_cast<float>(Dimension(viewport.width)), static_cast<float>(Dimension(viewport.height))};
  if (size == viewport_) return false;
  viewport_ = size;
  if (zoomIsManual_) {
    ClampPan();
  } else {
    Refit();
  }
  return true;
}

void ZoomModel::SetDpiScale(double dpiScale) {
  double scale = Positive(dpiScale) ? dpiScale : 1.0;
  if (scale == dpiScale_) return;
  dpiScale_ = scale;
  if (zoomIsManual_) {
    ClampPan();
  } else {
    Refit();
  }
}

void ZoomModel::SetFitMode(FitMode mode) {
  fitMode_ = mode;
  Refit();
  ResetPosition(false);
}

void ZoomModel::Refit() {
  zoomIsManual_ = false;
  zoom_ = ComputeFitZoom(fitMode_, RotatedWidth(), RotatedHeight(), viewport_.width * dpiScale_,
                         viewport_.height * dpiScale_);
  ClampPan();
}

void ZoomModel::ResetPosition(bool startAtEnd) {
  double a = DipsPerPixel();
  double wr = RotatedWidth();
  double hr = RotatedHeight();
  double halfW = viewport_.width / (2 * a);
  double halfH = viewport_.height / (2 * a);
  panX_ = wr / 2;
  panY_ = hr / 2;
  if (CanPanY()) panY_ = startAtEnd ? hr - halfH : halfH;
  if (CanPanX()) panX_ = startFromRight_ ? wr - halfW : halfW;
  ClampPan();
}

void ZoomModel::ClampPan() {
  double a = DipsPerPixel();
  auto clampAxis = [](double pan, double half, double extent) {
    if (2 * half >= extent) return extent / 2;
    if (pan > extent - half) return extent - half;
    if (pan < half) return half;
    return pan;
  };
  panX_ = clampAxis(panX_, viewport_.width / (2 * a), RotatedWidth());
  panY_ = clampAxis(panY_, viewport_.height / (2 * a), RotatedHeight());
}

bool ZoomModel::ZoomStep(int direction, std::optional<Point> anchor) {
  if (!HasContent()) return false;
  return SetZoom(direction > 0 ? NextZoomStep(zoom_) : PreviousZoomStep(zoom_), anchor);
}

bool ZoomModel::SetZoom(double zoom, std::optional<Point> anchor) {
  if (!HasContent()) return false;
  double z = ClampZoom(zoom);
  double z0 = zoom_;
  zoomIsManual_ = true;
  zoom_ = z;
  Point at = anchor.value_or(Point{viewport_.width / 2, viewport_.height / 2});
  double ox = at.x - viewport_.width / 2.0;
  double oy = at.y - viewport_.height / 2.0;
  // The content point under the anchor was pan + offset / oldScale; keep it there at the new scale.
  panX_ += ox / (z0 / dpiScale_) - ox / (z / dpiScale_);
  panY_ += oy / (z0 / dpiScale_) - oy / (z / dpiScale_);
  ClampPan();
  return true;
}

bool ZoomModel::ScrollBy(double dx, double dy) {
  if (!HasContent()) return false;
  double oldX = panX_;
  double oldY = panY_;
  double a = DipsPerPixel();
  if (std::isfinite(dx)) panX_ += dx / a;
  if (std::isfinite(dy)) panY_ += dy / a;
  ClampPan();
  return std::abs(panX_ - oldX) > kMoveEpsilon || std::abs(panY_ - oldY) > kMoveEpsilon;
}

void ZoomModel::Rotate(int step) {
  rotation_ = ((rotation_ + step) % 4 + 4) % 4;
  if (!zoomIsManual_) Refit();
  ResetPosition(false);
}

void ZoomModel::ToggleFitAndActualSize(Point anchor) {
  double fit = ComputeFitZoom(FitMode::Fit, RotatedWidth(), RotatedHeight(), viewport_.width * dpiScale_,
                              viewport_.height * dpiScale_);
  if (std::abs(zoom_ - 1.0) < 0.001 && std::abs(fit - 1.0) > 0.001) {
    SetFitMode(FitMode::Fit);
  } else {
    SetZoom(1.0, anchor);
  }
}

ViewMatrix ZoomModel::ViewTransform() const {
  double a = DipsPerPixel();
  double sx = flipHorizontal_ ? -1 : 1;
  double sy = flipVertical_ ? -1 : 1;
  const Quarter& r = kQuarterTurns[rotation_];
  ViewMatrix m;
  m.m11 = a * sx * r.r11;
  m.m21 = a * sx * r.r12;
  m.m12 = a * sy * r.r21;
  m.m22 = a * sy * r.r22;
  // The content centre lands where the pan puts the centre of the shown content.
  double cx = contentWidth_ / 2;
  double cy = contentHeight_ / 2;
  double targetX = viewport_.width / 2.0 + (RotatedWidth() / 2 - panX_) * a;
  double targetY = viewport_.height / 2.0 + (RotatedHeight() / 2 - panY_) * a;
  m.dx = targetX - (m.m11 * cx + m.m21 * cy);
  m.dy = targetY - (m.m12 * cx + m.m22 * cy);
  return m;
}

Rect ZoomModel::VisibleContent() const {
  return ViewTransform().MapRectBack(Rect{0, 0, viewport_.width, viewport_.height});
}

}  // namespace App
