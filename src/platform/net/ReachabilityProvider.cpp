#include "platform/net/ReachabilityProvider.h"

#include <algorithm>

namespace pf {

namespace {
std::shared_ptr<ReachabilityProvider>& slot() {
  static std::shared_ptr<ReachabilityProvider> provider;
  return provider;
}
}  // namespace

std::shared_ptr<ReachabilityProvider> ReachabilityProvider::installed() { return slot(); }

std::shared_ptr<ReachabilityProvider> ReachabilityProvider::install(
    std::shared_ptr<ReachabilityProvider> provider) {
  std::swap(slot(), provider);
  return provider;
}

void ReachabilityProvider::addObserver(std::weak_ptr<ReachabilityObserver> observer) {
  observers_.push_back(std::move(observer));
}

void ReachabilityProvider::removeObserver(const ReachabilityObserver* observer) {
  std::erase_if(observers_, [observer](const auto& weak) {
    auto strong = weak.lock();
    return !strong || strong.get() == observer;
  });
}

void ReachabilityProvider::notifyObservers() {
  std::erase_if(observers_, [](const auto& weak) { return weak.expired(); });
  auto snapshot = observers_;  // an observer may add or remove observers
  for (auto& weak : snapshot)
    if (auto observer = weak.lock()) observer->reachabilityMayHaveChanged();
}

}  // namespace pf
