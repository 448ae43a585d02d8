// The animator's entry list and the animated widget members built on it.

#include "widget/animator.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "widget/host.h"

namespace Quarlo::Widget {

float Ease(Easing easing, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  switch (easing) {
    case Easing::EaseOutQuad:
      return 1 - (1 - t) * (1 - t);
    case Easing::EaseOutCubic:
      return 1 - (1 - t) * (1 - t) * (1 - t);
    case Easing::EaseInOutCubic: {
      if (t < 0.5f) return 4 * t * t * t;
      const float u = 2 - 2 * t;
      return 1 - u * u * u / 2;
    }
    case Easing::Linear:
      break;
  }
  return t;
}

double SteadyClockSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

Animator::Animator(Clock clock) : clock_(std::move(clock)) {}

int64_t Animator::Start(float from, float to, double duration, Easing easing,
                        std::function<void(float)> onTick, std::function<void()> onDone, bool repeat) {
  if (duration <= 0 && !repeat) {
    if (onTick) onTick(to);
    if (onDone) onDone();
    return 0;
  }
  auto entry = std::make_shared<Entry>();
  entry->id = nextId_++;
  entry->from = from;
  entry->to = to;
  entry->duration = duration;
  entry->easing = easing;
  entry->start = Now();
  entry->repeat = repeat;
  entry->onTick = std::move(onTick);
  entry->onDone = std::move(onDone);
  const bool wasEmpty = entries_.empty();
  entries_.push_back(entry);
  if (wasEmpty && onActivated_) onActivated_();
  return entry->id;
}

void Animator::Cancel(int64_t id) {
  if (id == 0) return;
  auto found = std::find_if(entries_.begin(), entries_.end(), [id](const auto& e) { return e->id == id; });
  if (found == entries_.end()) return;
  (*found)->done = true;
  if (!ticking_) entries_.erase(found);
}

bool Animator::Tick(double now) {
  const bool wasTicking = ticking_;
  ticking_ = true;
  // A copy, so that callbacks may start and cancel entries.
  const std::vector<std::shared_ptr<Entry>> running = entries_;
  for (const auto& entry : running) {
    if (entry->done) continue;
    double t = entry->duration > 0 ? (now - entry->start) / entry->duration : 1;
    t = std::max(t, 0.0);
    if (entry->repeat) {
      t -= std::floor(t);
    } else if (t >= 1) {
      entry->done = true;
      if (entry->onTick) entry->onTick(entry->to);
      if (entry->onDone) entry->onDone();
      continue;
    }
    if (entry->onTick) {
      entry->onTick(entry->from + (entry->to - entry->from) * Ease(entry->easing, static_cast<float>(t)));
    }
  }
  ticking_ = wasTicking;
  if (!wasTicking) RemoveDone();
  return !entries_.empty();
}

bool Animator::HasActive() const {
  return std::any_of(entries_.begin(), entries_.end(), [](const auto& e) { return !e->done; });
}

void Animator::FinishAll() {
  const std::vector<std::shared_ptr<Entry>> running = entries_;
  for (const auto& entry : running) {
    if (entry->done || entry->repeat) continue;
    entry->done = true;
    if (entry->onTick) entry->onTick(entry->to);
    if (entry->onDone) entry->onDone();
  }
  if (!ticking_) RemoveDone();
}

void Animator::RemoveDone() {
  std::erase_if(entries_, [](const auto& e) { return e->done; });
}

// --- AnimatedValue ---

AnimatedValue::AnimatedValue(Widget* owner, float initial) : owner_(owner), value_(initial) {
  owner_->RegisterAnimation(this);
}

AnimatedValue::~AnimatedValue() {
  CancelAnimation();
  owner_->UnregisterAnimation(this);
}

void AnimatedValue::CancelAnimation() {
  if (entryId_ != 0 && animator_ != nullptr) animator_->Cancel(entryId_);
  entryId_ = 0;
}

void AnimatedValue::AnimateTo(float target, double seconds, Easing easing) {
  CancelAnimation();
  Host* host = owner_->GetHost();
  if (host != nullptr && seconds > 0 && value_ != target) {
    animator_ = &host->GetAnimator();
    entryId_ = animator_->Start(
        value_, target, seconds, easing,
        [this](float value) {
          value_ = value;
          owner_->InvalidateVisual();
        },
        [this] { entryId_ = 0; });
    return;
  }
  value_ = target;
  if (host != nullptr) owner_->InvalidateVisual();
}

void AnimatedValue::Set(float value) {
  CancelAnimation();
  value_ = value;
  if (owner_->GetHost() != nullptr) owner_->InvalidateVisual();
}

// --- AnimatedColor ---

AnimatedColor::AnimatedColor(Widget* owner) : owner_(owner) { owner_->RegisterAnimation(this); }

AnimatedColor::~AnimatedColor() {
  CancelAnimation();
  owner_->UnregisterAnimation(this);
}

void AnimatedColor::CancelAnimation() {
  if (entryId_ != 0 && animator_ != nullptr) animator_->Cancel(entryId_);
  entryId_ = 0;
}

Color AnimatedColor::Current() const { return progress_ >= 1 ? to_ : Lerp(from_, to_, progress_); }

void AnimatedColor::AnimateTo(Color target, double seconds) {
  if (target == to_) return;
  Color present = Current();
  Host* host = owner_->GetHost();
  if (seconds <= 0 || host == nullptr) {
    CancelAnimation();
    progress_ = 1;
    from_ = to_ = target;
    if (host != nullptr) owner_->InvalidateVisual();
    return;
  }
  // Fading in from transparent starts from the target's hue, fading out keeps the present hue, so
  // neither passes through black.
  if (present.a <= 0.001f) present = target.WithAlpha(present.a);
  to_ = target.a <= 0.001f ? present.WithAlpha(target.a) : target;
  from_ = present;
  progress_ = 0;
  CancelAnimation();
  owner_->InvalidateVisual();
  animator_ = &host->GetAnimator();
  entryId_ = animator_->Start(
      0, 1, seconds, Easing::EaseOutCubic,
      [this](float progress) {
        progress_ = progress;
        owner_->InvalidateVisual();
      },
      [this] { entryId_ = 0; });
}

}  // namespace Quarlo::Widget
