#include "sdk/network/GADNetworkChecker.h"

#include <gtest/gtest.h>

#include "ScopedEnvironment.h"
#include "platform/net/ReachabilityFlags.h"
#include "platform/sim/SimEnvironment.h"
#include "sdk/utility/GADConfiguration.h"

namespace {

using Flags = pf::ReachabilityFlags;

class GADNetworkCheckerTest : public ::testing::Test {
 protected:
  ~GADNetworkCheckerTest() override { GADNetworkChecker::resetSharedCheckerForTesting(); }

  pf::SimEnvironment sim;
  pf::SimClock& clock_ = sim.clock();
  pf::SimReachability* net_ = &sim.reachability();
  ScopedEnvironment env_{"ASHENMOOR_REACHABILITY_HOST", nullptr};
};

TEST_F(GADNetworkCheckerTest, FlagsGiveTypesAndStrings) {
  auto checker = GADNetworkChecker::create("h");
  struct Case {
    uint32_t flags;
    int32_t type;
    std::optional<std::string> text;
  } cases[] = {
      {Flags::kReachable, GADNetworkChecker::kNetworkTypeWiFi, "wi"},
      {Flags::kReachable | Flags::kIsWWAN, GADNetworkChecker::kNetworkTypeCellular, "ed"},
      {Flags::kIsWWAN, GADNetworkChecker::kNetworkTypeNotReachable, std::nullopt},
      {0, GADNetworkChecker::kNetworkTypeNotReachable, std::nullopt},
      {Flags::kReachable | Flags::kConnectionRequired, GADNetworkChecker::kNetworkTypeWiFi, "wi"},
      {~Flags::kReachable, GADNetworkChecker::kNetworkTypeNotReachable, std::nullopt},
  };
  uint32_t count = 0;
  for (const auto& c : cases) {
    checker->setNetworkTypeFromFlags(c.flags);
    EXPECT_EQ(checker->networkType(), c.type) << c.flags;
    EXPECT_EQ(checker->networkTypeString(), c.text) << c.flags;
    EXPECT_EQ(checker->changeCount(), ++count);
  }
}

TEST_F(GADNetworkCheckerTest, SharedCheckerIsEnabledAndUndeterminedUntilTheFirstReport) {
  auto checker = GADNetworkChecker::sharedChecker();
  EXPECT_TRUE(checker->isEnabled());
  EXPECT_EQ(checker->hostName(), GADConfiguration::kDefaultReachabilityHost);
  // The flags are known, but not asked for at start.
  EXPECT_EQ(checker->networkType(), GADNetworkChecker::kNetworkTypeUndetermined);
  EXPECT_EQ(checker->networkTypeString(), std::nullopt);
  EXPECT_EQ(checker->changeCount(), 0u);

  clock_.runUntilIdle();
  EXPECT_EQ(checker->networkTypeString(), "wi");
  EXPECT_EQ(checker->changeCount(), 1u);

  // Enabling it again changes nothing: no reset to undetermined, no second report.
  checker->setEnabled(true);
  EXPECT_EQ(checker->networkTypeString(), "wi");
  clock_.runUntilIdle();
  EXPECT_EQ(checker->changeCount(), 1u);
}

TEST_F(GADNetworkCheckerTest, HostComesFromTheEnvironment) {
  env_.set("ASHENMOOR_REACHABILITY_HOST", "reach.example");
  net_->setFlagsForHost("reach.example", Flags::viaWWAN());
  auto checker = GADNetworkChecker::sharedChecker();
  EXPECT_EQ(checker->hostName(), "reach.example");
  clock_.runUntilIdle();
  EXPECT_EQ(checker->networkTypeString(), "ed");
  env_.set("ASHENMOOR_REACHABILITY_HOST", "");
  EXPECT_EQ(GADConfiguration::reachabilityHost(), GADConfiguration::kDefaultReachabilityHost);
}

TEST_F(GADNetworkCheckerTest, DisableAndReenableResetsTheTypeButNotTheCount) {
  auto checker = GADNetworkChecker::sharedChecker();
  clock_.runUntilIdle();
  checker->setEnabled(false);
  EXPECT_EQ(checker->networkType(), GADNetworkChecker::kNetworkTypeUndetermined);
  EXPECT_EQ(checker->changeCount(), 1u);

  // Changes while disabled are not heard.
  net_->setFlags(Flags::viaWWAN());
  clock_.runUntilIdle();
  EXPECT_EQ(checker->networkType(), GADNetworkChecker::kNetworkTypeUndetermined);

  checker->setEnabled(true);
  EXPECT_EQ(checker->networkTypeString(), std::nullopt);
  clock_.runUntilIdle();
  EXPECT_EQ(checker->networkTypeString(), "ed");
  EXPECT_EQ(checker->changeCount(), 2u);
}

TEST_F(GADNetworkCheckerTest, RefusedHandleLeavesTheCheckerDisabled) {
  net_->setRefusesHandles(true);
  auto checker = GADNetworkChecker::sharedChecker();
  EXPECT_FALSE(checker->isEnabled());
  clock_.runUntilIdle();
  EXPECT_EQ(checker->networkType(), GADNetworkChecker::kNetworkTypeUndetermined);
  EXPECT_EQ(checker->changeCount(), 0u);

  pf::ReachabilityProvider::install(nullptr);  // no backend at all: the same
  auto other = GADNetworkChecker::create("h");
  other->setEnabled(true);
  EXPECT_FALSE(other->isEnabled());
}

TEST_F(GADNetworkCheckerTest, ADroppedCheckerHearsNothingMore) {
  auto checker = GADNetworkChecker::create("h");
  checker->setEnabled(true);
  std::weak_ptr<GADNetworkChecker> weak = checker;
  checker.reset();  // a report was pending: it must not reach freed memory
  EXPECT_TRUE(weak.expired());
  clock_.runUntilIdle();
  net_->setFlags(Flags::viaWWAN());
  clock_.runUntilIdle();
}

}  // namespace
