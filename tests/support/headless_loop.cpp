// The headless application loop: posted work and the wake-up arrive through an event descriptor (any thread
// may post), watched descriptors are polled beside it, and a loop with nothing to do moves the headless
// clock to the next due timer, so time-driven code runs in tests without waiting in real time.
// Descriptors are real-time sources: while one is watched, a loop with nothing to do waits for it (or for
// a post) instead of moving the clock, so a peer that is a moment late is never overtaken by a deadline;
// such a test moves the clock itself.

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <mutex>
#include <vector>

#include "support/headless_window.h"
#include "widget/application.h"
#include "widget/loop_backend.h"

namespace Quarlo::Widget::Detail {
namespace {

struct Watch {
  uint64_t id = 0;
  int fd = -1;
  std::function<void()> onReady;
};

struct LoopTimer {
  uint64_t id = 0;
  double due = 0;
  std::function<void()> onDue;
};

struct LoopState {
  std::mutex mutex;
  bool drainPending = false;
  bool woken = false;
  // Made readable by every post and wake-up, so a wait on the watched descriptors ends for them too.
  int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  // Used on the user-interface thread only.
  std::vector<Watch> watches;
  std::vector<LoopTimer> timers;
  uint64_t nextId = 1;
};

// Any due time counts when the loop looks for the next timer.
constexpr double kHeadlessForever = 1e300;

LoopState& State() {
  static LoopState state;
  return state;
}

void Signal(bool LoopState::*flag) {
  LoopState& state = State();
  {
    std::lock_guard lock(state.mutex);
    state.*flag = true;
  }
  const uint64_t one = 1;
  [[maybe_unused]] ssize_t written = write(state.wakeFd, &one, sizeof one);
}

bool Pending() {
  LoopState& state = State();
  std::lock_guard lock(state.mutex);
  return state.drainPending || state.woken;
}

// Runs the callbacks of the watched descriptors that are ready now; true when any ran.
bool DispatchReadyDescriptors() {
  LoopState& state = State();
  std::vector<pollfd> polled;
  for (const Watch& watch : state.watches) polled.push_back({watch.fd, POLLIN, 0});
  if (polled.empty() || poll(polled.data(), polled.size(), 0) <= 0) return false;
  std::vector<uint64_t> ready;
  for (size_t i = 0; i < polled.size(); ++i) {
    if (polled[i].revents != 0) ready.push_back(state.watches[i].id);
  }
  // A callback may unwatch or add descriptors: each one is looked up again, and runs from a copy.
  for (uint64_t id : ready) {
    auto found =
        std::find_if(state.watches.begin(), state.watches.end(), [id](const Watch& w) { return w.id == id; });
    if (found == state.watches.end()) continue;
    std::function<void()> onReady = found->onReady;
    onReady();
  }
  return true;
}

// Blocks until a post, a wake-up or a watched descriptor. The wake-up counter is reset, so the caller looks
// at the flags before it waits again (a post sets its flag before it signals).
void WaitForActivity() {
  LoopState& state = State();
  std::vector<pollfd> polled{{state.wakeFd, POLLIN, 0}};
  for (const Watch& watch : state.watches) polled.push_back({watch.fd, POLLIN, 0});
  while (poll(polled.data(), polled.size(), -1) < 0 && errno == EINTR) {
  }
  uint64_t count = 0;
  [[maybe_unused]] ssize_t consumed = read(state.wakeFd, &count, sizeof count);
}

// The loop timer that falls due first; end() when there is none.
std::vector<LoopTimer>::iterator FirstLoopTimer() {
  auto& timers = State().timers;
  return std::min_element(timers.begin(), timers.end(),
                          [](const auto& a, const auto& b) { return a.due < b.due; });
}

}  // namespace

bool OpenWindowingSystem(const AppOptions&) { return true; }

void ScheduleDrain(DrainWake) { Signal(&LoopState::drainPending); }

void WakeLoop() { Signal(&LoopState::woken); }

void WaitAndDispatch() {
  LoopState& state = State();
  if (!Pending()) {
    if (DispatchReadyDescriptors()) return;
    // Nothing posted: the next timer is the next thing that happens.
    if (state.watches.empty() && Testing::FireNextHeadlessTimer(kHeadlessForever)) return;
    WaitForActivity();
    if (DispatchReadyDescriptors()) return;
  }
  std::unique_lock lock(state.mutex);
  state.woken = false;
  if (!state.drainPending) return;
  state.drainPending = false;
  lock.unlock();
  Application::Instance().DrainPosted();
}

uint64_t WatchReadable(int fd, std::function<void()> onReady) {
  LoopState& state = State();
  state.watches.push_back({state.nextId++, fd, std::move(onReady)});
  return state.watches.back().id;
}

void Unwatch(uint64_t watchId) {
  std::erase_if(State().watches, [watchId](const Watch& w) { return w.id == watchId; });
}

uint64_t StartLoopTimer(double seconds, std::function<void()> onDue) {
  LoopState& state = State();
  state.timers.push_back({state.nextId++, Testing::HeadlessNow() + std::max(0.0, seconds), std::move(onDue)});
  return state.timers.back().id;
}

void CancelLoopTimer(uint64_t timerId) {
  std::erase_if(State().timers, [timerId](const LoopTimer& t) { return t.id == timerId; });
}

}  // namespace Quarlo::Widget::Detail

namespace Quarlo::Widget::Testing {

double NextLoopTimerDue() {
  auto first = Detail::FirstLoopTimer();
  return first == Detail::State().timers.end() ? -1 : first->due;
}

void FireFirstLoopTimer() {
  auto first = Detail::FirstLoopTimer();
  if (first == Detail::State().timers.end()) return;
  // One-shot: removed before it runs, so it may start timers of its own.
  std::function<void()> onDue = std::move(first->onDue);
  Detail::State().timers.erase(first);
  onDue();
}

}  // namespace Quarlo::Widget::Testing
