#pragma once
// The statistics tests' world: the ad layer's fixture, with the shared statistics at hand
// and the standard user defaults as a new process would read them from disk.
#include "AdLayerTest.h"
#include "platform/base/UserDefaults.h"

class StatisticsTest : public AdLayerTest {
 protected:
  static std::shared_ptr<GADStatistics> stats() { return GADStatistics::sharedStatistics(); }
  static std::shared_ptr<pf::UserDefaults> defaultsOnDisk() {
    return pf::UserDefaults::create(pf::UserDefaults::standardPath());
  }
  static pf::Url url(const std::string& text) { return pf::Url::parse(text).value(); }
  pf::SimClock& clock_ = sim.clock();
};
