// pf::GioReachabilityProvider with a network monitor the test controls: flags for loopback
// and other hosts, changes reaching Reachability watchers, a metered network as the phone's
// WWAN, and no call after the provider goes.
#include <gio/gio.h>
#include <gtest/gtest.h>

#include "MainContextWait.h"
#include "platform/base/RunLoop.h"
#include "platform/gtk/GLibRunLoopDriver.h"
#include "platform/gtk/GioReachabilityProvider.h"
#include "platform/net/Reachability.h"
#include "sdk/network/GADNetworkChecker.h"

// A GNetworkMonitor whose availability and metering the test sets.
struct TestMonitor {
  GObject parent;
  gboolean available;
  gboolean metered;
};
struct TestMonitorClass {
  GObjectClass parent;
};

namespace {
enum { kPropAvailable = 1, kPropMetered, kPropConnectivity };
}

static void test_monitor_initable_init(GInitableIface* iface) {
  iface->init = [](GInitable*, GCancellable*, GError**) -> gboolean { return TRUE; };
}
static void test_monitor_iface_init(GNetworkMonitorInterface*) {}

G_DEFINE_TYPE_WITH_CODE(TestMonitor, test_monitor, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(G_TYPE_INITABLE, test_monitor_initable_init)
                            G_IMPLEMENT_INTERFACE(G_TYPE_NETWORK_MONITOR, test_monitor_iface_init))

static void test_monitor_get_property(GObject* object, guint id, GValue* value, GParamSpec*) {
  auto* self = reinterpret_cast<TestMonitor*>(object);
  switch (id) {
    case kPropAvailable: g_value_set_boolean(value, self->available); break;
    case kPropMetered: g_value_set_boolean(value, self->metered); break;
    case kPropConnectivity:
      g_value_set_enum(value, self->available ? G_NETWORK_CONNECTIVITY_FULL
                                              : G_NETWORK_CONNECTIVITY_LOCAL);
      break;
    default: break;
  }
}
static void test_monitor_class_init(TestMonitorClass* klass) {
  GObjectClass* object = G_OBJECT_CLASS(klass);
  object->get_property = test_monitor_get_property;
  g_object_class_override_property(object, kPropAvailable, "network-available");
  g_object_class_override_property(object, kPropMetered, "network-metered");
  g_object_class_override_property(object, kPropConnectivity, "connectivity");
}
static void test_monitor_init(TestMonitor* self) { self->available = self->metered = FALSE; }

namespace {

class GioReachabilityProviderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pf::RunLoop::main().reset();
    pf::RunLoop::main().setDriver(driver_);
    monitor_ = static_cast<TestMonitor*>(g_object_new(test_monitor_get_type(), nullptr));
    provider_ = std::make_shared<pf::GioReachabilityProvider>(G_NETWORK_MONITOR(monitor_));
    pf::ReachabilityProvider::install(provider_);
  }
  void TearDown() override {
    pf::ReachabilityProvider::install(nullptr);
    provider_.reset();
    g_object_unref(monitor_);
    pf::RunLoop::main().reset();
    pf::RunLoop::main().setDriver(nullptr);
  }
  void setAvailable(bool available) {
    monitor_->available = available;
    g_signal_emit_by_name(monitor_, "network-changed", static_cast<gboolean>(available));
  }
  void setMetered(bool metered) {
    monitor_->metered = metered;
    g_object_notify(G_OBJECT(monitor_), "network-metered");
  }

  std::shared_ptr<pf::GLibRunLoopDriver> driver_ = std::make_shared<pf::GLibRunLoopDriver>();
  TestMonitor* monitor_ = nullptr;
  std::shared_ptr<pf::GioReachabilityProvider> provider_;
};

TEST_F(GioReachabilityProviderTest, LoopbackHostsAreReachableWithoutANetwork) {
  for (const char* host : {"localhost", "LOCALHOST", "sandbox.localhost", "127.0.0.1", "127.8.0.3", "::1"})
    EXPECT_EQ(provider_->flagsForHost(host), pf::ReachabilityFlags::viaWiFi()) << host;
  for (const char* host : {"www.example.com", "10.0.0.1", "localhost.example.com", "128.0.0.1"})
    EXPECT_EQ(provider_->flagsForHost(host), pf::ReachabilityFlags::notReachable()) << host;
}

// Each change of the monitor reaches Reachability watchers on the run loop, here the ad
// layer's network checker. The desktop's nearest meaning of the phone's cellular network is a
// metered connection: the ad requests' "net" reads "ed" there, "wi" on another network and
// nothing without one.
TEST_F(GioReachabilityProviderTest, ChangesReachWatchersAndAMeteredNetworkIsTheDesktopsWWAN) {
  auto checker = GADNetworkChecker::create("www.example.com");
  checker->setEnabled(true);
  const struct {
    bool available, metered;
    std::optional<std::string> net;
  } kStates[] = {{true, true, "ed"}, {true, false, "wi"}, {false, false, std::nullopt}, {true, false, "wi"},
                 {true, true, "ed"}};
  for (const auto& s : kStates) {
    SCOPED_TRACE(s.net.value_or("(none)"));
    // Only what changes is signalled: after the first state, one signal brings each change.
    if (monitor_->available != s.available) setAvailable(s.available);
    if (monitor_->metered != s.metered) setMetered(s.metered);
    EXPECT_TRUE(runMainContextUntil([&] { return checker->networkTypeString() == s.net; }, 2.0))
        << checker->networkTypeString().value_or("(none)");
    EXPECT_EQ(provider_->flagsForHost("www.example.com")->isWWAN(), s.metered);
    EXPECT_FALSE(provider_->flagsForHost("127.0.0.1")->isWWAN()) << "loopback is never the WWAN";
  }
}

TEST_F(GioReachabilityProviderTest, AProviderGoneIsNotCalledByItsMonitor) {
  const guint signal = g_signal_lookup("network-changed", G_TYPE_NETWORK_MONITOR);
  EXPECT_TRUE(g_signal_has_handler_pending(monitor_, signal, 0, FALSE));
  pf::ReachabilityProvider::install(nullptr);
  provider_.reset();
  EXPECT_FALSE(g_signal_has_handler_pending(monitor_, signal, 0, FALSE));
  setAvailable(true);  // the system's monitor outlives providers
}

}  // namespace
