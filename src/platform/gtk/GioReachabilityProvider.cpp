#include "platform/gtk/GioReachabilityProvider.h"

#include <strings.h>

namespace pf {

GioReachabilityProvider::GioReachabilityProvider(GNetworkMonitor* monitor)
    : monitor_(GObjectRef<GNetworkMonitor>::ref(monitor ? monitor
                                                        : g_network_monitor_get_default())) {
  g_signal_connect(monitor_.get(), "network-changed", G_CALLBACK(networkChanged), this);
  g_signal_connect_swapped(monitor_.get(), "notify::network-metered", G_CALLBACK(meteredChanged), this);
}

GioReachabilityProvider::~GioReachabilityProvider() {
  // The default monitor lives for the process; it must not call a provider that is gone.
  g_signal_handlers_disconnect_by_data(monitor_.get(), this);
}

void GioReachabilityProvider::networkChanged(GNetworkMonitor*, gboolean, gpointer self) {
  static_cast<GioReachabilityProvider*>(self)->notifyObservers();
}

void GioReachabilityProvider::meteredChanged(gpointer self) {
  static_cast<GioReachabilityProvider*>(self)->notifyObservers();
}

bool GioReachabilityProvider::isLoopbackHost(const std::string& host) {
  if (strcasecmp(host.c_str(), "localhost") == 0) return true;
  const size_t suffix = sizeof(".localhost") - 1;  // RFC 6761: *.localhost is loopback too
  if (host.size() > suffix &&
      strcasecmp(host.c_str() + host.size() - suffix, ".localhost") == 0)
    return true;
  GInetAddress* address = g_inet_address_new_from_string(host.c_str());
  if (!address) return false;
  const bool loopback = g_inet_address_get_is_loopback(address);
  g_object_unref(address);
  return loopback;
}

std::optional<ReachabilityFlags> GioReachabilityProvider::flagsForHost(
    const std::string& host) const {
  if (isLoopbackHost(host)) return ReachabilityFlags::viaWiFi();
  if (!g_network_monitor_get_network_available(monitor_.get())) return ReachabilityFlags::notReachable();
  return g_network_monitor_get_network_metered(monitor_.get()) ? ReachabilityFlags::viaWWAN()
                                                                : ReachabilityFlags::viaWiFi();
}

}  // namespace pf
