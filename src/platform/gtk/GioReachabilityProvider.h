#pragma once
// pf::GioReachabilityProvider: reachability on the desktop, from GIO's network monitor.
//
// A host counts as reachable when the monitor says the network is available (there is a
// route out), and a loopback host (localhost, 127.0.0.0/8, ::1) always does: the bundled
// sandbox is reached that way with no network at all. The desktop's nearest meaning of the
// phone's cellular network is a metered connection: then other hosts are reached "via WWAN",
// else via Wi-Fi. Watchers hear of every "network-changed" and every change of metering.
//
//   pf::ReachabilityProvider::install(std::make_shared<pf::GioReachabilityProvider>());
#include <gio/gio.h>

#include <optional>
#include <string>

#include "platform/gtk/GObjectRef.h"
#include "platform/net/ReachabilityProvider.h"

namespace pf {

class GioReachabilityProvider final : public ReachabilityProvider {
 public:
  // nullptr: the system's monitor, g_network_monitor_get_default(). Main thread.
  explicit GioReachabilityProvider(GNetworkMonitor* monitor = nullptr);
  ~GioReachabilityProvider() override;
  GioReachabilityProvider(const GioReachabilityProvider&) = delete;
  GioReachabilityProvider& operator=(const GioReachabilityProvider&) = delete;

  std::optional<ReachabilityFlags> flagsForHost(const std::string& host) const override;

  static bool isLoopbackHost(const std::string& host);

 private:
  static void networkChanged(GNetworkMonitor* monitor, gboolean available, gpointer self);
  static void meteredChanged(gpointer self);

  GObjectRef<GNetworkMonitor> monitor_;
};

}  // namespace pf
