// The headless application loop: posted work and the wake-up arrive through a condition variable (any
// thread may post), and a loop with nothing to do moves the headless clock to the next due timer, so
// time-driven code runs in tests without waiting in real time.

#include <condition_variable>
#include <mutex>

#include "support/headless_window.h"
#include "widget/application.h"
#include "widget/loop_backend.h"

namespace Quarlo::Widget::Detail {
namespace {

struct LoopState {
  std::mutex mutex;
  std::condition_variable changed;
  bool drainPending = false;
  bool woken = false;
};

// Any due time counts when the loop looks for the next timer.
constexpr double kHeadlessForever = 1e300;

LoopState& State() {
  static LoopState state;
  return state;
}

}  // namespace

bool OpenWindowingSystem(const AppOptions&) { return true; }

void ScheduleDrain(DrainWake) {
  LoopState& state = State();
  {
    std::lock_guard lock(state.mutex);
    state.drainPending = true;
  }
  state.changed.notify_all();
}

void WakeLoop() {
  LoopState& state = State();
  {
    std::lock_guard lock(state.mutex);
    state.woken = true;
  }
  state.changed.notify_all();
}

void WaitAndDispatch() {
  LoopState& state = State();
  std::unique_lock lock(state.mutex);
  if (!state.drainPending && !state.woken) {
    lock.unlock();
    // Nothing posted: the next timer is the next thing that happens.
    if (Testing::FireNextHeadlessTimer(kHeadlessForever)) return;
    lock.lock();
    state.changed.wait(lock, [&] { return state.drainPending || state.woken; });
  }
  state.woken = false;
  if (!state.drainPending) return;
  state.drainPending = false;
  lock.unlock();
  Application::Instance().DrainPosted();
}

}  // namespace Quarlo::Widget::Detail
