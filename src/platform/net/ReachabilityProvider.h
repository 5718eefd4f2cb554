#pragma once
// pf::ReachabilityProvider: the backend that knows whether hosts can be reached (GIO's
// network monitor on the desktop, test-set flags under sim). One is installed per process
// (or per test); Reachability objects watch through it.
//
// A backend answers flagsForHost() and calls notifyObservers() on the main thread whenever
// the answer may have changed; Reachability does the rest (comparing, delivering on the run
// loop), once for every backend.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/net/ReachabilityFlags.h"

namespace pf {

class ReachabilityObserver {
 public:
  virtual ~ReachabilityObserver() = default;
  virtual void reachabilityMayHaveChanged() = 0;
};

class ReachabilityProvider {
 public:
  virtual ~ReachabilityProvider() = default;

  // Whether a handle for `host` can be made at all (on the phone, making one could fail).
  virtual bool canWatchHost(const std::string& host) const { return !host.empty(); }
  // The flags for `host` now; none while not determined (the name not resolved yet, say).
  virtual std::optional<ReachabilityFlags> flagsForHost(const std::string& host) const = 0;

  // Observers are not retained; a gone observer is skipped and forgotten.
  void addObserver(std::weak_ptr<ReachabilityObserver> observer);
  void removeObserver(const ReachabilityObserver* observer);

  static std::shared_ptr<ReachabilityProvider> installed();
  // Installs `provider` (nullptr uninstalls); returns the previous one.
  static std::shared_ptr<ReachabilityProvider> install(
      std::shared_ptr<ReachabilityProvider> provider);

 protected:
  // Main thread. Safe against observers added or removed while it runs.
  void notifyObservers();

 private:
  std::vector<std::weak_ptr<ReachabilityObserver>> observers_;
};

}  // namespace pf
