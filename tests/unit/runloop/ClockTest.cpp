// pf::Clock: the machine's clocks when no virtual one is installed.
#include "platform/base/Clock.h"

#include <gtest/gtest.h>

#include <ctime>

TEST(Clock, MachineClocks) {
  // Another suite may have left a source behind only by a bug; these tests need none.
  ASSERT_EQ(pf::Clock::setSource(nullptr), nullptr);
  const double wall = pf::Clock::nowSince1970();
  EXPECT_NEAR(wall, static_cast<double>(std::time(nullptr)), 2.0);
  EXPECT_NEAR(pf::Clock::now(), wall - pf::kTimeIntervalSince1970, 2.0);
  const double a = pf::Clock::monotonic();
  EXPECT_LE(a, pf::Clock::monotonic());
  EXPECT_GT(a, 0.0);
}
