// The main run loop under virtual time: order, passes, cancellation, autorelease.
#include "platform/base/RunLoop.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/base/Clock.h"
#include "platform/sim/SimClock.h"

namespace {

class RunLoopTest : public ::testing::Test {
 protected:
  pf::SimClock clock;
  pf::RunLoop& loop = pf::RunLoop::main();
  std::vector<std::string> log;

  std::function<void()> note(std::string what) {
    return [this, what] { log.push_back(what); };
  }
};

using Strings = std::vector<std::string>;

// Destroying it reaches back into the run loop, as real objects' destructors do.
struct Reentrant {
  const void* owner;
  std::vector<std::string>* log;
  ~Reentrant() {
    pf::RunLoop::main().cancelPendingCalls(owner);
    pf::RunLoop::main().performNextPass(owner, [l = log] { l->push_back("from destructor"); });
  }
};


TEST_F(RunLoopTest, RunsByFireTimeThenBySchedulingOrder) {
  loop.performAfter(nullptr, 2.0, note("b@2"));
  loop.performAfter(nullptr, 1.0, note("a@1"));
  loop.performAfter(nullptr, 2.0, note("c@2"));
  loop.performNextPass(nullptr, note("now"));
  loop.performAfter(nullptr, 1.0, note("d@1"));
  loop.performAfter(nullptr, -5.0, note("negative is now"));

  clock.advance(5.0);
  EXPECT_EQ(log, (Strings{"now", "negative is now", "a@1", "d@1", "b@2", "c@2"}));
}

TEST_F(RunLoopTest, AdvanceIsInclusiveAndMovesTimeToEachFireTime) {
  std::vector<double> seenAt;
  const double start = pf::Clock::monotonic();
  loop.performAfter(nullptr, 0.3, [&] { seenAt.push_back(pf::Clock::monotonic() - start); });
  loop.performAfter(nullptr, 0.7, [&] { seenAt.push_back(pf::Clock::monotonic() - start); });

  clock.advance(0.2999);
  EXPECT_TRUE(seenAt.empty());
  clock.advance(0.0001);  // exactly the fire time
  ASSERT_EQ(seenAt.size(), 1u);
  clock.advance(1.0);
  ASSERT_EQ(seenAt.size(), 2u);
  EXPECT_NEAR(seenAt[0], 0.3, 1e-9);
  EXPECT_NEAR(seenAt[1], 0.7, 1e-9);
  EXPECT_NEAR(pf::Clock::monotonic() - start, 1.3, 1e-9);  // ends at the window's end
}

TEST_F(RunLoopTest, DecimalStepsLandOnTheirTimer) {
  bool ran = false;
  loop.performAfter(nullptr, 0.3, [&] { ran = true; });
  for (int i = 0; i < 3; ++i) clock.advance(0.1);
  EXPECT_TRUE(ran);
}



TEST_F(RunLoopTest, CallScheduledDuringAPassRunsOnALaterPass) {
  loop.performNextPass(nullptr, [&] {
    log.push_back("first");
    loop.performNextPass(nullptr, note("scheduled with delay 0"));
    loop.performAt(nullptr, pf::Clock::monotonic() - 10.0, note("scheduled in the past"));
  });
  loop.performNextPass(nullptr, note("second"));

  EXPECT_EQ(loop.runPass(), 2u);
  EXPECT_EQ(log, (Strings{"first", "second"}));
  EXPECT_EQ(loop.runPass(), 2u);
  EXPECT_EQ(log, (Strings{"first", "second", "scheduled with delay 0", "scheduled in the past"}));
}

TEST_F(RunLoopTest, ChainsOfZeroDelayCallsRunUntilIdle) {
  int remaining = 50;
  std::function<void()> step = [&] {
    if (--remaining > 0) loop.performNextPass(nullptr, step);
  };
  loop.performNextPass(nullptr, step);
  EXPECT_EQ(clock.runUntilIdle(), 50u);
  EXPECT_EQ(remaining, 0);
  EXPECT_FALSE(loop.hasDueWork());
}



TEST_F(RunLoopTest, CancelledOwnerCallsNeverRunOthersDo) {
  int mine = 0, theirs = 0;
  loop.performAfter(&mine, 0.0, [&] { ++mine; });
  loop.performAfter(&mine, 1.0, [&] { ++mine; });
  loop.performAfter(&theirs, 1.0, [&] { ++theirs; });
  loop.performAfter(nullptr, 1.0, [&] { ++theirs; });
  loop.cancelPendingCalls(&mine);
  loop.cancelPendingCalls(nullptr);  // names no owner: drops nothing

  clock.advance(2.0);
  EXPECT_EQ(mine, 0);
  EXPECT_EQ(theirs, 2);
}

TEST_F(RunLoopTest, OwnerCancelledFromInsideOneOfItsCallsLosesTheRestOfThePass) {
  int owner = 0;
  loop.performNextPass(&owner, [&] {
    log.push_back("first");
    loop.cancelPendingCalls(&owner);
  });
  loop.performNextPass(&owner, note("same pass, cancelled"));
  loop.performAfter(&owner, 3.0, note("later, cancelled"));
  loop.performNextPass(nullptr, note("someone else"));

  clock.advance(5.0);
  EXPECT_EQ(log, (Strings{"first", "someone else"}));
  EXPECT_EQ(loop.pendingCallCount(), 0u);
}

TEST_F(RunLoopTest, CancelByIdAnswersWhetherItStillWaited) {
  pf::RunLoop::CallId self = 0;
  bool cancelledSelf = true;
  self = loop.performAfter(nullptr, 0.0, [&] { cancelledSelf = loop.cancel(self); });
  const auto other = loop.performAfter(nullptr, 1.0, note("other"));

  EXPECT_TRUE(loop.isPending(other));
  EXPECT_TRUE(loop.cancel(other));
  EXPECT_FALSE(loop.cancel(other));
  EXPECT_FALSE(loop.isPending(other));
  clock.advance(2.0);
  EXPECT_FALSE(cancelledSelf);  // a running call is no longer waiting
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(loop.cancel(self));
  EXPECT_FALSE(loop.cancel(12345678));
}


TEST_F(RunLoopTest, CancellingReleasesWhatTheCallCapturedAtOnce) {
  auto target = std::make_shared<int>(7);
  std::weak_ptr<int> watch = target;
  int owner = 0;
  loop.performAfter(&owner, 10.0, [target] { (void)*target; });
  const auto id = loop.performAfter(nullptr, 10.0, [target] { (void)*target; });
  target.reset();
  EXPECT_FALSE(watch.expired());
  loop.cancelPendingCalls(&owner);
  EXPECT_FALSE(watch.expired());
  loop.cancel(id);
  EXPECT_TRUE(watch.expired());
}


TEST_F(RunLoopTest, DestructorsOfDroppedCallsMayReenterTheLoop) {
  int a = 0, b = 0;
  auto reentrant = std::make_shared<Reentrant>(Reentrant{&b, &log});
  loop.performAfter(&a, 1.0, [reentrant] {});
  loop.performAfter(&b, 1.0, note("b, cancelled by the destructor"));
  reentrant.reset();

  loop.cancelPendingCalls(&a);  // destroys Reentrant: cancels b's calls, schedules one
  clock.advance(2.0);
  EXPECT_EQ(log, Strings{"from destructor"});
}



TEST_F(RunLoopTest, AutoreleasedObjectLivesUntilTheEndOfThePass) {
  std::weak_ptr<std::string> watch;
  bool aliveLaterInPass = false;
  bool aliveNextPass = true;
  loop.performNextPass(nullptr, [&] {
    auto object = std::make_shared<std::string>("temporary");
    watch = object;
    loop.autorelease(object);
    loop.performNextPass(nullptr, [&] { aliveNextPass = !watch.expired(); });
  });
  loop.performNextPass(nullptr, [&] { aliveLaterInPass = !watch.expired(); });

  loop.runPass();
  EXPECT_TRUE(aliveLaterInPass);
  EXPECT_TRUE(watch.expired());
  clock.runUntilIdle();
  EXPECT_FALSE(aliveNextPass);
}

TEST_F(RunLoopTest, AutoreleaseOutsideAPassLastsUntilTheNextPassEnds) {
  auto object = std::make_shared<int>(1);
  std::weak_ptr<int> watch = object;
  loop.autorelease(std::move(object));
  EXPECT_FALSE(watch.expired());
  EXPECT_TRUE(loop.hasDueWork());  // the driver is asked for a pass
  ASSERT_TRUE(clock.scheduledWakeUp().has_value());
  clock.runUntilIdle();
  EXPECT_TRUE(watch.expired());
}



TEST_F(RunLoopTest, DriverHearsOfTheEarliestFireTime) {
  EXPECT_FALSE(clock.scheduledWakeUp().has_value());
  const double t0 = pf::Clock::monotonic();
  const auto late = loop.performAfter(nullptr, 5.0, [] {});
  EXPECT_EQ(clock.scheduledWakeUp(), t0 + 5.0);
  const auto early = loop.performAfter(nullptr, 2.0, [] {});
  EXPECT_EQ(clock.scheduledWakeUp(), t0 + 2.0);
  loop.cancel(early);
  EXPECT_EQ(clock.scheduledWakeUp(), t0 + 5.0);
  loop.cancel(late);
  EXPECT_FALSE(clock.scheduledWakeUp().has_value());
}


}  // namespace
