#include "platform/sim/SimEnvironment.h"

#include <gtest/gtest.h>

#include "platform/base/FileManager.h"
#include "platform/base/UserDefaults.h"
#include "platform/net/URLConnection.h"
#include "platform/ui/Device.h"

namespace {

struct Recorder : pf::URLConnectionDelegate {
  std::vector<std::string> events;
  void connectionDidReceiveResponse(pf::URLConnection&, const pf::URLResponse& r) override {
    events.push_back("response " + std::to_string(r.statusCode()));
  }
  void connectionDidReceiveData(pf::URLConnection&, std::string_view d) override {
    events.push_back("data " + std::string(d));
  }
  void connectionDidFinishLoading(pf::URLConnection&) override { events.push_back("finish"); }
};

TEST(SimEnvironment, EachEnvironmentHasItsOwnFilesAndDefaults) {
  std::string firstRoot;
  {
    pf::SimEnvironment sim;
    firstRoot = sim.root();
    EXPECT_EQ(pf::FileManager::defaultManager().locations().caches, sim.locations().caches);
    EXPECT_TRUE(pf::FileManager::defaultManager().isDirectory(sim.locations().caches));
    auto defaults = pf::UserDefaults::standardUserDefaults();
    defaults->setObject("left-over", pf::Value("x"));
    ASSERT_TRUE(defaults->synchronize());
  }
  EXPECT_FALSE(pf::FileManager::defaultManager().fileExists(firstRoot));
  pf::SimEnvironment sim;
  EXPECT_NE(sim.root(), firstRoot);
  EXPECT_TRUE(pf::UserDefaults::standardUserDefaults()->objectForKey("left-over").isNull());
}

TEST(SimEnvironment, ScriptedHttpRunsOnTheVirtualClock) {
  pf::SimEnvironment sim;
  sim.http().respond("http://127.0.0.1:47311/x", pf::SimResponse::ok("hello").after(2.0));
  auto recorder = std::make_shared<Recorder>();
  auto connection = pf::URLConnection::create(pf::URLRequest(*pf::Url::parse("http://127.0.0.1:47311/x")),
                                              recorder);
  ASSERT_TRUE(connection);
  sim.clock().advance(1.0);
  EXPECT_TRUE(recorder->events.empty());
  sim.clock().advance(1.0);
  EXPECT_EQ(recorder->events, (std::vector<std::string>{"response 200", "data hello", "finish"}));
}

TEST(SimEnvironment, ALoadStillRunningAtTheEndIsEndedQuietly) {
  auto recorder = std::make_shared<Recorder>();
  {
    pf::SimEnvironment sim;
    sim.http().respond("http://h/slow", pf::SimResponse::ok("late").after(100.0));
    pf::URLConnection::create(pf::URLRequest(*pf::Url::parse("http://h/slow")), recorder);
    EXPECT_EQ(pf::URLConnection::loadingCount(), 1u);
  }
  EXPECT_EQ(pf::URLConnection::loadingCount(), 0u);
  pf::SimEnvironment next;
  next.clock().advance(200.0);
  EXPECT_TRUE(recorder->events.empty());
}

TEST(SimEnvironment, DeviceProfileIsTheOneAskedFor) {
  pf::SimEnvironment sim("phone-3.1.3");
  EXPECT_EQ(pf::Device::systemVersion(), "3.1.3");
}

}  // namespace
