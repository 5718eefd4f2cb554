// pf::Timer: one-shot and repeating, and the ways its owner may let go of it.
#include "platform/base/Timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/base/Clock.h"
#include "platform/sim/SimClock.h"

namespace {

class TimerTest : public ::testing::Test {
 protected:
  pf::SimClock clock;
  double start = pf::Clock::monotonic();
  std::vector<double> fired;  // seconds after start

  std::function<void()> record() {
    return [this] { fired.push_back(pf::Clock::monotonic() - start); };
  }
};

TEST_F(TimerTest, OneShotFiresOnceAtItsInterval) {
  pf::Timer timer;
  timer.schedule(2.0, record());
  EXPECT_TRUE(timer.isValid());
  EXPECT_EQ(timer.fireTime(), start + 2.0);

  clock.advance(1.999);
  EXPECT_TRUE(fired.empty());
  clock.advance(10.0);
  EXPECT_EQ(fired, std::vector<double>{2.0});
  EXPECT_FALSE(timer.isValid());
  EXPECT_FALSE(timer.fireTime().has_value());
}

TEST_F(TimerTest, RepeatingFiresOnItsGrid) {
  pf::Timer timer;
  timer.schedule(1.5, true, record());
  clock.advance(6.0);
  EXPECT_EQ(fired, (std::vector<double>{1.5, 3.0, 4.5, 6.0}));
  EXPECT_TRUE(timer.isValid());
  EXPECT_EQ(timer.fireTime(), start + 7.5);
}


TEST_F(TimerTest, DestroyedBeforeItFiresNeverFiresAndReleasesItsCallback) {
  auto captured = std::make_shared<int>(1);
  std::weak_ptr<int> watch = captured;
  {
    pf::Timer timer;
    timer.schedule(1.0, false, [this, captured] { fired.push_back(0); });
    captured.reset();
    EXPECT_FALSE(watch.expired());
  }
  EXPECT_TRUE(watch.expired());
  clock.advance(2.0);
  EXPECT_TRUE(fired.empty());
}

TEST_F(TimerTest, InvalidatedInsideItsOwnCallback) {
  pf::Timer timer;
  int count = 0;
  timer.schedule(1.0, true, [&] {
    ++count;
    timer.invalidate();
  });
  clock.advance(5.0);
  EXPECT_EQ(count, 1);
  EXPECT_FALSE(timer.isValid());
}

TEST_F(TimerTest, OwnerDestroyedInsideTheTimersCallback) {
  struct Owner {
    pf::Timer timer;
    std::shared_ptr<int> state = std::make_shared<int>(0);
  };
  auto owner = std::make_unique<Owner>();
  int count = 0;
  std::weak_ptr<int> watch = owner->state;
  owner->timer.schedule(1.0, true, [&, state = owner->state] {
    ++count;
    owner.reset();  // takes the running timer with it
    ++*state;       // the callback's own captures stay valid until it returns
  });
  clock.advance(5.0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(owner, nullptr);
  EXPECT_TRUE(watch.expired());
}

TEST_F(TimerTest, RescheduledInsideItsOwnCallback) {
  pf::Timer timer;
  timer.schedule(1.0, true, [&] {
    fired.push_back(pf::Clock::monotonic() - start);
    if (fired.size() == 1) timer.schedule(0.25, false, record());
  });
  clock.advance(5.0);
  EXPECT_EQ(fired, (std::vector<double>{1.0, 1.25}));
}


// A timer that is its owner's first member shares the owner's address; the owner cancelling
// its own delayed calls must not leave the timer believing it is still scheduled.
TEST_F(TimerTest, OwnersCancelPendingCallsLeavesItsTimerAlone) {
  struct Owner {
    pf::Timer timer;
  } owner;
  ASSERT_EQ(static_cast<const void*>(&owner), static_cast<const void*>(&owner.timer));
  owner.timer.schedule(1.0, false, record());
  pf::RunLoop::main().cancelPendingCalls(&owner);
  EXPECT_TRUE(owner.timer.isValid());
  clock.advance(1.0);
  EXPECT_EQ(fired, std::vector<double>{1.0});
}

TEST_F(TimerTest, RepeatingAtZeroStillLetsPassesEnd) {
  pf::Timer timer;
  int count = 0;
  timer.schedule(0.0, true, [&] { ++count; });
  EXPECT_DOUBLE_EQ(timer.interval(), pf::Timer::kMinimumRepeatInterval);
  clock.runUntilIdle();
  EXPECT_EQ(count, 0);
  clock.advance(pf::Timer::kMinimumRepeatInterval * 3);
  EXPECT_EQ(count, 3);
}

// Late passes (a busy main thread) are modelled with a clock the test sets by hand.
class ManualClock : public pf::ClockSource {
 public:
  double t = 500.0;
  double monotonic() const override { return t; }
  double now() const override { return t; }
};

TEST(TimerLatePasses, RepeatingTimerSkipsTheTimesItMissed) {
  pf::SimClock sim;  // a clean run loop
  auto manual = std::make_shared<ManualClock>();
  auto previous = pf::Clock::setSource(manual);

  std::vector<double> fired;
  pf::Timer timer;
  timer.schedule(1.0, true, [&] { fired.push_back(manual->t); });
  manual->t = 503.5;  // 501, 502 and 503 were missed
  pf::RunLoop::main().runDuePasses();
  EXPECT_EQ(fired, std::vector<double>{503.5});  // once, not three times
  EXPECT_EQ(timer.fireTime(), 504.0);            // back on the grid
  manual->t = 504.0;
  pf::RunLoop::main().runDuePasses();
  EXPECT_EQ(fired, (std::vector<double>{503.5, 504.0}));

  timer.invalidate();
  pf::Clock::setSource(previous);
}

}  // namespace
