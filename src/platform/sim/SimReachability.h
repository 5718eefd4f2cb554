#pragma once
// pf::SimReachability: reachability as the test says — flags for every host, or for one
// host, changed at will. A change reaches watching Reachability objects on a later run-loop
// pass, as a platform's report would.
//
//   auto net = pf::SimReachability::install();          // every host reachable over Wi-Fi
//   checker->setEnabled(true);
//   clock.runUntilIdle();                               // first report: "wi"
//   net->setFlags(pf::ReachabilityFlags::viaWWAN());
//   clock.runUntilIdle();                               // "ed"
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/net/ReachabilityProvider.h"

namespace pf {

class SimReachability : public ReachabilityProvider {
 public:
  // A new provider, installed; uninstall with ReachabilityProvider::install(nullptr).
  static std::shared_ptr<SimReachability> install();

  // Flags of every host without its own; none: not determined (no report is made).
  void setFlags(std::optional<ReachabilityFlags> flags);
  void setFlagsForHost(const std::string& host, std::optional<ReachabilityFlags> flags);
  void clearFlagsForHost(const std::string& host);
  // Makes createWithName fail, as the platform could.
  void setRefusesHandles(bool refuses) { refusesHandles_ = refuses; }

  bool canWatchHost(const std::string& host) const override;
  std::optional<ReachabilityFlags> flagsForHost(const std::string& host) const override;

 private:
  std::optional<ReachabilityFlags> flags_ = ReachabilityFlags::viaWiFi();
  std::map<std::string, std::optional<ReachabilityFlags>, std::less<>> hostFlags_;
  bool refusesHandles_ = false;
};

}  // namespace pf
