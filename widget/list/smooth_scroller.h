#pragma once
// The glide of a scroll position towards its target: each tick closes the gap exponentially (time
// constant 70 ms) and snaps once it is within a quarter DIP. Time comes in as milliseconds from the caller
// (the host's animator clock), so tests drive it by hand.

namespace Quarlo::Widget::List {

class SmoothScroller {
 public:
  static constexpr double kTimeConstantMs = 70;
  static constexpr double kSnapDistance = 0.25;

  // Moves at once and stops any glide.
  void Jump(double position);
  void JumpBy(double delta) { Jump(current_ + delta); }
  // Starts (or redirects) a glide towards position; a glide already running keeps its time base.
  void AnimateTo(double position, double nowMs);
  // Glides by delta from where a running glide is heading, else from the current position, so that
  // quick wheel notches add up.
  void AnimateBy(double delta, double nowMs);
  // The range changed: both positions are clamped into [0, max].
  void SetMax(double max);
  // Advances the glide to nowMs and returns the position to show.
  double Tick(double nowMs);

  double Current() const { return current_; }
  double Target() const { return target_; }
  double Max() const { return maxOffset_; }
  bool IsAnimating() const { return animating_; }

 private:
  double Clamp(double position) const;

  double maxOffset_ = 0;
  double current_ = 0;
  double target_ = 0;
  double lastTimeMs_ = 0;
  bool animating_ = false;
};

}  // namespace Quarlo::Widget::List
