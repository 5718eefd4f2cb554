#pragma once
// GADConfiguration: the few values that are configuration rather than code, each a compiled
// default that points at the bundled sandbox on loopback and an environment variable to
// point elsewhere. There is no configuration file.
//
//   ASHENMOOR_REACHABILITY_HOST   host whose reachability GADNetworkChecker watches
//                                 (default: the sandbox's ad server host, 127.0.0.1)
//   ASHENMOOR_AD_NETWORK_DOMAIN   domain whose click-tracking URLs carry the impression
//                                 ticket GADStatistics keeps (default: the sandbox, 127.0.0.1)
#include <string>

class GADConfiguration {
 public:
  GADConfiguration() = delete;

  static constexpr const char* kDefaultReachabilityHost = "127.0.0.1";
  static constexpr const char* kDefaultAdNetworkDomain = "127.0.0.1";

  // Read from the environment at each call, so a test can change it; an empty variable
  // counts as unset.
  static std::string reachabilityHost();
  static std::string adNetworkDomain();
};
