#pragma once
// The queue of work posted to the user-interface thread: any thread pushes, the user-interface thread
// drains. The mutex is held only while pushing or popping, never while a task runs, so a task may post
// more work (it runs in the same drain, after the current one).

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace Quarlo::Widget {

class PostQueue {
 public:
  // Any thread: appends a task. True when the caller must schedule a drain (none is scheduled yet).
  bool Push(std::function<void()> task);
  // The user-interface thread, from the scheduled wake-up: runs tasks until the queue is empty and returns
  // how many ran. Tasks posted meanwhile run in this drain.
  size_t Drain();
  size_t Size() const;

 private:
  mutable std::mutex mutex_;
  std::deque<std::function<void()>> tasks_;
  bool drainScheduled_ = false;
};

}  // namespace Quarlo::Widget
