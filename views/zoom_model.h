#pragma once
// How a picture, or the joined box of a two-page spread, is scaled, turned, mirrored and positioned
// inside the picture view's viewport. Pure geometry: the picture view owns one ZoomModel, feeds it
// the content and viewport sizes, forwards commands and input to it, and draws through its transform.
//
// Units: the viewport is in DIPs, the content in picture pixels, and the zoom in device pixels per
// picture pixel, so zoom 1 shows one picture pixel on one screen pixel at any display scaling.

#include <optional>

#include "core/setting_choices.h"
#include "widget/geometry.h"

namespace App {

// The settings record's FitMode: one type from the stored setting to the model.
using Quarlo::View::FitMode;

inline constexpr double kMinZoom = 0.02;
inline constexpr double kMaxZoom = 32.0;

// The zoom limited to [kMinZoom, kMaxZoom]; a value that is not a number gives 1.
double ClampZoom(double zoom);

// The zoom that shows content (w, h picture pixels) in a viewport (W, H device pixels) by the mode,
// clamped. Degenerate sizes (zero, negative or not finite) give 1.
double ComputeFitZoom(FitMode mode, double contentWidth, double contentHeight, double viewportWidth,
                      double viewportHeight);

// The preset step after (before) zoom; a zoom within 0.1% of a step counts as being on it.
double NextZoomStep(double zoom);
double PreviousZoomStep(double zoom);

// Zoom as a whole percentage for "{0}%" texts; halves round away from zero.
int ZoomPercent(double zoom);

// An affine map from content pixels to viewport DIPs, in the row-vector convention of the canvas
// Matrix: x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy.
struct ViewMatrix {
  double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;

  Quarlo::Widget::Point Map(Quarlo::Widget::Point p) const;
  // The content point that lands on a viewport point; the identity for a singular matrix.
  Quarlo::Widget::Point MapBack(Quarlo::Widget::Point p) const;
  // Bounding boxes of the four mapped corners.
  Quarlo::Widget::Rect MapRect(const Quarlo::Widget::Rect& r) const;
  Quarlo::Widget::Rect MapRectBack(const Quarlo::Widget::Rect& r) const;
};

class ZoomModel {
 public:
  // --- Inputs from the picture view ---

  // Called by the picture view whenever its pages are replaced. With reset (another picture or
  // spread) rotation and flips clear, the zoom is refitted unless the zoom lock keeps a manual zoom,
  // and the start position is taken; without reset a manual zoom is only clamped.
  void SetContent(Quarlo::Widget::Size content, bool reset, bool startAtEnd, bool startFromRight);

  // Called from the view's arrange. Returns false when the size did not change (nothing to do).
  bool ViewportResized(Quarlo::Widget::Size viewport);

  // Called when the window's DPI changes (DPI / 96); a fitted zoom is refitted, a manual one kept.
  void SetDpiScale(double dpiScale);

  // Copy of the ZoomLock setting, set by the controller.
  void SetZoomLocked(bool locked) { zoomLocked_ = locked; }

  // --- Commands and input ---

  // The fit commands and opening a source: the zoom follows the mode again, start position.
  void SetFitMode(FitMode mode);
  // Recomputes the fitted zoom for the current mode and clamps the pan.
  void Refit();
  // Shows the content's start: top (bottom when startAtEnd) and left (right with startFromRight).
  void ResetPosition(bool startAtEnd);
  // Zoom in (direction > 0) or out by one preset step about an anchor (viewport DIPs; none: the
  // centre). False without content.
  bool ZoomStep(int direction, std::optional<Quarlo::Widget::Point> anchor = std::nullopt);
  // Sets a manual zoom, keeping the content point under the anchor still. False without content.
  bool SetZoom(double zoom, std::optional<Quarlo::Widget::Point> anchor = std::nullopt);
  // Pans by a distance in DIPs; true when the pan moved (so the view repaints).
  bool ScrollBy(double dx, double dy);
  // A quarter turn clockwise (+1) or anticlockwise (-1).
  void Rotate(int step);
  // Mirrors what is shown left-right or top-bottom, whatever the rotation.
  void FlipHorizontal() { flipHorizontal_ = !flipHorizontal_; }
  void FlipVertical() { flipVertical_ = !flipVertical_; }
  // The double-click "Switch between fit and actual size": from actual size back to Fit (when
  // fitting would change the zoom), otherwise actual size about the clicked point. The FitMode
  // setting is not touched; the caller keeps it.
  void ToggleFitAndActualSize(Quarlo::Widget::Point anchor);

  // --- Queries ---

  bool HasContent() const { return contentWidth_ > 0 && contentHeight_ > 0; }
  bool CanPanX() const;
  bool CanPanY() const;
  double Zoom() const { return zoom_; }
  bool ZoomIsManual() const { return zoomIsManual_; }
  bool ZoomLocked() const { return zoomLocked_; }
  FitMode Mode() const { return fitMode_; }
  int Rotation() const { return rotation_; }
  bool FlippedHorizontally() const { return flipHorizontal_; }
  bool FlippedVertically() const { return flipVertical_; }
  bool StartsFromRight() const { return startFromRight_; }
  double DpiScale() const { return dpiScale_; }
  Quarlo::Widget::Size Viewport() const { return viewport_; }
  // The content point (shown orientation, picture pixels) at the viewport centre.
  double PanX() const { return panX_; }
  double PanY() const { return panY_; }
  // The content size as shown: width and height swap after an odd number of quarter turns.
  double RotatedWidth() const;
  double RotatedHeight() const;

  // Content pixels of the unrotated content box to viewport DIPs, for drawing.
  ViewMatrix ViewTransform() const;
  // The part of the content box the viewport shows (content pixels), for skipping hidden tiles.
  Quarlo::Widget::Rect VisibleContent() const;

 private:
  double DipsPerPixel() const { return zoom_ / dpiScale_; }
  void ClampPan();

  double contentWidth_ = 0;
  double contentHeight_ = 0;
  FitMode fitMode_ = FitMode::Fit;
  bool zoomLocked_ = false;
  bool zoomIsManual_ = false;
  double zoom_ = 1.0;
  double panX_ = 0;
  double panY_ = 0;
  int rotation_ = 0;
  bool flipHorizontal_ = false;
  bool flipVertical_ = false;
  bool startFromRight_ = false;
  double dpiScale_ = 1.0;
  Quarlo::Widget::Size viewport_;
};

}  // namespace App
