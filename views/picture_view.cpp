#include "views/picture_view.h"

#include <algorithm>
#include <cmath>

#include "core/strings.h"
#include "widget/host.h"
#include "widget/theme.h"

namespace App {

using Quarlo::Widget::Canvas;
using Quarlo::Widget::Color;
using Quarlo::Widget::CursorKind;
using Quarlo::Widget::Matrix;
using Quarlo::Widget::Point;
using Quarlo::Widget::PointerEvent;
using Quarlo::Widget::Rect;
using Quarlo::Widget::Size;
using Quarlo::Widget::TextLayout;

namespace {

// A frame whose remaining time is within this of zero is due.
constexpr double kFrameDueEpsilon = 1e-6;
constexpr int kLoadingTextId = 28;  // "Loading"
constexpr float kLoadingTextSize = 16;
constexpr Color kLoadingOnDark = Color::FromBytes(200, 200, 200);
constexpr Color kLoadingOnLight = Color::FromBytes(80, 80, 80);

bool IsShowable(const PicturePtr& picture) {
  return picture && picture->error == Quarlo::View::LoadError::None && !picture->frames.empty() &&
         picture->width > 0 && picture->height > 0;
}

Matrix ToCanvas(const ViewMatrix& m) {
  return Matrix{static_cast<float>(m.m11), static_cast<float>(m.m12), static_cast<float>(m.m21),
                static_cast<float>(m.m22), static_cast<float>(m.dx),  static_cast<float>(m.dy)};
}

Rect PlacementRect(const PagePlacement& placement) {
  return Rect{placement.x, placement.y, placement.width, placement.height};
}

}  // namespace

PictureView::~PictureView() {
  StopAnimation();
  CancelLoading();
}

// --- Widget ---

CursorKind PictureView::Cursor() const {
  if (press_.Dragging()) return CursorKind::SizeAll;
  return CanPanX() || CanPanY() ? CursorKind::Hand : CursorKind::Arrow;
}

bool PictureView::OnPointerMove(const PointerEvent& event) {
  if (!press_.LeftPressed()) return false;
  const Point at = event.position;
  // A picture that cannot pan never starts a drag, so the release still counts as a click.
  if (!press_.Dragging() && press_.BeyondThreshold(at) && (CanPanX() || CanPanY())) press_.StartDrag();
  if (press_.Dragging() && !pages_.empty()) ScrollBy(press_.Last().x - at.x, press_.Last().y - at.y);
  press_.Moved(at);
  return true;
}

void PictureView::ArrangeOverride(Size final) {
  Widget::ArrangeOverride(final);
  if (zoom_.ViewportResized(final)) {
    Repaint();
    Changed();
  }
}

void PictureView::OnScaleChanged() {
  zoom_.SetDpiScale(ScaleFactor());
  loadingText_ = TextLayout();
  Repaint();
  Changed();
}

void PictureView::OnAttached() {
  zoom_.SetDpiScale(ScaleFactor());
  StartAnimation();
}

void PictureView::OnDetached() {
  // The host dropped this widget's timers with it.
  animationTimer_ = 0;
  loadingTimer_ = 0;
}

// --- Pages ---

void PictureView::SetPages(std::vector<PicturePtr> pages, float gap, bool reset, bool startAtEnd,
                           bool startFromRight) {
  CancelLoading();
  loadingShown_ = false;
  pages_.clear();
  for (PicturePtr& picture : pages) {
    if (IsShowable(picture)) pages_.push_back(std::move(picture));
  }
  std::vector<Size> sizes;
  for (const PicturePtr& picture : pages_) {
    sizes.push_back(Size{static_cast<float>(picture->width), static_cast<float>(picture->height)});
  }
  const PageLayout layout = LayOutPages(sizes, gap);
  placements_ = layout.placements;
  tileBitmaps_.KeepOnly(pages_);
  StopAnimation();
  frameIndex_.assign(pages_.size(), 0);
  zoom_.SetContent(layout.content, reset, startAtEnd, startFromRight);
  StartAnimation();
  Repaint();
  Changed();
}

void PictureView::Clear() {
  CancelLoading();
  loadingShown_ = false;
  DropPages();
  Repaint();
  Changed();
}

void PictureView::DropPages() {
  StopAnimation();
  pages_.clear();
  placements_.clear();
  frameIndex_.clear();
  tileBitmaps_.Clear();
  zoom_.SetContent(Size{}, false, false, zoom_.StartsFromRight());
}

void PictureView::ShowLoadingAfterDelay() {
  if (loadingShown_ || IsLoadingPending()) return;
  loadingTimer_ = StartTimer(
      kLoadingDelaySeconds, [this] { LoadingDue(); }, false);
}

bool PictureView::IsLoadingPending() const {
  return loadingTimer_ != 0 && GetHost() != nullptr && GetHost()->HasTimer(loadingTimer_);
}

void PictureView::CancelLoading() {
  if (loadingTimer_ != 0) CancelTimer(loadingTimer_);
  loadingTimer_ = 0;
}

void PictureView::LoadingDue() {
  loadingTimer_ = 0;
  if (loadingPermission_ && !loadingPermission_()) return;
  DropPages();
  loadingShown_ = true;
  loadingText_ = TextLayout();  // laid out again in the language of the moment
  Repaint();
  Changed();
}

// --- Appearance and commands ---

void PictureView::SetAppearance(const ViewAppearance& appearance) {
  // Every command applies the settings again; a repaint for nothing costs a held key its pace.
  if (appearance == appearance_) return;
  appearance_ = appearance;
  Repaint();
}

void PictureView::SetFitMode(FitMode mode) {
  zoom_.SetFitMode(mode);
  Repaint();
  Changed();
}

void PictureView::Rotate(int step) {
  zoom_.Rotate(step);
  Repaint();
  Changed();
}

void PictureView::Flip(FlipAxis axis) {
  if (axis == FlipAxis::Horizontal) {
    zoom_.FlipHorizontal();
  } else {
    zoom_.FlipVertical();
  }
  Repaint();
  Changed();
}

bool PictureView::ZoomStep(int direction, std::optional<Point> anchor) {
  if (!zoom_.ZoomStep(direction, anchor)) return false;
  Repaint();
  Changed();
  return true;
}

bool PictureView::SetZoom(double zoom, std::optional<Point> anchor) {
  if (!zoom_.SetZoom(zoom, anchor)) return false;
  Repaint();
  Changed();
  return true;
}

bool PictureView::ScrollBy(double dx, double dy) {
  if (!zoom_.ScrollBy(dx, dy)) return false;
  Repaint();
  Changed();
  return true;
}

void PictureView::ToggleFitAndActualSize(Point anchor) {
  if (!zoom_.HasContent()) return;
  zoom_.ToggleFitAndActualSize(anchor);
  Repaint();
  Changed();
}

Size PictureView::RotatedSize() const {
  return Size{static_cast<float>(zoom_.RotatedWidth()), static_cast<float>(zoom_.RotatedHeight())};
}

// --- Animation ---

bool PictureView::HasAnimation() const {
  return std::any_of(pages_.begin(), pages_.end(), [](const PicturePtr& p) { return p->frames.size() > 1; });
}

void PictureView::SetAnimationPaused(bool paused) {
  animationPaused_ = paused;
  StopAnimation();
  StartAnimation();
}

double PictureView::DisplaySeconds(size_t page, size_t frame) const {
  const std::vector<Quarlo::View::PictureFrame>& frames = pages_[page]->frames;
  return std::max(frames[frame % frames.size()].delayMs / 1000.0, kMinFrameSeconds);
}

void PictureView::StartAnimation() {
  if (animationPaused_ || pages_.empty() || animationTimer_ != 0 || GetHost() == nullptr) return;
  auto clock = std::make_shared<AnimationClock>();
  clock->remaining.assign(pages_.size(), 0);
  double interval = 0;
  for (size_t page = 0; page < pages_.size(); ++page) {
    if (pages_[page]->frames.size() < 2) continue;
    clock->remaining[page] = DisplaySeconds(page, frameIndex_[page]);
    interval = interval == 0 ? clock->remaining[page] : std::min(interval, clock->remaining[page]);
  }
  if (interval == 0) return;
  clock->tickSeconds = std::max(kMinFrameSeconds, interval);
  animationTimer_ = StartTimer(
      clock->tickSeconds, [this, clock] { Tick(*clock); }, true);
}

void PictureView::StopAnimation() {
  if (animationTimer_ != 0) CancelTimer(animationTimer_);
  animationTimer_ = 0;
}

void PictureView::Tick(AnimationClock& clock) {
  bool changed = false;
  for (size_t page = 0; page < pages_.size() && page < clock.remaining.size(); ++page) {
    const size_t count = pages_[page]->frames.size();
    if (count < 2) continue;
    clock.remaining[page] -= clock.tickSeconds;
    if (clock.remaining[page] > kFrameDueEpsilon) continue;
    frameIndex_[page] = (frameIndex_[page] + 1) % count;
    clock.remaining[page] = DisplaySeconds(page, frameIndex_[page]);
    changed = true;
  }
  if (changed) Repaint();
}

// Hiding the view drops its timers in the host; when it is painted again, a clock that should be
// running starts afresh.
void PictureView::ReviveLostTimers() {
  if (animationTimer_ != 0 && !GetHost()->HasTimer(animationTimer_)) {
    animationTimer_ = 0;
    StartAnimation();
  }
}

// --- Painting ---

void PictureView::Paint(Canvas& canvas) {
  if (GetHost() != nullptr) ReviveLostTimers();
  const Size size = ActualSize();
  const Color background = BackgroundColorOf(appearance_, GetTheme());
  const bool dark = IsDarkColor(background);
  canvas.FillRect(Rect{0, 0, size.width, size.height}, background);
  if (loadingShown_) PaintLoading(canvas, dark);
  if (pages_.empty()) return;
  if (appearance_.checkerboard) PaintCheckerboards(canvas, dark);
  PaintPages(canvas);
}

void PictureView::PaintCheckerboards(Canvas& canvas, bool dark) {
  const ViewMatrix transform = zoom_.ViewTransform();
  const Size size = ActualSize();
  for (const PagePlacement& placement : placements_) {
    if (!pages_[placement.page]->hasTransparency) continue;
    const Rect shown = transform.MapRect(PlacementRect(placement));
    FillCheckerboard(canvas, Intersection(shown, Rect{0, 0, size.width, size.height}), dark);
  }
}

void PictureView::PaintPages(Canvas& canvas) {
  const Rect visible = zoom_.VisibleContent();
  canvas.PushTransform(ToCanvas(zoom_.ViewTransform()));
  for (const PagePlacement& placement : placements_) {
    const LoadedPicture& picture = *pages_[placement.page];
    const size_t frame = std::min(frameIndex_[placement.page], picture.frames.size() - 1);
    DrawPictureFrame(canvas, tileBitmaps_, picture, frame, PlacementRect(placement), visible,
                     InterpolationFor(placement.scale * zoom_.Zoom(), appearance_.smooth));
  }
  canvas.PopTransform();
}

void PictureView::PaintLoading(Canvas& canvas, bool dark) {
  if (!loadingText_) {
    loadingText_ = TextLayout::Create(Quarlo::View::Text(kLoadingTextId),
                                      Quarlo::Widget::TextStyle{"", kLoadingTextSize},
                                      Size{Quarlo::Widget::kUnbounded, Quarlo::Widget::kUnbounded}, {});
  }
  const Size size = ActualSize();
  const Size text = loadingText_.Metrics();
  canvas.DrawText(loadingText_, Point{(size.width - text.width) / 2, (size.height - text.height) / 2},
                  dark ? kLoadingOnDark : kLoadingOnLight);
}

}  // namespace App
