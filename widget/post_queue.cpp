// The posted-work queue of the application loop.

#include "widget/post_queue.h"

#include <utility>

namespace Quarlo::Widget {

bool PostQueue::Push(std::function<void()> task) {
  std::lock_guard lock(mutex_);
  tasks_.push_back(std::move(task));
  if (drainScheduled_) return false;
  drainScheduled_ = true;
  return true;
}

size_t PostQueue::Drain() {
  size_t ran = 0;
  std::unique_lock lock(mutex_);
  // A push from now on schedules a new wake-up; if this drain takes its task first, that wake-up finds an
  // empty queue, which costs nothing.
  drainScheduled_ = false;
  while (!tasks_.empty()) {
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    if (task) task();
    ++ran;
    lock.lock();
  }
  return ran;
}

size_t PostQueue::Size() const {
  std::lock_guard lock(mutex_);
  return tasks_.size();
}

}  // namespace Quarlo::Widget
