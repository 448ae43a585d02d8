// The posted-work queue, the application loop's cross-thread wake-up, and the loop's own descriptor watches
// and timers. The loop tests need no display: the wake-up and the loop are GLib's main context, which works
// without a windowing system.

#include "widget/post_queue.h"

#include <gdk/gdk.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "widget/application.h"
#include "widget/loop_backend.h"

namespace Quarlo::Widget {
namespace {

TEST(PostQueue, OnlyTheFirstPushSinceADrainAsksForAWakeUp) {
  PostQueue queue;
  EXPECT_EQ(queue.Push([] {}), DrainWake::Prompt);
  EXPECT_EQ(queue.Push([] {}), DrainWake::None);
  EXPECT_EQ(queue.Drain(), 2u);
  EXPECT_EQ(queue.Push([] {}), DrainWake::Prompt);
}

TEST(PostQueue, ADrainRunsTheBatchQueuedWhenItBeganAndTheRestWaitsForTheNextWakeUp) {
  PostQueue queue;
  std::vector<int> order;
  DrainWake wake = DrainWake::None;
  queue.Push([&] {
    order.push_back(1);
    wake = queue.Push([&] { order.push_back(3); });
    order.push_back(2);
  });
  queue.Push([&] { order.push_back(4); });
  EXPECT_EQ(queue.Drain(), 2u);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(wake, DrainWake::Deferred);
  EXPECT_EQ(queue.Size(), 1u);
  EXPECT_EQ(queue.Drain(), 1u);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 4, 3}));
}

TEST(PostQueue, ATaskThatPostsItselfRunsOncePerDrain) {
  constexpr int kMostRuns = 100;  // a drain that ran what it posted ends here instead of hanging the test
  PostQueue queue;
  std::atomic<int> runs{0};
  std::function<void()> again = [&] {
    if (++runs < kMostRuns) queue.Push(again);
  };
  queue.Push(again);
  for (int drain = 1; drain <= 3; ++drain) {
    EXPECT_EQ(queue.Drain(), 1u);
    EXPECT_EQ(runs, drain);
  }
}

TEST(PostQueue, TasksFromManyThreadsRunOnceEachInEveryThreadsOrder) {
  PostQueue queue;
  constexpr int kThreads = 4;
  constexpr int kTasks = 500;
  std::vector<std::vector<int>> seen(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&queue, &seen, t] {
      for (int i = 0; i < kTasks; ++i) queue.Push([&seen, t, i] { seen[t].push_back(i); });
    });
  }
  size_t ran = 0;
  while (ran < kThreads * kTasks) ran += queue.Drain();
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(seen[t].size(), static_cast<size_t>(kTasks));
    for (int i = 0; i < kTasks; ++i) EXPECT_EQ(seen[t][i], i);
  }
}

