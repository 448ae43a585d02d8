// Host timers: one-shot and repeating callbacks owned by widgets, on the animator's clock. The window
// layer provides a single one-shot native timer (SetTimerDelay) and calls FireTimers when it elapses.

#include <algorithm>

#include "widget/animator.h"
#include "widget/host.h"

namespace Quarlo::Widget {

namespace {

// A repeating timer with no interval still waits this long, so it cannot spin.
constexpr double kMinimumRepeatInterval = 0.001;

}  // namespace

uint64_t Host::AddTimer(Widget* owner, double seconds, std::function<void()> callback, bool repeat) {
  Timer timer;
  timer.id = nextTimerId_++;
  timer.owner = owner;
  timer.due = animator_->Now() + seconds;
  timer.interval = seconds;
  timer.repeat = repeat;
  timer.callback = std::move(callback);
  timers_.push_back(std::move(timer));
  RearmTimers();
  return timers_.back().id;
}

void Host::CancelTimer(uint64_t id) {
  auto found = std::find_if(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; });
  if (found == timers_.end()) {
    return;
  }
  timers_.erase(found);
  RearmTimers();
}

bool Host::HasTimer(uint64_t id) const {
  return std::any_of(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; });
}

void Host::RearmTimers() {
  if (inTimerDispatch_) {
    return;
  }
  if (timers_.empty()) {
    SetTimerDelay(-1);
    return;
  }
  double earliest = timers_.front().due;
  for (const Timer& t : timers_) {
    earliest = std::min(earliest, t.due);
  }
  SetTimerDelay(std::max(0.0, earliest - animator_->Now()));
}

void Host::FireTimers() {
  std::weak_ptr<const char> alive = alive_;
  inTimerDispatch_ = true;
  double now = animator_->Now();
  std::vector<uint64_t> due;
  for (const Timer& t : timers_) {
    if (t.due <= now) {
      due.push_back(t.id);
    }
  }
  for (uint64_t id : due) {
    auto found = std::find_if(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; });
    if (found == timers_.end()) {
      continue;  // cancelled by an earlier callback
    }
    // The callback runs from a copy, so it may cancel its own timer.
    std::function<void()> callback = found->callback;
    if (found->repeat) {
      found->due = now + std::max(found->interval, kMinimumRepeatInterval);
    } else {
      timers_.erase(found);
    }
    if (callback) {
      callback();
    }
    if (alive.expired()) {
      return;  // a callback destroyed the host (closed its window)
    }
  }
  inTimerDispatch_ = false;
  RearmTimers();
}

}  // namespace Quarlo::Widget
