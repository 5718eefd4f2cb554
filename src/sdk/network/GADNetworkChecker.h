#pragma once
// GADNetworkChecker: the shared reachability monitor whose network type becomes the "net"
// ad request parameter ("wi" or "ed", or nothing while not known or not reachable).
//
//   if (auto net = GADNetworkChecker::sharedChecker()->networkTypeString())
//     parameters.set(kGADParameterNetworkType, *net);
//
// It watches one host (GADConfiguration::reachabilityHost()). The current flags are not
// asked for at start: the type stays undetermined until the platform's first report, which
// arrives on a later run-loop pass. Main thread only.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pf {
class Reachability;
}

class GADNetworkChecker : public std::enable_shared_from_this<GADNetworkChecker> {
 public:
  static constexpr int32_t kNetworkTypeUndetermined = 0;  // not monitoring, or no report yet
  static constexpr int32_t kNetworkTypeNotReachable = 1;
  static constexpr int32_t kNetworkTypeWiFi = 2;      // reachable, not over cellular: "wi"
  static constexpr int32_t kNetworkTypeCellular = 3;  // reachable over cellular: "ed"

  // Made and enabled on first call; kept for the process (until reset).
  static std::shared_ptr<GADNetworkChecker> sharedChecker();
  // Drops the shared checker, which stops monitoring (between tests).
  static void resetSharedCheckerForTesting();

  // A checker for `host`, not yet enabled.
  static std::shared_ptr<GADNetworkChecker> create(std::string host);
  ~GADNetworkChecker();
  GADNetworkChecker(const GADNetworkChecker&) = delete;
  GADNetworkChecker& operator=(const GADNetworkChecker&) = delete;

  const std::string& hostName() const { return host_; }

  // True while a reachability handle exists.
  bool isEnabled() const { return networkRef_ != nullptr; }
  // Starts or stops monitoring; nothing when the flag already holds.
  void setEnabled(bool enabled);

  int32_t networkType() const { return networkType_; }
  // "wi" or "ed"; none while undetermined or not reachable.
  std::optional<std::string> networkTypeString() const;
  // Reports received; never reset.
  uint32_t changeCount() const { return changeCount_; }

  // Type back to undetermined; makes and schedules the handle when there is none. When the
  // platform cannot watch the host the checker stays disabled.
  void startNetworkChecking();
  // Drops the handle and returns the type to undetermined; the count stays.
  void stopNetworkChecking();
  // One report: bit 1 reachable, bit 18 cellular.
  void setNetworkTypeFromFlags(uint32_t flags);

 private:
  explicit GADNetworkChecker(std::string host) : host_(std::move(host)) {}

  std::string host_;
  std::shared_ptr<pf::Reachability> networkRef_;  // present exactly while enabled
  int32_t networkType_ = kNetworkTypeUndetermined;
  uint32_t changeCount_ = 0;
};
