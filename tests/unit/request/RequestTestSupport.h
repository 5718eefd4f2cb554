#pragma once
// The request tests' world: a simulated device (clock, folders, defaults, reachability) and
// none of the shared ad-layer objects left over from another test, so each test starts as a
// fresh install.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/Log.h"
#include "platform/sim/SimEnvironment.h"
#include "sdk/identifier/GADIdentifierUtilities.h"
#include "sdk/network/GADNetworkChecker.h"
#include "sdk/signals/GADSignals.h"
#include "sdk/statistics/GADStatistics.h"

class RequestTest : public ::testing::Test {
 protected:
  explicit RequestTest(const std::string& profile = "phone-4.0") : sim(profile) { forgetShared(); }
  ~RequestTest() override { forgetShared(); }

  static void forgetShared() {
    GADStatistics::releaseSharedStatistics();
    GADIdentifierUtilities::resetSharedInstance();
    GADNetworkChecker::resetSharedCheckerForTesting();
    gad_signals_reset();
  }

  // Starts the network checker and lets its first reachability report arrive.
  void settleNetwork() {
    GADNetworkChecker::sharedChecker();
    sim.clock().runUntilIdle();
  }

  pf::SimEnvironment sim;
};

// Console lines written while it lives.
class LogCapture {
 public:
  LogCapture() : previous_(pf::Log::setSink([this](const std::string& line) { lines.push_back(line); })) {}
  ~LogCapture() { pf::Log::setSink(std::move(previous_)); }
  size_t countEndingWith(const std::string& text) const {
    size_t n = 0;
    for (const auto& line : lines)
      if (line.size() >= text.size() && line.compare(line.size() - text.size(), text.size(), text) == 0) ++n;
    return n;
  }
  std::vector<std::string> lines;

 private:
  pf::Log::Sink previous_;
};

// Sets an environment variable for the scope, putting back what was there.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) setenv(name, value, 1); else unsetenv(name);
  }
  ~ScopedEnvironment() {
    if (old_) setenv(name_, old_->c_str(), 1); else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};
