// The posted-work queue and the application loop's cross-thread wake-up. The loop tests need no display:
// the wake-up and the loop are GLib's main context, which works without a windowing system.

#include "widget/post_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "widget/application.h"

namespace Quarlo::Widget {
namespace {

TEST(PostQueue, OnlyTheFirstPushSinceADrainAsksForAWakeUp) {
  PostQueue queue;
  EXPECT_TRUE(queue.Push([] {}));
  EXPECT_FALSE(queue.Push([] {}));
  EXPECT_EQ(queue.Drain(), 2u);
  EXPECT_TRUE(queue.Push([] {}));
}

TEST(PostQueue, TaskPostedWhileDrainingRunsInTheSameDrainAfterTheCurrentOne) {
  PostQueue queue;
  std::vector<int> order;
  queue.Push([&] {
    order.push_back(1);
    queue.Push([&] { order.push_back(3); });
    order.push_back(2);
  });
  queue.Push([&] { order.push_back(4); });
  EXPECT_EQ(queue.Drain(), 3u);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 4, 3}));
  EXPECT_EQ(queue.Size(), 0u);
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

}  // namespace
}  // namespace Quarlo::Widget
