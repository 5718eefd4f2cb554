// The one door from other threads: real std::threads against the sim run loop.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/RunLoop.h"
#include "platform/sim/SimClock.h"

namespace {

class PerformOnMainThreadTest : public ::testing::Test {
 protected:
  pf::SimClock clock;
  pf::RunLoop& loop = pf::RunLoop::main();

  // Waits (really) until another thread has posted `count` times; no pass is run meanwhile.
  bool waitForPosts(size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (clock.crossThreadWakeUps() < count) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::yield();
    }
    return true;
  }
};

TEST_F(PerformOnMainThreadTest, FromTheMainThreadWaitRunsAtOnceAndNoWaitOnTheNextPass) {
  std::vector<std::string> log;
  loop.performOnMainThread([&] { log.push_back("later"); }, false);
  loop.performOnMainThread([&] { log.push_back("at once"); }, true);
  EXPECT_EQ(log, std::vector<std::string>{"at once"});
  clock.runUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"at once", "later"}));
}


TEST_F(PerformOnMainThreadTest, WaitingThreadBlocksUntilTheMainThreadRanTheCall) {
  std::atomic<bool> returned{false};
  std::thread::id ranOn;
  bool ranBeforeReturn = false;
  std::thread worker([&] {
    bool ran = false;
    pf::RunLoop::main().performOnMainThread([&] {
      ranOn = std::this_thread::get_id();
      ran = true;
    }, true);
    ranBeforeReturn = ran;
    returned = true;
  });

  ASSERT_TRUE(waitForPosts(1));
  EXPECT_FALSE(returned.load());  // the call cannot have run: no pass yet
  EXPECT_TRUE(clock.runUntil([&] { return returned.load(); }));
  worker.join();
  EXPECT_TRUE(ranBeforeReturn);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST_F(PerformOnMainThreadTest, WithoutWaitTheThreadGoesOnAndCallsKeepTheirOrder) {
  std::vector<int> order;
  std::thread worker([&] {
    for (int i = 0; i < 20; ++i) {
      pf::RunLoop::main().performOnMainThread([&order, i] { order.push_back(i); }, false);
    }
  });
  worker.join();  // never blocked on the main thread
  EXPECT_TRUE(order.empty());
  clock.runUntilIdle();
  ASSERT_EQ(order.size(), 20u);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(order[i], i);
}

TEST_F(PerformOnMainThreadTest, ManyThreadsWaitingAtOnceAllGetThrough) {
  constexpr int kThreads = 4, kCalls = 50;
  int total = 0;  // touched on the main thread only
  std::atomic<int> finished{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&] {
      for (int i = 0; i < kCalls; ++i) pf::RunLoop::main().performOnMainThread([&] { ++total; }, true);
      ++finished;
    });
  }
  EXPECT_TRUE(clock.runUntil([&] { return finished.load() == kThreads; }, 30.0));
  for (auto& w : workers) w.join();
  EXPECT_EQ(total, kThreads * kCalls);
}

TEST_F(PerformOnMainThreadTest, ResetLetsAWaitingThreadGoWithoutRunningItsCall) {
  std::atomic<bool> ran{false}, returned{false};
  std::thread worker([&] {
    pf::RunLoop::main().performOnMainThread([&] { ran = true; }, true);
    returned = true;
  });
  ASSERT_TRUE(waitForPosts(1));
  loop.reset();
  worker.join();  // would hang if the dropped call kept its waiter
  EXPECT_TRUE(returned.load());
  EXPECT_FALSE(ran.load());
}

}  // namespace
