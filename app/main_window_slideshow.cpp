// The slide show: a repeating timer of the frame that pages forward, in list order or in an order shuffled
// anew at every start, looping or ending at the end of the list, optionally in full screen. Its notices show
// whatever the Notices setting says: starting and stopping must never pass unseen.

#include <algorithm>
#include <numeric>
#include <random>

#include "app/frame.h"
#include "app/main_window.h"
#include "core/settings.h"
#include "core/strings.h"
#include "core/trace.h"
#include "widget/widget.h"

namespace App {

using Quarlo::View::Text;

namespace {

constexpr int kSlideshowStarted = 52;
constexpr int kSlideshowStopped = 53;
// A slide never stays for less than this many seconds, whatever the settings hold.
constexpr int kMinSlideSeconds = 1;

}  // namespace

void MainWindow::StartSlideshow() {
  if (!HasList() || slideShow_) return;
  slideShow_ = true;
  slideOrder_.clear();
  slidePosition_ = 0;
  if (settings_.slideRandom) {
    slideOrder_.resize(list_.items.size());
    std::iota(slideOrder_.begin(), slideOrder_.end(), size_t{0});
    std::mt19937 generator(std::random_device{}());
    std::shuffle(slideOrder_.begin(), slideOrder_.end(), generator);
  }
  if (settings_.slideFullscreen && !fullScreen_) {
    slideEnteredFullScreen_ = true;
    SetFullScreen(true);
  }
  ArmSlideTimer();
  Notice(Text(kSlideshowStarted));
  Quarlo::View::Trace("slideshow on");
}

void MainWindow::ArmSlideTimer() {
  if (slideTimer_ != 0) chrome_.frame->CancelTimer(slideTimer_);
  const double seconds = std::max(settings_.slideSeconds, kMinSlideSeconds);
  slideTimer_ = chrome_.frame->StartTimer(
      seconds, [this] { SlideshowTick(); }, true);
}

void MainWindow::StopSlideshow() {
  if (!slideShow_) return;
  slideShow_ = false;
  if (slideTimer_ != 0) chrome_.frame->CancelTimer(slideTimer_);
  slideTimer_ = 0;
  if (slideEnteredFullScreen_) {
    slideEnteredFullScreen_ = false;
    SetFullScreen(false);
  }
  Notice(Text(kSlideshowStopped));
  Quarlo::View::Trace("slideshow off");
}

void MainWindow::SlideshowTick() {
  if (!HasList()) {
    StopSlideshow();
    return;
  }
  if (slideOrder_.empty()) {
    // At the end of the list this reaches EndReached, which loops or ends the show.
    Navigate(+1, false);
    return;
  }
  ++slidePosition_;
  if (slidePosition_ >= slideOrder_.size()) {
    if (!settings_.slideLoop) {
      StopSlideshow();
      return;
    }
    slidePosition_ = 0;
  }
  // GoTo clamps, so an order made for a longer list stays safe after pictures were removed.
  GoTo(slideOrder_[slidePosition_], false);
}

}  // namespace App
