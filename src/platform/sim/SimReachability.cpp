#include "platform/sim/SimReachability.h"

namespace pf {

std::shared_ptr<SimReachability> SimReachability::install() {
  auto provider = std::make_shared<SimReachability>();
  ReachabilityProvider::install(provider);
  return provider;
}

void SimReachability::setFlags(std::optional<ReachabilityFlags> flags) {
  flags_ = flags;
  notifyObservers();
}

void SimReachability::setFlagsForHost(const std::string& host,
                                      std::optional<ReachabilityFlags> flags) {
  hostFlags_[host] = flags;
  notifyObservers();
}

void SimReachability::clearFlagsForHost(const std::string& host) {
  if (hostFlags_.erase(host)) notifyObservers();
}

bool SimReachability::canWatchHost(const std::string& host) const {
  return !refusesHandles_ && ReachabilityProvider::canWatchHost(host);
}

std::optional<ReachabilityFlags> SimReachability::flagsForHost(const std::string& host) const {
  auto it = hostFlags_.find(host);
  return it != hostFlags_.end() ? it->second : flags_;
}

}  // namespace pf
