#pragma once
// Time-based value animations of one host, advanced once per frame, and the animated members widgets
// hold. Time comes from an injectable clock (seconds), which the host's timers share.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "widget/color.h"
#include "widget/widget.h"

namespace Quarlo::Widget {

enum class Easing : int32_t { Linear = 0, EaseOutQuad = 1, EaseOutCubic = 2, EaseInOutCubic = 3 };

// The eased progress for t (clamped to 0..1); unknown easings are linear.
float Ease(Easing easing, float t);

// Seconds on the monotonic high-resolution clock.
double SteadyClockSeconds();

class Animator {
 public:
  using Clock = std::function<double()>;

  struct Entry {
    int64_t id = 0;
    float from = 0;
    float to = 0;
    double duration = 0;
    Easing easing = Easing::Linear;
    double start = 0;
    bool repeat = false;
    bool done = false;
    std::function<void(float)> onTick;
    std::function<void()> onDone;
  };

  explicit Animator(Clock clock = SteadyClockSeconds);
  Animator(const Animator&) = delete;
  Animator& operator=(const Animator&) = delete;

  // Tests replace the clock to advance time by hand.
  void SetClock(Clock clock) { clock_ = std::move(clock); }
  // The host asks for a repaint when the first entry of an empty list is added.
  void SetOnActivated(std::function<void()> onActivated) { onActivated_ = std::move(onActivated); }

  // Schedules from → to over duration; a zero duration (without repeat) ticks `to` and finishes at once and
  // returns 0. Repeating entries wrap around every duration until cancelled.
  int64_t Start(float from, float to, double duration, Easing easing, std::function<void(float)> onTick,
                std::function<void()> onDone = {}, bool repeat = false);
  // Stops an entry without calling it again; 0 is ignored.
  void Cancel(int64_t id);
  // Advances every entry to now; called by the host before each layout. True while entries remain.
  bool Tick(double now);
  bool Tick() { return Tick(Now()); }
  bool HasActive() const;
  // Jumps every finite entry to its end (before rendering a window into a picture).
  void FinishAll();
  double Now() const { return clock_ ? clock_() : 0; }
  size_t EntryCount() const { return entries_.size(); }

 private:
  void RemoveDone();

  std::vector<std::shared_ptr<Entry>> entries_;
  Clock clock_;
  int64_t nextId_ = 1;
  std::function<void()> onActivated_;
  bool ticking_ = false;
};

// A float member of a widget that animates on its host's animator and repaints the widget as it changes.
class AnimatedValue final : public AnimatedMember {
 public:
  AnimatedValue(Widget* owner, float initial);
  ~AnimatedValue();
  AnimatedValue(const AnimatedValue&) = delete;
  AnimatedValue& operator=(const AnimatedValue&) = delete;

  // Animates towards target; without a host, with no time or when already there, sets it at once.
  void AnimateTo(float target, double seconds, Easing easing = Easing::EaseOutCubic);
  void Set(float value);
  float Value() const { return value_; }
  bool IsAnimating() const { return entryId_ != 0; }
  void CancelAnimation() override;

 private:
  Widget* owner_;
  float value_;
  Animator* animator_ = nullptr;
  int64_t entryId_ = 0;
};

// A colour member of a widget that fades between colours (ease-out cubic).
class AnimatedColor final : public AnimatedMember {
 public:
  explicit AnimatedColor(Widget* owner);
  ~AnimatedColor();
  AnimatedColor(const AnimatedColor&) = delete;
  AnimatedColor& operator=(const AnimatedColor&) = delete;

  // Fades to target; fading from or to transparency keeps the visible colour's hue.
  void AnimateTo(Color target, double seconds);
  void Set(Color target) { AnimateTo(target, 0); }
  Color Current() const;
  bool IsAnimating() const { return entryId_ != 0; }
  void CancelAnimation() override;

 private:
  Widget* owner_;
  float progress_ = 1;
  Animator* animator_ = nullptr;
  int64_t entryId_ = 0;
  Color from_;
  Color to_;
};

}  // namespace Quarlo::Widget
