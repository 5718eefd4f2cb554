// Reachability over the sim provider: reports on the run loop, only on change, and none once
// stopped or gone.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/net/Reachability.h"
#include "platform/sim/SimEnvironment.h"

using pf::ReachabilityFlags;
using testing::ElementsAre;

namespace {

class ReachabilityTest : public testing::Test {
 protected:
  std::shared_ptr<pf::Reachability> watch(const std::string& host) {
    auto r = pf::Reachability::createWithName(host);
    r->setCallback([this](ReachabilityFlags f) { reports.push_back(f.bits); });
    r->startNotifier();
    return r;
  }

  pf::SimEnvironment sim;
  pf::SimClock& clock = sim.clock();
  pf::SimReachability* net = &sim.reachability();
  std::vector<uint32_t> reports;
};

constexpr uint32_t kWiFi = ReachabilityFlags::kReachable;
constexpr uint32_t kWWAN = ReachabilityFlags::kReachable | ReachabilityFlags::kIsWWAN;

TEST_F(ReachabilityTest, NoHandleWithoutAProviderOrWhenRefused) {
  net->setRefusesHandles(true);
  EXPECT_EQ(pf::Reachability::createWithName("www.example.com"), nullptr);
  pf::ReachabilityProvider::install(nullptr);
  EXPECT_EQ(pf::Reachability::createWithName("www.example.com"), nullptr);
}

TEST_F(ReachabilityTest, FirstReportAndEachChangeArriveOnALaterPass) {
  auto r = watch("www.example.com");
  EXPECT_TRUE(reports.empty()) << "nothing from inside startNotifier()";
  clock.runUntilIdle();
  EXPECT_THAT(reports, ElementsAre(kWiFi));

  net->setFlags(ReachabilityFlags::viaWWAN());
  EXPECT_THAT(reports, ElementsAre(kWiFi)) << "not synchronously";
  clock.runUntilIdle();
  EXPECT_THAT(reports, ElementsAre(kWiFi, kWWAN));

  net->setFlags(ReachabilityFlags::viaWWAN());  // the same again: no report
  net->setFlags(ReachabilityFlags::notReachable());
  net->setFlags(ReachabilityFlags::viaWiFi());  // changes within a pass: the net result
  clock.runUntilIdle();
  EXPECT_THAT(reports, ElementsAre(kWiFi, kWWAN, kWiFi));
  EXPECT_EQ(r->flags(), ReachabilityFlags::viaWiFi());
}

TEST_F(ReachabilityTest, UndeterminedFlagsAreNotReported) {
  net->setFlags(std::nullopt);
  auto r = watch("www.example.com");
  clock.runUntilIdle();
  EXPECT_TRUE(reports.empty());
  EXPECT_FALSE(r->flags());
  net->setFlags(ReachabilityFlags::notReachable());
  clock.runUntilIdle();
  EXPECT_THAT(reports, ElementsAre(0u));
}

TEST_F(ReachabilityTest, HostFlagsOverrideTheGlobalOnesForThatHostOnly) {
  auto a = watch("a.example");
  clock.runUntilIdle();
  net->setFlagsForHost("b.example", ReachabilityFlags::notReachable());
  clock.runUntilIdle();
  EXPECT_THAT(reports, ElementsAre(kWiFi));
  net->setFlagsForHost("a.example", ReachabilityFlags::viaWWAN());
  clock.runUntilIdle();
  net->clearFlagsForHost("a.example");
  clock.runUntilIdle();
  EXPECT_THAT(reports, ElementsAre(kWiFi, kWWAN, kWiFi));
}

TEST_F(ReachabilityTest, StoppedOrGoneNotifiersReportNothingAndARestartReportsAgain) {
  auto r = watch("www.example.com");
  clock.runUntilIdle();
  net->setFlags(ReachabilityFlags::viaWWAN());
  r->stopNotifier();  // drops the report already on its way
  clock.runUntilIdle();
  EXPECT_THAT(reports, ElementsAre(kWiFi));

  r->startNotifier();
  clock.runUntilIdle();
  EXPECT_THAT(reports, ElementsAre(kWiFi, kWWAN)) << "a restart reports the current flags";

  net->setFlags(ReachabilityFlags::viaWiFi());
  r.reset();  // gone with a report pending
  clock.runUntilIdle();
  EXPECT_THAT(reports, ElementsAre(kWiFi, kWWAN));
}

TEST_F(ReachabilityTest, CallbackMayStopAndDropItsOwnHandle) {
  std::shared_ptr<pf::Reachability> r = pf::Reachability::createWithName("www.example.com");
  int calls = 0;
  r->setCallback([&](ReachabilityFlags) {
    ++calls;
    r->stopNotifier();
    r.reset();
  });
  r->startNotifier();
  clock.runUntilIdle();
  net->setFlags(ReachabilityFlags::viaWWAN());
  clock.runUntilIdle();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(r, nullptr);
}

}  // namespace
