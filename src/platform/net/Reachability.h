#pragma once
// pf::Reachability: watches whether one host can be reached and reports changes on the main
// run loop, as a reachability handle scheduled on the phone's main run loop reports.
//
// After startNotifier() the callback hears the flags once they are known (on a later pass,
// never from inside startNotifier()), then each time they change. Changes that come and go
// within one pass are reported as their net result. stopNotifier(), or the object's end,
// drops reports not yet delivered.
//
//   reachability_ = pf::Reachability::createWithName("www.example.com");
//   if (reachability_) {
//     reachability_->setCallback([weak = weak_from_this()](pf::ReachabilityFlags flags) {
//       if (auto self = weak.lock()) self->setNetworkTypeFromFlags(flags.bits);
//     });
//     reachability_->startNotifier();
//   }
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/net/ReachabilityFlags.h"
#include "platform/net/ReachabilityProvider.h"

namespace pf {

class Reachability : public std::enable_shared_from_this<Reachability> {
 public:
  using Callback = std::function<void(ReachabilityFlags)>;

  // None when no provider is installed or it cannot watch `host`.
  static std::shared_ptr<Reachability> createWithName(const std::string& host);
  ~Reachability();

  Reachability(const Reachability&) = delete;
  Reachability& operator=(const Reachability&) = delete;

  const std::string& hostName() const { return host_; }
  // The flags now, asked of the backend; none while not determined.
  std::optional<ReachabilityFlags> flags() const { return provider_->flagsForHost(host_); }

  // The callback may stop the notifier or let go of this object.
  void setCallback(Callback callback) { callback_ = std::move(callback); }
  // Starting twice is starting once. Answers true.
  bool startNotifier();
  void stopNotifier();
  bool isNotifying() const { return watcher_ != nullptr; }

 private:
  class Watcher;

  Reachability(std::string host, std::shared_ptr<ReachabilityProvider> provider);
  void scheduleReport();
  void report();

  std::string host_;
  std::shared_ptr<ReachabilityProvider> provider_;
  std::shared_ptr<Watcher> watcher_;  // present while notifying
  Callback callback_;
  std::optional<ReachabilityFlags> lastReported_;
  bool reportScheduled_ = false;
};

}  // namespace pf
