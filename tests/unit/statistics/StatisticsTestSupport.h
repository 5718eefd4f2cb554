#pragma once
// The statistics tests' world: virtual time, the app's folders and the standard user
// defaults in a fresh temp folder, no shared statistics and a fresh ad signals module.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/base/FileManager.h"
#include "platform/base/UserDefaults.h"
#include "platform/sim/SimClock.h"
#include "sdk/signals/GADSignals.h"
#include "sdk/statistics/GADStatistics.h"

class StatisticsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/gadstats-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    previous_ = files().locations();
    files().setLocations(pf::FileLocations::under(root_));
    pf::UserDefaults::resetStandardUserDefaults();
    GADStatistics::releaseSharedStatistics();
    gad_signals_reset();
  }

  void TearDown() override {
    GADStatistics::releaseSharedStatistics();
    pf::UserDefaults::resetStandardUserDefaults();
    files().setLocations(previous_);
    std::filesystem::remove_all(root_);
  }

  static pf::FileManager& files() { return pf::FileManager::defaultManager(); }
  static std::shared_ptr<GADStatistics> stats() { return GADStatistics::sharedStatistics(); }
  // The standard user defaults as a new process would read them from disk.
  static std::shared_ptr<pf::UserDefaults> defaultsOnDisk() {
    return pf::UserDefaults::create(pf::UserDefaults::standardPath());
  }

  pf::SimClock clock_;
  std::string root_;
  pf::FileLocations previous_;
};
