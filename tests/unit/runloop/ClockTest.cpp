// pf::Clock: the machine's clocks by default, a virtual one under sim.
#include "platform/base/Clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "platform/base/AssertionHandler.h"
#include "platform/base/RunLoop.h"
#include "platform/sim/SimClock.h"

namespace {

TEST(Clock, MachineClocks) {
  // Another suite may have left a source behind only by a bug; these tests need none.
  ASSERT_EQ(pf::Clock::setSource(nullptr), nullptr);
  const double wall = pf::Clock::nowSince1970();
  EXPECT_NEAR(wall, static_cast<double>(std::time(nullptr)), 2.0);
  EXPECT_NEAR(pf::Clock::now(), wall - pf::kTimeIntervalSince1970, 2.0);
  const double a = pf::Clock::monotonic();
  const double b = pf::Clock::monotonic();
  EXPECT_LE(a, b);
  EXPECT_GT(a, 0.0);
}


TEST(SimClock, StartsAtDocumentedTimesAndMovesBothClocks) {
  pf::SimClock clock;
  EXPECT_DOUBLE_EQ(pf::Clock::monotonic(), 1000.0);
  // 2011-01-01 00:00:00 UTC.
  EXPECT_DOUBLE_EQ(pf::Clock::nowSince1970(), 1293840000.0);
  clock.advance(90.5);
  EXPECT_DOUBLE_EQ(pf::Clock::monotonic(), 1090.5);
  EXPECT_DOUBLE_EQ(pf::Clock::now(), pf::SimClock::kStartNow + 90.5);
  clock.advance(-3.0);  // time never runs backwards
  EXPECT_DOUBLE_EQ(pf::Clock::monotonic(), 1090.5);
}

TEST(SimClock, SettingTheDateLeavesTimersAlone) {
  pf::SimClock clock;
  bool fired = false;
  pf::RunLoop::main().performAfter(nullptr, 10.0, [&] { fired = true; });
  clock.setNow(pf::SimClock::kStartNow + 86400.0 * 365);
  clock.runUntilIdle();
  EXPECT_FALSE(fired);
  EXPECT_DOUBLE_EQ(pf::Clock::monotonic(), 1000.0);
  EXPECT_DOUBLE_EQ(pf::Clock::now(), pf::SimClock::kStartNow + 86400.0 * 365);
}

TEST(SimClock, UninstallingRestoresTheMachineClocks) {
  { pf::SimClock clock; }
  EXPECT_NEAR(pf::Clock::nowSince1970(), static_cast<double>(std::time(nullptr)), 2.0);
}

TEST(SimClock, EndlessZeroDelayChainIsReportedNotHung) {
  pf::SimClock clock;
  std::string report;
  auto previous = pf::AssertionHandler::setHandler(
      [&](const char*, const char*, int, const std::string& what) { report = what; });
  std::function<void()> again = [&] { pf::RunLoop::main().performNextPass(nullptr, again); };
  pf::RunLoop::main().performNextPass(nullptr, again);
  clock.advance(1.0);
  pf::AssertionHandler::setHandler(std::move(previous));
  EXPECT_NE(report.find("gave up"), std::string::npos);
}

}  // namespace
