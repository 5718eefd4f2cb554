// The ad object's roads on the sim backend: every transition and failure, the script cache,
// refresh and its pauses, and banners destroyed at any moment.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <thread>

#include "BannerWorld.h"
#include "platform/base/Clock.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/UserDefaults.h"
#include "platform/net/URLError.h"
#include "platform/sim/SimUIApplication.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "sdk/utility/GADPrivateUtilities.h"
#include "sdk/viewcontroller/GADViewController.h"

namespace {

using States = std::vector<int>;

// The ad server's answer with `code`, as the sandbox gives it (a refresh interval too).
pf::SimResponse status(int code) { return pf::SimResponse::withStatus(code).header("X-Vize-Refresh-Rate", "30"); }

TEST(GADObjectPrivateRoads, EveryRoadEndsInItsStateWithItsReportAndRefresh) {
  const struct {
    const char* name;
    std::function<void(BannerWorld&)> drive;
    States states;
    std::vector<std::string> callbacks;
    bool refreshArmed;
    const char* logLine;
  } kRoads[] = {
      {"shown", [](BannerWorld& w) { w.showAd(); }, {3, 1, 3, 4, 5, 6}, {"received"}, true, nullptr},
      {"system too old", [](BannerWorld& w) {
         auto old = pf::Device::profile();
         old.systemVersion = "2.2.1";
         w.sim.ui().setProfile(old);
         w.load();
       }, {7}, {"failed 4"}, false, nullptr},
      {"no root view controller", [](BannerWorld& w) { w.banner->setRootViewController({}), w.load(); },
       {}, {"failed 0"}, false, kGADMissingRootViewControllerMessage},
      {"script unreachable, no copy", [](BannerWorld& w) { w.load(); }, {3, 1, 2}, {"failed 2"}, false, nullptr},
      {"script reports errors",
       [](BannerWorld& w) { w.serveScript(), w.load(), w.scriptSends("loadAdURL?errors=slotname%3A%20missing"); },
       {3, 1, 3, 7}, {"failed 0"}, false, nullptr},
      {"invalid request", [](BannerWorld& w) { w.serveScript(), w.load(), w.scriptSends("invalidRequest?reason=x"); },
       {3, 1, 3, 7}, {"failed 0"}, false, "<Diziva> Invalid Request: "},
      {"unable to serve", [](BannerWorld& w) { w.serveScript(), w.load(), w.scriptSends("unableToServe?reason=x"); },
       {3, 1, 3, 7}, {"failed 0"}, false, "<Diziva> Unable to serve: "},
      {"ad URL missing", [](BannerWorld& w) { w.serveScript(), w.load(), w.scriptSends("loadAdURL?type=html"); },
       {3, 1, 3, 4, 7}, {"failed 2"}, false, nullptr},
      {"no fill", [](BannerWorld& w) { w.loadAd(BannerWorld::adPage(" \r\n\t ")); },
       {3, 1, 3, 4, 7}, {"failed 1"}, true, nullptr},
      {"status 204", [](BannerWorld& w) { w.loadAd(status(204)); }, {3, 1, 3, 4, 7}, {"failed 2"}, true, nullptr},
      {"status 400", [](BannerWorld& w) { w.loadAd(status(400)); }, {3, 1, 3, 4, 7}, {"failed 0"}, true,
       "<Diziva> Server rejected ad parameters.  Typically this is because the ad unit ID is incorrect."},
      {"status 404", [](BannerWorld& w) { w.loadAd(status(404)); }, {3, 1, 3, 4, 7}, {"failed 3"}, true, nullptr},
      {"status 500", [](BannerWorld& w) { w.loadAd(status(500)); }, {3, 1, 3, 4, 7}, {"failed 3"}, true, nullptr},
      {"no connection", [](BannerWorld& w) { w.loadAd(pf::SimResponse::failure(pf::URLError::CannotConnectToHost)); },
       {3, 1, 3, 4, 7}, {"failed 2"}, false, nullptr},
      {"ad page fails to load", [](BannerWorld& w) {
         w.loadAd(BannerWorld::adPage());
         w.adPageView().failLoad(pf::URLError::make(pf::URLError::NotConnectedToInternet, *pf::Url::parse("about:blank")));
         w.sim.clock().runUntilIdle();
       }, {3, 1, 3, 4, 5, 7}, {"failed 2"}, true, nullptr},
  };
  for (const auto& road : kRoads) {
    SCOPED_TRACE(road.name);
    BannerWorld world;
    road.drive(world);
    EXPECT_EQ(world.states(), road.states);
    EXPECT_EQ(world.callbackNames(), road.callbacks);
    EXPECT_EQ(world.ad().reloadFireTime().has_value(), road.refreshArmed);
    EXPECT_EQ(world.ad().isMakingRequest(), false) << "a finished road accepts the next request";
    const bool fetched = std::find(road.states.begin(), road.states.end(), 1) != road.states.end();
    EXPECT_EQ(world.sim.http().requests().empty(), !fetched) << "nothing goes out before the script is fetched";
    if (road.logLine) {
      EXPECT_EQ(world.logged(road.logLine), 1u) << road.logLine;
    }
  }
}

TEST(GADObjectPrivateRoads, ASecondLoadWhileOneIsInFlightIsIgnored) {
  BannerWorld world;
  world.serveScript();
  world.load();
  world.load();
  EXPECT_EQ(world.requestsTo(BannerWorld::kScriptURL), 1u);
  EXPECT_EQ(world.states(), States({3, 1, 3}));
}

TEST(GADObjectPrivateRoads, LoadsRefusedWhileInactiveAfterLaunch) {
  BannerWorld world;
  auto app = pf::Application::sharedApplication();
  app->finishLaunching();  // the launch is over and the application active
  app->resignActive();
  world.serveScript();
  world.load();
  EXPECT_TRUE(world.states().empty());
  app->becomeActive();
  world.load();
  EXPECT_EQ(world.states(), States({3, 1, 3}));
}

TEST(GADObjectPrivateScript, CachedForADayThenRevalidated) {
  BannerWorld world;
  world.showAd();
  EXPECT_EQ(world.traced("\"outcome\":\"200\""), 1u);

  world.load();  // within the day: no network for the script
  EXPECT_EQ(world.traced("\"outcome\":\"cached\""), 1u);
  EXPECT_EQ(world.requestsTo(BannerWorld::kScriptURL), 1u);
  world.scriptBuildsURL();
  world.finishAdLoad();

  world.sim.clock().setNow(pf::Clock::now() + 86401);
  world.sim.http().respondWhen(
      [](const pf::URLRequest& r) { return r.valueForHTTPHeaderField("If-Modified-Since").has_value(); },
      [](const pf::URLRequest&) { return pf::SimResponse::withStatus(304); }, pf::SimURLTransport::Uses::Once);
  world.load();
  EXPECT_EQ(world.traced("\"outcome\":\"304\""), 1u);
  EXPECT_EQ(world.ad().state(), GADAdStateBuildingURL);
  world.scriptBuildsURL();
  world.finishAdLoad();

  // Expired again, and the host is down: the copy we have still builds the URL, silently.
  world.sim.clock().setNow(pf::Clock::now() + 86401);
  world.sim.http().respond(BannerWorld::kScriptURL, pf::SimResponse::failure(pf::URLError::CannotConnectToHost));
  world.load();
  EXPECT_EQ(world.ad().state(), GADAdStateBuildingURL);
  EXPECT_EQ(world.callbackNames(), std::vector<std::string>({"received", "received", "received"}));
}

TEST(GADObjectPrivateScript, GWhirlURLsEndWithTheSignalsThenTheSequenceNumber) {
  BannerWorld world;
  world.serveScript();
  world.serveAd(BannerWorld::adPage());
  world.load();
  world.scriptBuildsURL("gwhirl");
  ASSERT_EQ(world.requestsTo(BannerWorld::kAdPrefix), 1u);
  const std::string url = world.sim.http().requests().back().url().absoluteString();
  EXPECT_TRUE(std::regex_match(url, std::regex(R"(.*/ad\?slotname=a15c0f3e82d9b47&ms=[A-Za-z0-9_-]+&seq_num=1)"))) << url;
}

TEST(GADObjectPrivateRefresh, FollowsTheServersIntervalAndPausesWhileUnseen) {
  BannerWorld world;
  auto& ad = world.ad();
  auto& clock = world.sim.clock();
  world.showAd();
  ASSERT_TRUE(ad.reloadFireTime());
  EXPECT_DOUBLE_EQ(*ad.reloadFireTime() - pf::Clock::monotonic(), 30);
  EXPECT_FALSE(ad.hasAutoRefreshed());

  clock.advance(30);  // the refresh: the same request again, without network for the script
  EXPECT_EQ(ad.state(), GADAdStateBuildingURL);
  EXPECT_TRUE(ad.hasAutoRefreshed());
  world.serveAd(pf::SimResponse::ok("<p>no header</p>"));
  world.scriptBuildsURL();
  world.finishAdLoad();
  EXPECT_DOUBLE_EQ(*ad.reloadFireTime() - pf::Clock::monotonic(), 30) << "a missing header keeps the interval";

  clock.advance(30);
  world.serveAd(pf::SimResponse::ok("<p>stop</p>").header("X-Vize-Refresh-Rate", "0"));
  world.scriptBuildsURL();
  world.finishAdLoad();
  EXPECT_FALSE(ad.reloadFireTime()) << "\"0\" stops refreshing";
  EXPECT_EQ(ad.reloadSeconds(), 30);

  auto& system = pf::SimUIApplication::current();
  system.sendToBackground();
  system.bringToForeground();
  EXPECT_DOUBLE_EQ(*ad.reloadFireTime() - pf::Clock::monotonic(), 30) << "coming back arms a full interval";

  // Full-screen content from another banner pauses this one; giving it up resumes in full.
  auto other = pf::ViewController::create();
  clock.advance(10);
  pf::NotificationCenter::defaultCenter().postNotificationName(GADViewControllerWillPresentFullScreen, other);
  EXPECT_FALSE(ad.reloadFireTime());
  pf::NotificationCenter::defaultCenter().postNotificationName(GADViewControllerDidRelinquishFullScreen, other);
  EXPECT_DOUBLE_EQ(*ad.reloadFireTime() - pf::Clock::monotonic(), 30);

  // A response that completes in the background arms nothing; the return arms the full interval.
  clock.advance(30);
  world.serveAd(BannerWorld::adPage());
  system.sendToBackground();
  world.scriptBuildsURL();
  world.finishAdLoad();
  EXPECT_FALSE(ad.reloadFireTime());
  system.bringToForeground();
  EXPECT_DOUBLE_EQ(*ad.reloadFireTime() - pf::Clock::monotonic(), 30);

  world.load();  // the publisher's
  EXPECT_FALSE(ad.hasAutoRefreshed());
}

TEST(GADObjectPrivateRefresh, AFailedRefreshKeepsRefreshing) {
  BannerWorld world;
  world.showAd();
  world.sim.clock().advance(30);
  world.scriptSends("unableToServe?reason=busy");
  EXPECT_EQ(world.ad().state(), GADAdStateFailed);
  world.sim.clock().advance(30);
  EXPECT_EQ(world.ad().state(), GADAdStateBuildingURL) << "a banner never stays stuck after the script refused";
}

TEST(GADObjectPrivateTracking, HeadersSplitIntoURLs) {
  using URLs = std::optional<std::vector<pf::Url>>;
  auto texts = [](const URLs& urls) {
    std::vector<std::string> out;
    if (urls)
      for (const auto& u : *urls) out.push_back(u.absoluteString());
    return out;
  };
  const struct {
    std::optional<std::string> header;
    bool given;
    std::vector<std::string> expected;
    bool present;
  } kCases[] = {
      {"http://a/1  http://a/2", false, {"http://a/1", "http://a/2"}, true},
      {"   ", false, {}, false},
      {"   ", true, {"http://x/0"}, true},
      {std::nullopt, true, {"http://x/0"}, true},
      {"\thttp://a/1\t http://a/2 ", true, {"http://x/0", "http://a/1", "http://a/2"}, true},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    SCOPED_TRACE(i);
    URLs start;
    if (kCases[i].given) start = std::vector<pf::Url>{*pf::Url::parse("http://x/0")};
    URLs got = GADObjectPrivate::createOrReuseArrayOfURLsFromHeader(start, kCases[i].header);
    EXPECT_EQ(got.has_value(), kCases[i].present);
    EXPECT_EQ(texts(got), kCases[i].expected);
  }
}

TEST(GADObjectPrivateTracking, RedirectHeadersCountAndTrackersGoOnceDone) {
  BannerWorld world;
  world.serveScript();
  world.sim.http().respondToPrefix(std::string(BannerWorld::kAdPrefix) + "?",
                               pf::SimResponse::redirect(302, "/ad/final")
                                   .header("X-Vize-Tracking-Urls", std::string(BannerWorld::kTrackPrefix) + "hop")
                                   .header("X-Vize-Orientation", "Landscape"),
                               pf::SimURLTransport::Uses::Once);
  world.sim.http().respond("http://127.0.0.1:47312/ad/final",
                           BannerWorld::adPage().header("X-Vize-Orientation", "portrait")
                                                .header("X-Vize-Interstitial-Timeout", "eight"));
  world.load();
  world.scriptBuildsURL();
  EXPECT_EQ(world.ad().supportedOrientations(), kGADOrientationPortrait);
  EXPECT_EQ(pf::UserDefaults::standardUserDefaults()->doubleForKey("applicationTimeout"), 0.0);
  ASSERT_EQ(world.ad().pendingTrackingURLs().size(), 2u);
  world.finishAdLoad();
  EXPECT_EQ(world.requestsTo(std::string(BannerWorld::kTrackPrefix) + "hop"), 1u);
  EXPECT_EQ(world.requestsTo(std::string(BannerWorld::kTrackPrefix) + "impression"), 1u);
  EXPECT_TRUE(world.ad().pendingTrackers().empty());
  EXPECT_EQ(world.traced("\"kind\":\"impression\""), 2u);
}

// Destroying the banner stops everything it started, whatever it was doing.
TEST(GADObjectPrivateLifetime, DestroyedInEveryStateNothingFollows) {
  const std::vector<std::pair<int, std::function<void(BannerWorld&)>>> kStates = {
      {0, [](BannerWorld&) {}},
      {1, [](BannerWorld& w) {
         w.sim.http().respond(BannerWorld::kScriptURL, pf::SimResponse::ok("var x;").after(5));
         w.load();
       }},
      {2, [](BannerWorld& w) { w.load(); }},
      {3, [](BannerWorld& w) { w.serveScript(), w.load(); }},
      {4, [](BannerWorld& w) { w.loadAd(BannerWorld::adPage().after(5)); }},
      {5, [](BannerWorld& w) { w.loadAd(BannerWorld::adPage()); }},
      {6, [](BannerWorld& w) { w.showAd(); }},
      {7, [](BannerWorld& w) { w.loadAd(BannerWorld::adPage("")); }},
  };
  const size_t baseline = GADPrivateUtilities::count();
  for (const auto& [state, drive] : kStates) {
    SCOPED_TRACE(state);
    BannerWorld world;
    drive(world);
    ASSERT_EQ(world.ad().state(), state);
    const size_t calls = world.delegate->calls.size(), requests = world.sim.http().requests().size();
    world.banner->removeFromSuperview();
    world.banner.reset();
    world.sim.clock().advance(120);
    EXPECT_EQ(world.delegate->calls.size(), calls);
    EXPECT_EQ(world.sim.http().requests().size(), requests);
    EXPECT_EQ(GADPrivateUtilities::count(), baseline) << "the ad object and its web view's data are gone";
  }
}

TEST(GADObjectPrivateLifetime, ADelegateMayDestroyTheBannerInEveryCallback) {
  const std::vector<std::pair<const char*, std::function<void(BannerWorld&)>>> kCallbacks = {
      {"received", [](BannerWorld& w) { w.showAd(); }},
      {"failed: no fill", [](BannerWorld& w) { w.loadAd(BannerWorld::adPage("")); }},
      {"failed: script refused", [](BannerWorld& w) { w.serveScript(), w.load(), w.scriptSends("invalidRequest"); }},
      {"failed: ad page", [](BannerWorld& w) {
         w.loadAd(BannerWorld::adPage());
         w.adPageView().failLoad(pf::URLError::make(pf::URLError::TimedOut, *pf::Url::parse("about:blank")));
       }},
      {"failed: no root", [](BannerWorld& w) { w.banner->setRootViewController({}), w.load(); }},
  };
  for (const auto& [name, drive] : kCallbacks) {
    SCOPED_TRACE(name);
    BannerWorld world;
    world.delegate->onCall = [&world](const RecordingBannerDelegate::Call&) {
      world.banner->removeFromSuperview();
      world.banner.reset();
    };
    drive(world);
    world.sim.clock().advance(120);
    EXPECT_EQ(world.delegate->calls.size(), 1u);
    EXPECT_FALSE(world.banner);
  }
}

TEST(GADObjectPrivateLifetime, CallbacksFromAnotherThreadArriveOnTheMainThreadBeforeTheCallReturns) {
  BannerWorld world;
  auto manager = world.ad().delegateManager();
  size_t seenAtReturn = 0;
  bool done = false;
  std::thread worker([&] {
    manager->didReceiveAd();
    seenAtReturn = world.delegate->calls.size();
    // The delegate lets the banner go inside this one; the call still returns cleanly.
    manager->didFailToReceiveAdWithError(GADRequestError(kGADErrorNoFill, nullptr));
    done = true;
  });
  world.delegate->onCall = [&world](const RecordingBannerDelegate::Call& call) {
    if (call.name == "failed") world.banner->removeFromSuperview(), world.banner.reset();
  };
  EXPECT_TRUE(world.sim.clock().runUntil([&] { return done; }, 10.0));
  worker.join();
  manager.reset();
  EXPECT_EQ(seenAtReturn, 1u);
  ASSERT_EQ(world.delegate->calls.size(), 2u);
  for (const auto& call : world.delegate->calls) EXPECT_TRUE(call.onMainThread) << call.name;
  EXPECT_FALSE(world.banner);
  world.sim.clock().runUntilIdle();
}

}  // namespace
