#include "sdk/utility/GADConfiguration.h"

#include <cstdlib>

namespace {
std::string fromEnvironment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}
}  // namespace

std::string GADConfiguration::reachabilityHost() {
  return fromEnvironment("ASHENMOOR_REACHABILITY_HOST", kDefaultReachabilityHost);
}

std::string GADConfiguration::adNetworkDomain() {
  return fromEnvironment("ASHENMOOR_AD_NETWORK_DOMAIN", kDefaultAdNetworkDomain);
}
