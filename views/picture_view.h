#pragma once
// The widget that shows the current picture, or the two pictures of a spread, in single-page and
// two-page mode. It owns the zoom model and the page placements, paints the background, a
// checkerboard behind transparent pages and the pictures' tiles, plays animations on its own frame
// clock, pans by dragging, shows "Loading" when pictures take long, and hands the wheel, clicks and
// context-menu requests to the controller, which decides what they mean.
//
// User-interface thread only. The pictures are shared, immutable records; the view's pointers keep
// their pixels alive while they are shown.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/loaded_picture.h"
#include "views/page_layout.h"
#include "views/page_painter.h"
#include "views/view_appearance.h"
#include "views/view_input.h"
#include "views/zoom_model.h"
#include "widget/canvas.h"
#include "widget/input/events.h"
#include "widget/widget.h"

namespace App {

enum class FlipAxis : int32_t { Horizontal = 0, Vertical = 1 };

// The loading placeholder appears when pictures are still missing this long after they were asked for.
inline constexpr double kLoadingDelaySeconds = 0.35;
// Frames are shown at least this long, and the frame clock never ticks faster.
inline constexpr double kMinFrameSeconds = 0.02;
class PictureView : public PointerView {
 public:
  // Asked when the loading delay has passed: whether the placeholder may be shown now (the controller
  // refuses while the image list is shown or in webtoon mode). Without one it is always shown.
  using LoadingPermission = std::function<bool()>;

  PictureView() = default;
  ~PictureView() override;

  // --- Widget ---
  Quarlo::Widget::CursorKind Cursor() const override;
  const char* ClassName() const override { return "PictureView"; }
  bool OnPointerMove(const Quarlo::Widget::PointerEvent& event) override;
  void ArrangeOverride(Quarlo::Widget::Size final) override;
  void Paint(Quarlo::Widget::Canvas& canvas) override;
  void OnScaleChanged() override;
  void OnAttached() override;
  void OnDetached() override;

  // --- Pages (called by the controller when it shows a spread) ---

  // Shows the pictures (left-to-right screen order) that are present, decoded without error, with a
  // frame and a size; the others are skipped. gap is in content pixels between pages. reset: another
  // picture or spread (rotation and flips clear, the zoom is refitted unless the zoom lock keeps it,
  // the start position is taken: the bottom edge with startAtEnd, the right edge with startFromRight).
  // Cancels the loading placeholder; restarts animations from their first frames.
  void SetPages(std::vector<PicturePtr> pages, float gap, bool reset, bool startAtEnd, bool startFromRight);
  // Empties the view: no pages, no bitmaps, no animation, no placeholder.
  void Clear();
  // Pictures of the next spread are not decoded yet: the shown pages stay, and the "Loading"
  // placeholder replaces them when they are still missing after kLoadingDelaySeconds (one timer at a
  // time). SetPages and Clear cancel it.
  void ShowLoadingAfterDelay();
  bool IsLoadingShown() const { return loadingShown_; }
  bool IsLoadingPending() const;

  // --- Appearance and commands ---

  void SetAppearance(const ViewAppearance& appearance);
  const ViewAppearance& Appearance() const { return appearance_; }
  // Copy of the ZoomLock setting.
  void SetZoomLocked(bool locked) { zoom_.SetZoomLocked(locked); }
  void SetFitMode(FitMode mode);
  // A quarter turn clockwise (+1) or anticlockwise (-1).
  void Rotate(int step);
  void Flip(FlipAxis axis);
  // One preset step in (direction > 0) or out about an anchor in view DIPs (none: the centre). False
  // without pages.
  bool ZoomStep(int direction, std::optional<Quarlo::Widget::Point> anchor = std::nullopt);
  bool SetZoom(double zoom, std::optional<Quarlo::Widget::Point> anchor = std::nullopt);
  // Pans by DIPs; true when the picture moved.
  bool ScrollBy(double dx, double dy);
  // The double-click "Switch between fit and actual size" about the clicked point.
  void ToggleFitAndActualSize(Quarlo::Widget::Point anchor);
  bool CanPanX() const { return zoom_.CanPanX(); }
  bool CanPanY() const { return zoom_.CanPanY(); }

  // --- Animation ---

  // PlayPause: pausing freezes the current frames; resuming shows each current frame for its full time.
  void SetAnimationPaused(bool paused);
  bool IsAnimationPaused() const { return animationPaused_; }
  // True when some page has more than one frame.
  bool HasAnimation() const;

  // --- Queries ---

  double Zoom() const { return zoom_.Zoom(); }
  FitMode Mode() const { return zoom_.Mode(); }
  bool ZoomIsManual() const { return zoom_.ZoomIsManual(); }
  // The content size as shown (width and height swap after a quarter turn), picture pixels.
  Quarlo::Widget::Size RotatedSize() const;
  const ZoomModel& Model() const { return zoom_; }
  const std::vector<PicturePtr>& Pages() const { return pages_; }
  const std::vector<PagePlacement>& Placements() const { return placements_; }
  // The frame shown for a page (0 for a page that does not exist).
  size_t FrameIndex(size_t page) const { return page < frameIndex_.size() ? frameIndex_[page] : 0; }
  size_t TileBitmapCount() const { return tileBitmaps_.Count(); }

  void SetLoadingPermission(LoadingPermission permission) { loadingPermission_ = std::move(permission); }

 private:
  // The frame clock: the remaining display time (seconds) of each page's current frame, 0 for pages
  // that are not animated, and the tick length chosen when the clock started.
  struct AnimationClock {
    std::vector<double> remaining;
    double tickSeconds = 0;
  };

  void Repaint() { InvalidateVisual(); }
  void StartAnimation();
  void StopAnimation();
  void Tick(AnimationClock& clock);
  double DisplaySeconds(size_t page, size_t frame) const;
  void ReviveLostTimers();
  void CancelLoading();
  void LoadingDue();
  void DropPages();
  void PaintCheckerboards(Quarlo::Widget::Canvas& canvas, bool dark);
  void PaintPages(Quarlo::Widget::Canvas& canvas);
  void PaintLoading(Quarlo::Widget::Canvas& canvas, bool dark);

  LoadingPermission loadingPermission_;
  ViewAppearance appearance_;
  std::vector<PicturePtr> pages_;
  std::vector<PagePlacement> placements_;
  ZoomModel zoom_;
  std::vector<size_t> frameIndex_;
  bool animationPaused_ = false;
  uint64_t animationTimer_ = 0;
  uint64_t loadingTimer_ = 0;
  bool loadingShown_ = false;
  Quarlo::Widget::TextLayout loadingText_;  // made on first paint of the placeholder
  TileBitmaps tileBitmaps_;
};

}  // namespace App
