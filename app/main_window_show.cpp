// Turning the current position into pictures on screen: the spread of the position, what the cache is
// asked to decode around it, waiting while a picture of the spread is not decoded yet, and the message
// panel when none of them can be shown.

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "core/settings.h"
#include "core/strings.h"
#include "core/trace.h"
#include "views/page_layout.h"
#include "views/picture_view.h"
#include "views/webtoon_view.h"

namespace App {

using Quarlo::View::FitMode;
using Quarlo::View::LoadError;
using Quarlo::View::PicturePtr;
using Quarlo::View::Text;
using Quarlo::Widget::Size;

namespace {

constexpr int kCannotShow = 21;
// A fitted side that does not bound the preview (the other side does).
constexpr int32_t kUnboundedSide = std::numeric_limits<int32_t>::max();

// The detail line for the first picture that failed.
int FailureDetail(LoadError error) {
  switch (error) {
    case LoadError::CannotRead:
      return 22;
    case LoadError::NoCodec:
      return 23;
    case LoadError::TooLarge:
      return 25;
    case LoadError::OutOfMemory:
      return 26;
    case LoadError::Encrypted:
      return 27;
    default:
      return 24;
  }
}

bool IsShowable(const PicturePtr& picture) {
  return picture->error == LoadError::None && !picture->frames.empty();
}

}  // namespace

bool MainWindow::Webtoon() const { return settings_.pageMode == PageMode::Webtoon; }

Pagination MainWindow::CurrentPagination() const {
  return Paginate(settings_.pageMode, list_.items.size(), settings_.coverAlone, settings_.wideAlone,
                  [this](size_t index) {
                    const PicturePtr picture = cache_->Get(index);
                    return picture && picture->width > 0 &&
                           IsWideRatio(static_cast<double>(picture->height) / picture->width);
                  });
}

void MainWindow::AskForWanted() {
  if (Webtoon()) {
    cache_->SetWanted(webtoonView_->WantedPictures());
    return;
  }
  const Pagination pagination = CurrentPagination();
  const Spread spread = SpreadOf(pagination, current_);
  cache_->SetWanted(WantedPictures(pagination, current_), spread.count, PreviewFor());
}

// The box a fitted picture of the spread is drawn within, in device pixels: the picture view's, or before
// the window is up the restored window's (known from the settings), which is a little larger. A page of
// two is never drawn larger than it would be alone. Pictures shown at a zoom of their own get no previews:
// they may be shown at full size at once.
Quarlo::View::PreviewBox MainWindow::PreviewFor() const {
  if (settings_.zoomLock && pictureView_->ZoomIsManual()) return {};
  const float scale = pictureView_->ScaleFactor();
  Size box{pictureView_->ActualSize().width * scale, pictureView_->ActualSize().height * scale};
  if (box.width < 1 || box.height < 1) {
    const bool restored = settings_.hasWindow && settings_.windowWidth >= kMinRestoredWidth &&
                          settings_.windowHeight >= kMinRestoredHeight;
    box = restored ? Size{float(settings_.windowWidth), float(settings_.windowHeight)} : kDefaultWindowSize;
  }
  const int32_t width = static_cast<int32_t>(std::ceil(box.width));
  const int32_t height = static_cast<int32_t>(std::ceil(box.height));
  switch (settings_.fitMode) {
    case FitMode::Fit:
      return {width, height};
    case FitMode::FitWidth:
      return {width, kUnboundedSide};
    case FitMode::FitHeight:
      return {kUnboundedSide, height};
    case FitMode::Fill:
    case FitMode::ActualSize:
      break;
  }
  return {};
}

void MainWindow::GoTo(size_t index, bool startAtEnd) {
  if (!HasList()) return;
  index = std::min(index, list_.items.size() - 1);
  HideEndCard();
  current_ = settings_.pageMode == PageMode::TwoPages ? LandingIndex(CurrentPagination(), index) : index;
  if (!Webtoon()) {
    ShowCurrent(true, startAtEnd);
    return;
  }
  waiting_ = false;
  webtoonView_->ScrollToIndex(current_, false);
  RefreshChrome();
  AskForWanted();
  if (infoShown_) RefreshInfoPanel();
  TraceShow(false);
}

void MainWindow::ShowCurrent(bool reset, bool startAtEnd) {
  if (!HasList()) return;
  AskForWanted();
  UpdateTitle();
  std::optional<std::vector<PicturePtr>> pictures = SpreadPictures();
  if (!pictures) {
    waiting_ = true;
    pendingReset_ = pendingReset_ || reset;
    pendingAtEnd_ = startAtEnd;
    pictureView_->ShowLoadingAfterDelay();
    // The panel names the picture being waited for, not the one before it, with what is known so far.
    if (infoShown_) RefreshInfoPanel();
    return;
  }
  waiting_ = false;
  Present(std::move(*pictures), reset, startAtEnd);
  TraceShow(messageShown_);
}

std::optional<std::vector<PicturePtr>> MainWindow::SpreadPictures() const {
  const Spread spread = SpreadOf(CurrentPagination(), current_);
  std::vector<PicturePtr> pictures;
  for (size_t i = spread.first; i < spread.first + spread.count; ++i) {
    PicturePtr picture = cache_->Get(i);
    if (!picture) return std::nullopt;
    pictures.push_back(std::move(picture));
  }
  return pictures;
}

void MainWindow::Present(std::vector<PicturePtr> pictures, bool reset, bool startAtEnd) {
  std::vector<PicturePtr> kept;
  std::copy_if(pictures.begin(), pictures.end(), std::back_inserter(kept), IsShowable);
  if (kept.empty()) {
    pictureView_->Clear();
    ShowMessage(Text(kCannotShow), Text(FailureDetail(pictures.front()->error)));
  } else {
    messageShown_ = false;
    if (settings_.pageMode == PageMode::TwoPages && settings_.rightToLeft)
      std::reverse(kept.begin(), kept.end());
    pictureView_->SetPages(std::move(kept), static_cast<float>(settings_.pageGap), reset, startAtEnd, false);
  }
  pendingReset_ = false;
  pendingAtEnd_ = false;
  RefreshChrome();
  if (infoShown_) RefreshInfoPanel();
}

void MainWindow::TraceShow(bool failed) const {
  Quarlo::View::Trace("show " + std::to_string(current_ + 1) + "/" + std::to_string(list_.items.size()) +
                      " " + CurrentName() + (failed ? " failed" : ""));
}

void MainWindow::OnPicturesFinished() {
  const Quarlo::View::PictureCache::Finished finished = cache_->TakeFinished();
  DeliverThumbnails(finished.thumbnails);
  if (!HasList() || finished.pictures.empty()) return;
  if (Webtoon()) {
    // Decoded pictures bring their true shapes: the strip lays them out again and draws them.
    webtoonView_->Relayout();
    const bool currentFinished =
        std::find(finished.pictures.begin(), finished.pictures.end(), current_) != finished.pictures.end();
    if (infoShown_ && currentFinished) RefreshInfoPanel();
  } else if (waiting_) {
    ShowCurrent(pendingReset_, pendingAtEnd_);
  } else if (!messageShown_ && ShowsAnyOf(finished.pictures)) {
    // A full picture replaced the preview on screen: drawn in its place with the zoom, position and turn
    // kept, so the change shows only as sharper pixels; the position did not change, so no show line.
    if (std::optional<std::vector<PicturePtr>> pictures = SpreadPictures())
      Present(std::move(*pictures), false, false);
  }
}

bool MainWindow::ShowsAnyOf(const std::vector<size_t>& indices) const {
  const Spread spread = SpreadOf(CurrentPagination(), current_);
  return std::any_of(indices.begin(), indices.end(), [&](size_t index) {
    return index >= spread.first && index < spread.first + spread.count;
  });
}

void MainWindow::OnStripChanged() {
  if (!HasList() || !Webtoon()) return;
  const size_t focus = webtoonView_->FocusIndex();
  if (focus != current_ && focus < list_.items.size()) {
    current_ = focus;
    UpdateTitle();
    if (infoShown_) RefreshInfoPanel();
  }
  AskForWanted();
}

}  // namespace App
