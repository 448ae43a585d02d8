// SmoothScroller: exponential approach of the scroll position to its target.

#include "widget/list/smooth_scroller.h"

#include <algorithm>
#include <cmath>

namespace Quarlo::Widget::List {

double SmoothScroller::Clamp(double position) const {
  return std::isnan(position) ? current_ : std::clamp(position, 0.0, maxOffset_);
}

void SmoothScroller::Jump(double position) {
  current_ = target_ = Clamp(position);
  animating_ = false;
}

void SmoothScroller::AnimateTo(double position, double nowMs) {
  if (!animating_) {
    lastTimeMs_ = nowMs;
  }
  target_ = Clamp(position);
  animating_ = target_ != current_;
}

void SmoothScroller::AnimateBy(double delta, double nowMs) {
  AnimateTo(delta + (animating_ ? target_ : current_), nowMs);
}

void SmoothScroller::SetMax(double max) {
  maxOffset_ = std::isnan(max) ? 0 : std::max(max, 0.0);
  current_ = Clamp(current_);
  target_ = Clamp(target_);
  if (!animating_) {
    target_ = current_;
  }
}

double SmoothScroller::Tick(double nowMs) {
  if (!animating_) {
    return current_;
  }
  double dt = std::max(nowMs - lastTimeMs_, 0.0);
  lastTimeMs_ = std::max(lastTimeMs_, nowMs);
  if (dt == 0) {
    return current_;
  }
  current_ = target_ - std::exp(-dt / kTimeConstantMs) * (target_ - current_);
  if (std::abs(target_ - current_) <= kSnapDistance) {
    current_ = target_;
    animating_ = false;
  }
  return current_;
}

}  // namespace Quarlo::Widget::List
