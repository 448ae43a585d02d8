#pragma once
// The webtoon strip: every picture of the list as one continuous vertical strip, the way long comics
// are read. The layout comes from known or assumed ratios without decoding; painting visits only the
// pictures that intersect the window; the strip scrolls by wheel, keys and dragging, zooms its width in
// fixed ratios, and reports its position so that the controller can make the picture one third down
// the window current and ask the cache for the pictures around the viewport. No rotation, flips or
// animation: every picture shows its first frame.
//
// Units: the strip is laid out in strip units, 1000 per picture width; the vertical scroll position
// is kept in strip units (a change of width or zoom keeps the same part of the same picture at the
// top), the horizontal one in DIPs. User-interface thread only.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/loaded_picture.h"
#include "views/page_painter.h"
#include "views/strip_layout.h"
#include "views/view_appearance.h"
#include "views/view_input.h"
#include "views/zoom_model.h"
#include "widget/canvas.h"
#include "widget/input/events.h"
#include "widget/widget.h"

namespace App {

// Indices [first, end) of the list.
struct IndexRange {
  size_t first = 0;
  size_t end = 0;
  bool Empty() const { return end <= first; }
  friend bool operator==(const IndexRange&, const IndexRange&) = default;
};

// The strip is never made narrower than this (DIPs), nor wider than this many window widths.
inline constexpr double kMinStripWidth = 120;
inline constexpr double kMaxStripWidthInWindows = 4;
inline constexpr double kStripZoomIn = 1.25;
inline constexpr double kStripZoomOut = 0.8;
// Pictures kept decoded and drawable beyond the visible ones: this many above, this many below.
inline constexpr size_t kWantedBefore = 2;
inline constexpr size_t kWantedAfter = 3;
// The icon shown over a picture that could not be decoded.
inline constexpr char32_t kErrorGlyph = 0xEA39;
inline constexpr float kErrorGlyphSize = 32;

class WebtoonView : public PointerView {
 public:
  // The number of pictures in the list.
  using CountSource = std::function<size_t()>;
  // The decoded picture of an index if the cache holds it, else null; never starts a decode.
  using PictureSource = std::function<PicturePtr(size_t index)>;

  WebtoonView() = default;
  ~WebtoonView() override = default;

  // --- Widget ---
  Quarlo::Widget::CursorKind Cursor() const override;
  const char* ClassName() const override { return "WebtoonView"; }
  bool OnPointerMove(const Quarlo::Widget::PointerEvent& event) override;
  void ArrangeOverride(Quarlo::Widget::Size final) override;
  void Paint(Quarlo::Widget::Canvas& canvas) override;

  // --- Operations (called by the controller) ---

  // New sources (another list): zoom 1, scrolled to the top, natural width forgotten, then laid out.
  void SetSources(CountSource count, PictureSource picture, RatioSource ratio);
  // Another folder or archive was opened: as SetSources with the same sources.
  void ResetStrip();
  // Lays the list out again (sizes became known, the list changed); the point at the top edge stays.
  void Relayout();
  // The PageGap setting, in strip units.
  void SetGap(float gap);
  void SetAppearance(const ViewAppearance& appearance);
  const ViewAppearance& Appearance() const { return appearance_; }
  // How the strip width follows the window; resets the zoom, keeps the centre.
  void SetWidthMode(FitMode mode);
  // Widens (direction > 0) or narrows the strip by a fixed ratio, within its limits.
  void ZoomStrip(int direction);
  // Scrolls by DIPs; true when the strip moved.
  bool ScrollBy(double dx, double dy);
  // Shows a picture's top (its bottom with alignBottom) at the window's edge; ignored past the end.
  void ScrollToIndex(size_t index, bool alignBottom);

  // --- Position ---

  // The picture one third down the window: the controller makes it current.
  size_t FocusIndex() const;
  // The pictures intersecting the window.
  IndexRange VisibleRange() const;
  // The visible range widened by kWantedBefore and kWantedAfter pictures: what should be decoded.
  IndexRange WantedRange() const;
  // The wanted pictures, the focus first and then outwards, in the order to ask the cache for them.
  std::vector<size_t> WantedPictures() const;
  // Device pixels per picture pixel of the focus picture, for "{0}%" texts.
  double EffectiveZoom() const;

  // --- Queries ---

  FitMode WidthMode() const { return widthMode_; }
  double StripZoom() const { return zoom_; }
  double ScrollY() const { return scrollY_; }
  double ScrollX() const { return scrollX_; }
  double NaturalWidth() const { return naturalWidth_; }
  // DIPs per strip unit before the zoom, and with it (never below 0.0001).
  double StripScale() const;
  double UnitScale() const;
  // The strip's width on screen, DIPs.
  double StripWidth() const { return kStripUnitWidth * UnitScale(); }
  const StripLayout& Layout() const { return layout_; }
  size_t TileBitmapCount() const { return tileBitmaps_.Count(); }

 private:
  size_t Count() const { return layout_.Count(); }
  double DpiScale() const { return ScaleFactor(); }
  float ViewportWidth() const { return viewport_.width; }
  float ViewportHeight() const { return viewport_.height; }
  void ResetPosition();
  void ClampScroll();
  void KeepCentre(double oldScale);
  void UpdateNaturalWidth();
  // A decoded picture at an index that can be drawn, or null.
  PicturePtr Drawable(size_t index) const;
  void PaintPicture(Quarlo::Widget::Canvas& canvas, size_t index, double x0, bool dark);

  ViewAppearance appearance_;
  CountSource countSource_;
  PictureSource pictureSource_;
  RatioSource ratioSource_;
  StripLayout layout_;
  FitMode widthMode_ = FitMode::FitWidth;
  double zoom_ = 1.0;
  double scrollY_ = 0;
  double scrollX_ = 0;
  float gap_ = 0;
  double naturalWidth_ = 0;
  Quarlo::Widget::Size viewport_;
  TileBitmaps tileBitmaps_;
};

}  // namespace App
