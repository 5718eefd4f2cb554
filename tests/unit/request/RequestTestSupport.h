#pragma once
// The request tests' world: the ad layer's fixture, and the network checker settled on demand.
#include "AdLayerTest.h"
#include "LogCapture.h"
#include "ScopedEnvironment.h"

class RequestTest : public AdLayerTest {
 protected:
  using AdLayerTest::AdLayerTest;
  // Starts the network checker and lets its first reachability report arrive.
  void settleNetwork() {
    GADNetworkChecker::sharedChecker();
    sim.clock().runUntilIdle();
  }
};

class GADRequestOldOSTest : public RequestTest {
 protected:
  GADRequestOldOSTest() : RequestTest("phone-3.1.3") {}
};
