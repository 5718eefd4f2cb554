#include "sdk/network/GADNetworkChecker.h"

#include "platform/net/Reachability.h"
#include "sdk/utility/GADConfiguration.h"

namespace {
std::shared_ptr<GADNetworkChecker>& sharedInstance() {
  static std::shared_ptr<GADNetworkChecker> checker;
  return checker;
}
}  // namespace

std::shared_ptr<GADNetworkChecker> GADNetworkChecker::sharedChecker() {
  auto& checker = sharedInstance();
  if (!checker) {
    checker = create(GADConfiguration::reachabilityHost());
    checker->setEnabled(true);
  }
  return checker;
}

void GADNetworkChecker::resetSharedCheckerForTesting() { sharedInstance().reset(); }

std::shared_ptr<GADNetworkChecker> GADNetworkChecker::create(std::string host) {
  return std::shared_ptr<GADNetworkChecker>(new GADNetworkChecker(std::move(host)));
}

GADNetworkChecker::~GADNetworkChecker() { stopNetworkChecking(); }

void GADNetworkChecker::setEnabled(bool enabled) {
  if (enabled == isEnabled()) return;
  if (enabled)
    startNetworkChecking();
  else
    stopNetworkChecking();
}

std::optional<std::string> GADNetworkChecker::networkTypeString() const {
  switch (networkType_) {
    case kNetworkTypeWiFi: return "wi";
    case kNetworkTypeCellular: return "ed";
    default: return std::nullopt;
  }
}

void GADNetworkChecker::startNetworkChecking() {
  networkType_ = kNetworkTypeUndetermined;
  if (networkRef_) return;
  auto reachability = pf::Reachability::createWithName(host_);
  if (!reachability) return;  // stays disabled, type undetermined; nothing to report
  // Weak: the handle is ours, and a report must not keep a dropped checker alive.
  reachability->setCallback([weak = weak_from_this()](pf::ReachabilityFlags flags) {
    if (auto self = weak.lock()) self->setNetworkTypeFromFlags(flags.bits);
  });
  reachability->startNotifier();
  networkRef_ = std::move(reachability);
}

void GADNetworkChecker::stopNetworkChecking() {
  if (!networkRef_) return;
  networkRef_->stopNotifier();
  networkRef_.reset();
  networkType_ = kNetworkTypeUndetermined;
}

void GADNetworkChecker::setNetworkTypeFromFlags(uint32_t flags) {
  ++changeCount_;
  pf::ReachabilityFlags f{flags};
  if (!f.reachable())
    networkType_ = kNetworkTypeNotReachable;
  else
    networkType_ = f.isWWAN() ? kNetworkTypeCellular : kNetworkTypeWiFi;
}
