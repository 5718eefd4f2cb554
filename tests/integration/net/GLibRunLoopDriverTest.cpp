// pf::GLibRunLoopDriver: run-loop calls and timers on GLib's main context — on time, never
// early, without spinning, without starving GLib's own sources, and reachable from threads.
#include <glib.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "MainContextWait.h"
#include "platform/base/Clock.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Timer.h"
#include "platform/gtk/GLibRunLoopDriver.h"

namespace {

class GLibRunLoopDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pf::Clock::setSource(nullptr);
    loop().reset();
    loop().setDriver(driver_);
  }
  void TearDown() override {
    loop().reset();
    loop().setDriver(nullptr);
    drainMainContext();
  }
  static pf::RunLoop& loop() { return pf::RunLoop::main(); }

  // Blocking iterations of the GLib context until `done` (each one is a wake-up), bounded.
  static int iterationsUntil(const std::function<bool()>& done, double seconds = 2.0) {
    int iterations = 0;
    runMainContextUntil([&] {
      ++iterations;
      return done();
    }, seconds);
    return iterations - 1;
  }

  std::shared_ptr<pf::GLibRunLoopDriver> driver_ = std::make_shared<pf::GLibRunLoopDriver>();
};

TEST_F(GLibRunLoopDriverTest, TimerFiresAtItsTimeNotBeforeAndWithoutSpinning) {
  pf::Timer timer;
  double firedAt = 0;
  const double start = pf::Clock::monotonic();
  timer.schedule(0.050, false, [&] { firedAt = pf::Clock::monotonic(); });
  const int iterations = iterationsUntil([&] { return firedAt != 0; });
  ASSERT_NE(firedAt, 0) << "the timer never fired";
  EXPECT_GE(firedAt - start, 0.050);
  EXPECT_LT(firedAt - start, 0.5);
  EXPECT_LE(iterations, 5) << "the loop woke up again and again before the timer was due";
}

TEST_F(GLibRunLoopDriverTest, SubMillisecondDelaysAreNeverEarly) {
  // 0.3 ms apart: a ready time rounded down would wake the loop before the call is due.
  std::vector<double> lateness;
  std::function<void()> next = [&] {
    const double due = pf::Clock::monotonic() + 0.0003;
    loop().performAt(nullptr, due, [&, due] {
      lateness.push_back(pf::Clock::monotonic() - due);
      if (lateness.size() < 40) next();
    });
  };
  next();
  const int iterations = iterationsUntil([&] { return lateness.size() == 40; });
  ASSERT_EQ(lateness.size(), 40u);
  for (double late : lateness) EXPECT_GE(late, 0.0);
  EXPECT_LE(iterations, 3 * 40) << "a wake-up that ran nothing, over and over";
}

TEST_F(GLibRunLoopDriverTest, ALongChainOfNextPassCallsLetsGLibSourcesRun) {
  // Each pass is one dispatch: GLib's sources (sockets, GTK) get their turn between passes,
  // rather than after the whole chain. (Bounded, so a driver that gets this wrong fails
  // instead of hanging.)
  constexpr size_t kLimit = 200000;
  size_t chain = 0;
  bool glibRan = false;
  std::function<void()> again = [&] {
    ++chain;
    if (!glibRan && chain < kLimit) loop().performNextPass(nullptr, again);
  };
  loop().performNextPass(nullptr, again);
  g_timeout_add(5, [](gpointer ran) -> gboolean {
    *static_cast<bool*>(ran) = true;
    return G_SOURCE_REMOVE;
  }, &glibRan);
  ASSERT_TRUE(runMainContextUntil([&] { return glibRan; }, 10.0));
  EXPECT_LT(chain, kLimit) << "GLib's timeout waited for the whole chain";
}

TEST_F(GLibRunLoopDriverTest, PostWithoutWaitWakesALoopBlockedInPoll) {
  std::atomic<bool> ran{false};
  const double start = pf::Clock::monotonic();
  std::thread worker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the loop is asleep by then
    loop().performOnMainThread([&] { ran = true; }, false);
  });
  // Nothing else is scheduled: only the cross-thread wake-up ends the wait before 2 s.
  const bool woke = runMainContextUntil([&] { return ran.load(); }, 2.0);
  worker.join();
  ASSERT_TRUE(woke);
  EXPECT_LT(pf::Clock::monotonic() - start, 0.5);
}

}  // namespace
