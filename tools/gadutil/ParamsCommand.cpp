// gadutil params [--profile <name>]: the parameter dictionary of a fresh ad request on a
// simulated device, as JSON with sorted keys — what the ad core script is given, less the
// slot and frame keys the banner adds.
//
//   gadutil params --profile tablet-3.2     → {"app_name":"iphone.",…,"u_w":"320"}
//
// The simulated world is fresh: a new install (empty statistics), reachable over Wi-Fi (the
// first reachability report is awaited, so "net" is there), the sim clock's start time. The
// language comes from the environment ($LANGUAGE, $LC_ALL…), the app from the main bundle
// ($ASHENMOOR_BUNDLE_PATH).
#include <cstdio>
#include <string>
#include <vector>

#include "GadutilCommand.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/ui/DeviceProfile.h"
#include "sdk/encoding/GAD_SBJSON.h"
#include "sdk/identifier/GADIdentifierUtilities.h"
#include "sdk/network/GADNetworkChecker.h"
#include "sdk/request/GADRequestPrivate.h"
#include "sdk/statistics/GADStatistics.h"

namespace {

constexpr const char* kUsage = "params [--profile <name>]";

int fail(const std::string& message) {
  std::printf("%s\n", message.c_str());
  return 1;
}

std::string composeOn(const std::string& profile) {
  pf::SimEnvironment sim(profile);
  GADNetworkChecker::sharedChecker();
  sim.clock().runUntilIdle();  // the first reachability report

  auto request = GADRequest::request();
  pf::Value params = GADRequestPrivate::from(*request).parameters();

  // The shared objects stand on this simulated world: they go before it does.
  GADStatistics::releaseSharedStatistics();
  GADNetworkChecker::resetSharedCheckerForTesting();
  GADIdentifierUtilities::resetSharedInstance();

  GAD_SBJSON json;
  json.setSortKeys(true);
  return json.stringWithObjectError(params).value_or("");
}

int runParams(const std::vector<std::string>& args) {
  std::string profile = "phone-4.0";
  if (args.size() == 2 && args[0] == "--profile") {
    profile = args[1];
  } else if (!args.empty()) {
    return fail(std::string("usage: gadutil ") + kUsage);
  }
  if (!pf::DeviceProfile::named(profile)) {
    std::string names;
    for (const auto& name : pf::DeviceProfile::shippedNames()) names += (names.empty() ? "" : ", ") + name;
    return fail("unknown device profile '" + profile + "' (" + names + ")");
  }
  std::string text = composeOn(profile);
  if (text.empty()) return fail("the parameters have no JSON form");
  std::printf("%s\n", text.c_str());
  return 0;
}

GadutilCommand paramsCommand("params", kUsage, runParams);

}  // namespace