// Runs the loop until done, failing after a few seconds instead of hanging.
bool RunWithDeadline(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  std::atomic<bool> expired{false};
  std::thread watchdog([&] {
    while (!done() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    expired = !done();
    Application::Instance().Post([] {});  // wakes the loop either way
  });
  const bool result = Application::Instance().RunUntil([&] { return done() || expired.load(); });
  watchdog.join();
  return result && done();
}

TEST(ApplicationLoop, TaskPostedFromAWorkerRunsOnTheLoopThread) {
  const std::thread::id loopThread = std::this_thread::get_id();
  std::atomic<bool> ran{false};
  std::thread::id ranOn;
  std::thread worker([&] {
    Application::Instance().Post([&] {
      ranOn = std::this_thread::get_id();
      ran = true;
    });
  });
  worker.join();
  EXPECT_FALSE(ran.load());  // posting never runs the task inside the poster
  ASSERT_TRUE(RunWithDeadline([&] { return ran.load(); }));
  EXPECT_EQ(ranOn, loopThread);
}

TEST(ApplicationLoop, PostFromTheLoopThreadIsDeferred) {
  std::atomic<bool> ran{false};
  Application::Instance().Post([&] { ran = true; });
  EXPECT_FALSE(ran.load());
  ASSERT_TRUE(RunWithDeadline([&] { return ran.load(); }));
}

// Attaches a one-shot source at a priority of the main context, standing for an input event or a paint.
void AttachOnce(int priority, std::function<void()> callback) {
  GSource* source = g_idle_source_new();
  g_source_set_priority(source, priority);
  g_source_set_callback(
      source,
      [](gpointer data) {
        (*static_cast<std::function<void()>*>(data))();
        return G_SOURCE_REMOVE;
      },
      new std::function<void()>(std::move(callback)),
      [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
  g_source_attach(source, nullptr);
  g_source_unref(source);
}

TEST(ApplicationLoop, ATaskThatPostsItselfLetsInputAndPaintingRun) {
  constexpr int kMostRuns = 1000;  // a starving drain ends here instead of hanging the test
  std::atomic<int> runs{0};
  std::function<void()> again = [&] {
    if (++runs < kMostRuns) Application::Instance().Post(again);
  };
  Application::Instance().Post(again);
  std::atomic<int> runsAtInput{-1};
  std::atomic<int> runsAtPaint{-1};
  AttachOnce(GDK_PRIORITY_EVENTS, [&] { runsAtInput = runs.load(); });
  AttachOnce(GDK_PRIORITY_REDRAW, [&] { runsAtPaint = runs.load(); });
  ASSERT_TRUE(RunWithDeadline([&] { return runsAtInput >= 0 && runsAtPaint >= 0; }));
  EXPECT_LT(runsAtInput.load(), 3);
  EXPECT_LT(runsAtPaint.load(), 5);
  ASSERT_TRUE(RunWithDeadline([&] { return runs == kMostRuns; }));
}

TEST(ApplicationLoop, QuitFromAWorkerEndsRunWithItsCode) {
  std::thread worker([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Application::Instance().Quit(7);
  });
  EXPECT_EQ(Application::Instance().Run(), 7);
  worker.join();
  EXPECT_FALSE(Application::Instance().QuitRequested());
}

TEST(ApplicationLoop, QuitInsideANestedLoopEndsItAndTheOuterLoop) {
  bool nestedResult = true;
  Application::Instance().Post([&] {
    Application::Instance().Post([] { Application::Instance().Quit(3); });
    nestedResult = Application::Instance().RunUntil([] { return false; });
  });
  EXPECT_EQ(Application::Instance().Run(), 3);
  EXPECT_FALSE(nestedResult);
}

TEST(ApplicationLoop, QuitBeforeRunEndsItAtOnce) {
  Application::Instance().Quit(0);
  EXPECT_EQ(Application::Instance().Run(), 0);
}

TEST(LoopWatch, CallsBackWhileTheDescriptorIsReadableUntilUnwatched) {
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  std::atomic<int> calls{0};
  uint64_t watch = 0;
  watch = Detail::WatchReadable(pipeEnds[0], [&] {
    ++calls;
    char byte;
    ASSERT_EQ(read(pipeEnds[0], &byte, 1), 1);
    if (calls == 2) Detail::Unwatch(watch);  // a watch may end itself
  });
  ASSERT_EQ(write(pipeEnds[1], "a", 1), 1);
  ASSERT_TRUE(RunWithDeadline([&] { return calls == 1; }));
  ASSERT_EQ(write(pipeEnds[1], "b", 1), 1);
  ASSERT_TRUE(RunWithDeadline([&] { return calls == 2; }));
  ASSERT_EQ(write(pipeEnds[1], "c", 1), 1);
  while (g_main_context_iteration(nullptr, FALSE)) {
  }
  EXPECT_EQ(calls.load(), 2);
  close(pipeEnds[0]);
  close(pipeEnds[1]);
}

TEST(LoopTimer, FiresOnceAndCancellingItAfterwardsIsHarmless) {
  // GLib reports removing a source that is gone as a critical warning: make that fail the test.
  g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING));
  std::atomic<int> fired{0};
  bool cancelledFired = false;
  const uint64_t cancelled = Detail::StartLoopTimer(0.01, [&] { cancelledFired = true; });
  const uint64_t timer = Detail::StartLoopTimer(0.02, [&] { ++fired; });
  Detail::CancelLoopTimer(cancelled);
  ASSERT_TRUE(RunWithDeadline([&] { return fired == 1; }));
  Detail::CancelLoopTimer(timer);
  std::atomic<bool> later{false};
  Detail::StartLoopTimer(0.05, [&] { later = true; });
  ASSERT_TRUE(RunWithDeadline([&] { return later.load(); }));
  EXPECT_EQ(fired.load(), 1);
  EXPECT_FALSE(cancelledFired);
}

}  // namespace
}  // namespace Quarlo::Widget
