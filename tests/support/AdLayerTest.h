#pragma once
// The fixture of the ad layer's unit tests: a simulated device (pf::SimEnvironment: virtual
// clock, a fresh home, scripted HTTP and reachability, the sim views with a device profile)
// on which each test starts as a fresh install — none of the shared objects another test
// made is left (statistics, identifier facts, network checker, ad signals, user agent).
// A suite that uses it links gad_sdk and pf_sim.
//
//   class GADExampleTest : public AdLayerTest {};
//   class GADExampleOldOSTest : public AdLayerTest {
//    protected:
//     GADExampleOldOSTest() : AdLayerTest("phone-3.1.3") {}
//   };
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/SimEnvironment.h"
#include "sdk/identifier/GADIdentifierUtilities.h"
#include "sdk/network/GADNetworkChecker.h"
#include "sdk/signals/GADSignals.h"
#include "sdk/statistics/GADStatistics.h"
#include "sdk/utility/GADNetworkUtilities.h"

// The shared objects of the ad layer forgotten, as in a fresh install.
inline void forgetAdLayerSharedObjects() {
  GADStatistics::releaseSharedStatistics();
  GADIdentifierUtilities::resetSharedInstance();
  GADNetworkChecker::resetSharedCheckerForTesting();
  GADNetworkUtilities::resetForTesting();
  gad_signals_reset();
}

class AdLayerTest : public ::testing::Test {
 protected:
  explicit AdLayerTest(const std::string& profile = "phone-4.0") : sim(profile) { forgetAdLayerSharedObjects(); }
  ~AdLayerTest() override { forgetAdLayerSharedObjects(); }

  pf::SimEnvironment sim;  // first: made before the test's objects, gone after them
};
