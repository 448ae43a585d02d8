#pragma once
// The queue of work posted to the user-interface thread: any thread pushes, the user-interface thread
// drains. The mutex is held only while pushing or popping, never while a task runs, so a task may post
// more work. A drain runs the batch that was queued when it began: what the batch posts, or other threads
// post meanwhile, waits for the next wake-up, so a task that posts itself again (or loaders posting faster
// than the tasks run) cannot keep input and painting from running.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

namespace Quarlo::Widget {

// What a push asks of its caller.
enum class DrainWake : int32_t {
  None = 0,    // a wake-up is on its way already
  Prompt = 1,  // schedule a wake-up, as soon as the loop is free
  Deferred =
      2,  // posted while a drain runs: schedule a wake-up that lets pending input and painting go first
};

class PostQueue {
 public:
  // Any thread: appends a task and says whether the caller must schedule a wake-up that calls Drain.
  DrainWake Push(std::function<void()> task);
  // The user-interface thread, from the scheduled wake-up: runs the tasks queued before it began and returns
  // how many ran. A drain inside a task (a nested loop) runs the older tasks first.
  size_t Drain();
  size_t Size() const;

 private:
  struct Entry {
    uint64_t sequence = 0;
    std::function<void()> task;
  };

  mutable std::mutex mutex_;
  std::deque<Entry> tasks_;
  uint64_t nextSequence_ = 0;
  int draining_ = 0;  // drains running: more than one when a task runs a nested loop
  bool drainScheduled_ = false;
};

}  // namespace Quarlo::Widget
