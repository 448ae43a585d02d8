// The posted-work queue of the application loop.

#include "widget/post_queue.h"

#include <utility>

namespace Quarlo::Widget {

DrainWake PostQueue::Push(std::function<void()> task) {
  std::lock_guard lock(mutex_);
  tasks_.push_back(Entry{nextSequence_++, std::move(task)});
  if (drainScheduled_) return DrainWake::None;
  drainScheduled_ = true;
  return draining_ > 0 ? DrainWake::Deferred : DrainWake::Prompt;
}

size_t PostQueue::Drain() {
  size_t ran = 0;
  std::unique_lock lock(mutex_);
  // A push from now on schedules a new wake-up, so what this drain leaves behind is never stranded; if a
  // nested drain takes those tasks first, that wake-up finds an empty queue, which costs nothing.
  drainScheduled_ = false;
  const uint64_t end = nextSequence_;
  ++draining_;
  while (!tasks_.empty() && tasks_.front().sequence < end) {
    std::function<void()> task = std::move(tasks_.front().task);
    tasks_.pop_front();
    lock.unlock();
    if (task) task();
    ++ran;
    lock.lock();
  }
  --draining_;
  return ran;
}

size_t PostQueue::Size() const {
  std::lock_guard lock(mutex_);
  return tasks_.size();
}

}  // namespace Quarlo::Widget
