#include "views/webtoon_view.h"

#include <algorithm>
#include <cmath>

#include "views/page_layout.h"
#include "widget/theme.h"

namespace App {

using Quarlo::Widget::Canvas;
using Quarlo::Widget::Color;
using Quarlo::Widget::CursorKind;
using Quarlo::Widget::Point;
using Quarlo::Widget::PointerEvent;
using Quarlo::Widget::Rect;
using Quarlo::Widget::Size;

namespace {

// All divisions by the scale use at least this.
constexpr double kMinUnitScale = 0.0001;
// Smallest scroll change that counts as a move.
constexpr double kMoveEpsilon = 1e-6;
// The focus picture is the one this far down the window.
constexpr double kFocusFraction = 1.0 / 3.0;
// Placeholders for pictures not decoded yet, and the error glyph over failed ones.
constexpr Color kPlaceholderOnDark = Color::FromBytes(43, 43, 43);
constexpr Color kPlaceholderOnLight = Color::FromBytes(232, 232, 232);
constexpr Color kGlyphOnDark = Color::FromBytes(154, 154, 154);
constexpr Color kGlyphOnLight = Color::FromBytes(112, 112, 112);

bool Moved(double before, double after) { return std::fabs(after - before) > kMoveEpsilon; }

}  // namespace

// --- Widget ---

CursorKind WebtoonView::Cursor() const { return press_.Dragging() ? CursorKind::SizeAll : CursorKind::Hand; }

bool WebtoonView::OnPointerMove(const PointerEvent& event) {
  if (!press_.LeftPressed()) return false;
  const Point at = event.position;
  // The strip can always be dragged; only the first few DIPs of a press are taken as a click.
  if (!press_.Dragging() && press_.BeyondThreshold(at)) press_.StartDrag();
  if (press_.Dragging()) ScrollBy(press_.Last().x - at.x, press_.Last().y - at.y);
  press_.Moved(at);
  return true;
}

void WebtoonView::ArrangeOverride(Size final) {
  Widget::ArrangeOverride(final);
  const bool resized = final != viewport_;
  viewport_ = final;
  ClampScroll();
  UpdateNaturalWidth();
  if (resized) {
    InvalidateVisual();
    Changed();
  }
}

// --- Operations ---

void WebtoonView::SetSources(CountSource count, PictureSource picture, RatioSource ratio) {
  countSource_ = std::move(count);
  pictureSource_ = std::move(picture);
  ratioSource_ = std::move(ratio);
  ResetStrip();
}

void WebtoonView::ResetStrip() {
  ResetPosition();
  Relayout();
}

void WebtoonView::ResetPosition() {
  zoom_ = 1.0;
  scrollY_ = scrollX_ = 0;
  naturalWidth_ = 0;
  tileBitmaps_.Clear();
}

void WebtoonView::Relayout() {
  const size_t count = countSource_ ? countSource_() : 0;
  const bool anchored = !layout_.Empty();
  const size_t anchor = layout_.IndexAt(scrollY_);
  const double fraction = anchored && layout_.heights[anchor] > 0
                              ? (scrollY_ - layout_.tops[anchor]) / layout_.heights[anchor]
                              : 0;
  layout_ = LayOutStrip(count, ratioSource_, gap_);
  // The same point of the same picture stays at the top edge while other pictures change size.
  if (anchored && anchor < layout_.Count())
    scrollY_ = fraction * layout_.heights[anchor] + layout_.tops[anchor];
  ClampScroll();
  UpdateNaturalWidth();
  InvalidateVisual();
  Changed();
}

void WebtoonView::SetGap(float gap) {
  // Every command applies the settings again; a relayout for nothing costs a held key its pace.
  if (gap == gap_) return;
  gap_ = gap;
  Relayout();
}

void WebtoonView::SetAppearance(const ViewAppearance& appearance) {
  if (appearance == appearance_) return;
  appearance_ = appearance;
  InvalidateVisual();
}

void WebtoonView::SetWidthMode(FitMode mode) {
  const double before = UnitScale();
  zoom_ = 1.0;
  widthMode_ = mode;
  scrollX_ = 0;
  KeepCentre(before);
  ClampScroll();
  InvalidateVisual();
  Changed();
}

void WebtoonView::ZoomStrip(int direction) {
  const double zoom = zoom_ * (direction > 0 ? kStripZoomIn : kStripZoomOut);
  const double width = kStripUnitWidth * StripScale() * zoom;
  if (width < kMinStripWidth || width > kMaxStripWidthInWindows * std::max(ViewportWidth(), 1.0f)) return;
  const double before = UnitScale();
  zoom_ = zoom;
  KeepCentre(before);
  ClampScroll();
  InvalidateVisual();
  Changed();
}

bool WebtoonView::ScrollBy(double dx, double dy) {
  const double y = scrollY_, x = scrollX_;
  scrollY_ += dy / UnitScale();
  scrollX_ += dx;
  ClampScroll();
  if (!Moved(y, scrollY_) && !Moved(x, scrollX_)) return false;
  InvalidateVisual();
  Changed();
  return true;
}

void WebtoonView::ScrollToIndex(size_t index, bool alignBottom) {
  if (index >= Count()) return;
  scrollY_ = alignBottom ? layout_.tops[index] + layout_.heights[index] - ViewportHeight() / UnitScale()
                         : layout_.tops[index];
  ClampScroll();
  UpdateNaturalWidth();
  InvalidateVisual();
  Changed();
}

// --- Geometry ---

double WebtoonView::StripScale() const {
  const double window = std::max(ViewportWidth(), 1.0f);
  const bool known = naturalWidth_ > 0;
  switch (widthMode_) {
    case FitMode::Fit:
    case FitMode::FitHeight:
      return (known ? std::min(naturalWidth_, window) : window) / kStripUnitWidth;
    case FitMode::ActualSize:
      return (known ? naturalWidth_ : window) / kStripUnitWidth;
    case FitMode::Fill:
    case FitMode::FitWidth:
      break;
  }
  return window / kStripUnitWidth;
}

double WebtoonView::UnitScale() const { return std::max(StripScale() * zoom_, kMinUnitScale); }

void WebtoonView::KeepCentre(double oldScale) {
  const double half = ViewportHeight() / 2.0;
  scrollY_ += half / oldScale - half / UnitScale();
}

void WebtoonView::ClampScroll() {
  const double maxY = layout_.totalHeight - ViewportHeight() / UnitScale();
  scrollY_ = !std::isfinite(scrollY_) || scrollY_ < 0 ? 0 : std::min(scrollY_, std::max(maxY, 0.0));
  const double width = StripWidth();
  scrollX_ = ViewportWidth() >= width || !std::isfinite(scrollX_)
                 ? 0
                 : std::clamp(scrollX_, 0.0, width - ViewportWidth());
}

void WebtoonView::UpdateNaturalWidth() {
  if (naturalWidth_ != 0 || !pictureSource_ || layout_.Empty()) return;
  const PicturePtr picture = Drawable(FocusIndex());
  if (!picture) return;
  const double before = UnitScale();
  // One picture pixel on one device pixel in ActualSize.
  naturalWidth_ = picture->width / DpiScale();
  KeepCentre(before);
  ClampScroll();
}

PicturePtr WebtoonView::Drawable(size_t index) const {
  PicturePtr picture = pictureSource_ ? pictureSource_(index) : nullptr;
  if (!picture || picture->error != Quarlo::View::LoadError::None || picture->frames.empty() ||
      picture->width <= 0 || picture->height <= 0) {
    return nullptr;
  }
  return picture;
}

// --- Position ---

size_t WebtoonView::FocusIndex() const {
  return layout_.IndexAt(scrollY_ + ViewportHeight() * kFocusFraction / UnitScale());
}

IndexRange WebtoonView::VisibleRange() const {
  if (layout_.Empty()) return {};
  return {layout_.IndexAt(scrollY_), layout_.IndexAt(scrollY_ + ViewportHeight() / UnitScale()) + 1};
}

IndexRange WebtoonView::WantedRange() const {
  const IndexRange visible = VisibleRange();
  if (visible.Empty()) return {};
  return {visible.first >= kWantedBefore ? visible.first - kWantedBefore : 0,
          std::min(visible.end + kWantedAfter, Count())};
}

std::vector<size_t> WebtoonView::WantedPictures() const {
  const IndexRange wanted = WantedRange();
  if (wanted.Empty()) return {};
  return WantedStripPictures(wanted.first, wanted.end, FocusIndex(), Count());
}

double WebtoonView::EffectiveZoom() const {
  if (!countSource_ || !pictureSource_ || layout_.Empty()) return 1.0;
  const PicturePtr picture = Drawable(std::min(Count() - 1, FocusIndex()));
  const double pictureWidth = picture ? picture->width : kStripUnitWidth;
  return DpiScale() * StripWidth() / pictureWidth;
}

// --- Painting ---

void WebtoonView::Paint(Canvas& canvas) {
  const Color background = BackgroundColorOf(appearance_, GetTheme());
  const bool dark = IsDarkColor(background);
  canvas.FillRect(Rect{0, 0, ViewportWidth(), ViewportHeight()}, background);
  if (layout_.Empty() || !pictureSource_) return;
  const double width = StripWidth();
  const double x0 = ViewportWidth() >= width ? (ViewportWidth() - width) / 2 : -scrollX_;
  const IndexRange visible = VisibleRange();
  for (size_t index = visible.first; index < visible.end && index < Count(); ++index) {
    PaintPicture(canvas, index, x0, dark);
  }
  // Bitmaps of pictures that scrolled out of the wanted range go, so a long strip holds only a few.
  std::vector<PicturePtr> kept;
  const IndexRange wanted = WantedRange();
  for (size_t index = wanted.first; index < wanted.end; ++index) kept.push_back(pictureSource_(index));
  tileBitmaps_.KeepOnly(kept);
}

void WebtoonView::PaintPicture(Canvas& canvas, size_t index, double x0, bool dark) {
  const double scale = UnitScale();
  const Rect view{0, 0, ViewportWidth(), ViewportHeight()};
  const Rect rect{static_cast<float>(x0), static_cast<float>((layout_.tops[index] - scrollY_) * scale),
                  static_cast<float>(StripWidth()), static_cast<float>(layout_.heights[index] * scale)};
  const PicturePtr found = pictureSource_(index);
  const bool failed = found && (found->error != Quarlo::View::LoadError::None || found->frames.empty());
  if (!found || failed) {
    canvas.FillRect(Intersection(rect, view), dark ? kPlaceholderOnDark : kPlaceholderOnLight);
    if (failed) {
      const Rect glyph{rect.x, std::max(0.0f, rect.y), rect.width, std::min(view.height, rect.height)};
      canvas.DrawIcon(kErrorGlyph, glyph, kErrorGlyphSize, dark ? kGlyphOnDark : kGlyphOnLight);
    }
    return;
  }
  if (appearance_.checkerboard && found->hasTransparency)
    FillCheckerboard(canvas, Intersection(rect, view), dark);
  if (found->width <= 0) return;
  DrawPictureFrame(canvas, tileBitmaps_, *found, 0, rect, view,
                   InterpolationFor(DpiScale() * StripWidth() / found->width, appearance_.smooth));
}

}  // namespace App
