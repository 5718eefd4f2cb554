// Full-screen screens on sim: presenting and giving back (first and nested), what the
// publisher's settings look like afterwards, the appearance latch, rotation limits, the
// browser's and the overlay's own rules, the opener's dispatch and tap safety.
#include <gtest/gtest.h>

#include "BannerWorld.h"
#include "platform/base/Clock.h"
#include "platform/base/NotificationCenter.h"
#include "platform/sim/SimUIApplication.h"
#include "platform/ui/Application.h"
#include "sdk/browser/GADBrowserController.h"
#include "sdk/opener/GADOpener.h"
#include "sdk/utility/GADNetworkUtilities.h"
#include "sdk/utility/GADPrivateUtilities.h"
#include "sdk/webapp/GADWebAppViewController.h"

namespace {

struct ScreenEvents : GADBannerViewDelegate {
  void adViewWillPresentScreen(const std::shared_ptr<GADBannerView>&) override { log.push_back("willPresent"); }
  void adViewWillDismissScreen(const std::shared_ptr<GADBannerView>&) override { log.push_back("willDismiss"); }
  void adViewDidDismissScreen(const std::shared_ptr<GADBannerView>&) override { log.push_back("didDismiss"); }
  void adViewWillLeaveApplication(const std::shared_ptr<GADBannerView>&) override { log.push_back("leave"); }
  std::vector<std::string> log;
};

// A delegate manager whose events land in `events`, and the full-screen notifications too.
struct Watched {
  explicit Watched(BannerWorld& w) : world(w), manager(GADDelegateManager::create()) {
    manager->setBannerDelegate(events);
    auto& center = pf::NotificationCenter::defaultCenter();
    center.addObserver(this, GADViewControllerWillPresentFullScreen, nullptr,
                       [this](const pf::Notification&) { events->log.push_back("WillPresentFullScreen"); });
    center.addObserver(this, GADViewControllerDidRelinquishFullScreen, nullptr,
                       [this](const pf::Notification&) { events->log.push_back("DidRelinquishFullScreen"); });
  }
  ~Watched() { pf::NotificationCenter::defaultCenter().removeObserver(this); }
  BannerWorld& world;
  std::shared_ptr<ScreenEvents> events = std::make_shared<ScreenEvents>();
  std::shared_ptr<GADDelegateManager> manager;
};

using Log = std::vector<std::string>;

// The status bar hidden and the screen kept awake while a screen is up; afterwards the
// publisher's own settings as they were, whichever they were. The overlay's page hears
// "onshow" once, after its first load, and "onhide" at every covering; it outlives the
// overlay two seconds, blanked.
TEST(GADViewControllerTest, FirstAndNestedScreensPresentAndGiveBack) {
  for (bool publishers : {false, true}) {
    SCOPED_TRACE(publishers ? "the publisher's bar hidden, screen awake" : "the publisher's defaults");
    BannerWorld world;
    Watched watched(world);
    auto app = pf::Application::sharedApplication();
    app->setStatusBarHiddenWithAnimation(publishers, pf::StatusBarAnimation::None);
    app->setIdleTimerDisabled(publishers);
    std::weak_ptr<GADWebAppViewController> gone;
    {
      auto overlay = GADWebAppViewController::create();
      overlay->setDelegateManager(watched.manager);
      overlay->load(pf::Url::parse("http://landing.example/webapp"));
      overlay->loadHTML("<p>dropped</p>", std::nullopt);
      overlay->presentFromViewController(world.root);
      gone = overlay;
    }
    EXPECT_TRUE(app->isStatusBarHidden());
    EXPECT_TRUE(app->isIdleTimerDisabled());
    world.sim.clock().advance(1);  // appeared while loading: "onshow" waits for the load
    auto overlay = gone.lock();
    ASSERT_TRUE(overlay) << "on screen, it keeps itself";
    EXPECT_TRUE(overlay->view()->isUserInteractionEnabled()) << "the appearance opened the latch";
    auto web = overlay->webView();
    auto page = pf::SimUIWebView::of(*web);
    EXPECT_EQ(web->request()->url().absoluteString(), "http://landing.example/webapp");
    auto sent = [&](const std::string& name) {
      size_t n = 0;
      for (const auto& s : page->evaluatedScripts()) n += s.rfind("VIZE_ReceiveMessage('" + name + "'", 0) == 0;
      return n;
    };
    EXPECT_EQ(sent("onshow"), 0u);
    page->finishLoad();
    EXPECT_EQ(sent("onshow"), 1u);
    page->navigate("http://landing.example/webapp2");
    world.sim.clock().runUntilIdle();
    page->finishLoad();
    EXPECT_EQ(sent("onshow"), 1u);

    auto browser = GADBrowserController::create();
    browser->setDelegateManager(watched.manager);
    browser->presentFromViewController(overlay);  // nested: notifications only
    world.sim.clock().advance(1);
    EXPECT_EQ(sent("onhide"), 1u);
    browser->relinquishScreen();
    browser.reset();
    world.sim.clock().advance(1);
    EXPECT_EQ(sent("onshow"), 1u);
    overlay->relinquishScreen();
    overlay.reset();
    world.sim.clock().advance(1);
    EXPECT_TRUE(gone.expired());
    EXPECT_EQ(sent("onhide"), 2u);
    EXPECT_EQ(watched.events->log, (Log{"WillPresentFullScreen", "willPresent", "WillPresentFullScreen",
                                        "DidRelinquishFullScreen", "willDismiss", "DidRelinquishFullScreen",
                                        "didDismiss"}));
    EXPECT_EQ(app->isStatusBarHidden(), publishers);
    EXPECT_EQ(app->isIdleTimerDisabled(), publishers);
    EXPECT_EQ(web.use_count(), 2) << "kept by the delayed release";
    world.sim.clock().advance(1.5);
    EXPECT_EQ(web.use_count(), 1);
    EXPECT_EQ(page->loadedHTML(), "") << "blanked before it goes";
  }
}

TEST(GADViewControllerTest, WithoutPresenterOneLogLineAndNobodyHearsAnything) {
  BannerWorld world;
  Watched watched(world);
  std::weak_ptr<GADBrowserController> orphan;
  {
    auto lost = GADBrowserController::create();
    lost->setDelegateManager(watched.manager);
    lost->presentFromViewController(nullptr);
    orphan = lost;
  }
  EXPECT_TRUE(orphan.expired());
  EXPECT_EQ(world.logged(kGADNoViewControllerMessage), 1u);
  EXPECT_TRUE(watched.events->log.empty());
}

TEST(GADViewControllerTest, OrientationCodesLimitRotation) {
  using O = pf::InterfaceOrientation;
  BannerWorld world;
  const struct {
    const char* text;
    int code;
    std::vector<O> allowed;
  } kCases[] = {
      {"any", 1, {O::Portrait, O::PortraitUpsideDown, O::LandscapeLeft, O::LandscapeRight}},
      {"portrait", 2, {O::Portrait, O::PortraitUpsideDown}},
      {"landscape", 3, {O::LandscapeLeft, O::LandscapeRight}},
      {"Portrait", 0, {O::Portrait, O::PortraitUpsideDown, O::LandscapeLeft, O::LandscapeRight}},  // ignored: stays 1
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(GADViewController::orientationFromString(c.text), c.code);
    auto screen = GADViewController::create();
    screen->setSupportedOrientations(GADViewController::orientationFromString(c.text));
    std::vector<O> allowed;
    for (O o : {O::Portrait, O::PortraitUpsideDown, O::LandscapeLeft, O::LandscapeRight})
      if (screen->shouldAutorotateToInterfaceOrientation(o)) allowed.push_back(o);
    EXPECT_EQ(allowed, c.allowed);
  }
}

TEST(GADViewControllerTest, SettingsCountOnlyFromTheScreensOwnPage) {
  BannerWorld world;
  auto overlay = GADWebAppViewController::create();
  overlay->loadHTML("<p>x</p>", std::nullopt);
  overlay->presentFromViewController(world.root);
  world.sim.clock().advance(1);
  auto page = pf::SimUIWebView::of(*overlay->webView());
  auto stranger = pf::WebView::create();
  auto strangerDelegate = GADWebViewDelegate::create();
  stranger->setDelegate(strangerDelegate);
  pf::SimUIWebView::of(*stranger)->navigate("gmsg://x/settings?supportedOrientations=landscape");
  world.sim.clock().runUntilIdle();
  EXPECT_EQ(overlay->supportedOrientations(), kGADOrientationAny);
  page->navigate("gmsg://x/settings?supportedOrientations=portrait");
  world.sim.clock().runUntilIdle();
  EXPECT_EQ(overlay->supportedOrientations(), kGADOrientationPortrait);
  page->navigate("gmsg://x/close");
  world.sim.clock().advance(1);
  EXPECT_FALSE(world.root->modalViewController()) << "the page's \"close\" gives the screen back";
}

TEST(GADBrowserControllerTest, BuiltOnFirstAppearanceWithTheLastURLAndItsReferer) {
  BannerWorld world;
  auto browser = GADBrowserController::create();
  browser->load(pf::Url::parse("http://first.example/"), pf::Url::parse("http://banner.example/ad"));
  browser->load(pf::Url::parse("http://landing.example/page"), pf::Url::parse("http://banner.example/ad"));
  EXPECT_FALSE(browser->webView());
  browser->presentFromViewController(world.root);
  auto web = browser->webView();
  ASSERT_TRUE(web);
  ASSERT_TRUE(web->request());
  EXPECT_EQ(web->request()->url().absoluteString(), "http://landing.example/page");
  EXPECT_EQ(web->request()->valueForHTTPHeaderField("Referer"), "http://banner.example/ad");
  EXPECT_EQ(pf::SimUIWebView::of(*web)->historySize(), 1u) << "loaded once";
}

// The toolbar follows the page: back and forward as the history allows, the spinner in the
// middle and "open outside" off while loading, Done always on.
TEST(GADBrowserControllerTest, TheToolbarFollowsThePage) {
  BannerWorld world;
  auto browser = GADBrowserController::create();
  browser->load(pf::Url::parse("http://landing.example/1"));
  browser->presentFromViewController(world.root);
  auto page = pf::SimUIWebView::of(*browser->webView());
  auto items = [&] {
    std::string shown;
    for (const auto& item : browser->toolbar()->items()) {
      if (item->isSpace()) continue;
      shown += item->accessibilityLabel() + (item->isEnabled() ? "+ " : "- ");
    }
    return shown;
  };
  world.sim.clock().runUntilIdle();  // the first load starts
  EXPECT_EQ(items(), "Back- Forward- Spinner+ View in Safari- Done+ ");
  page->finishLoad();
  EXPECT_EQ(items(), "Back- Forward- Reload+ View in Safari+ Done+ ");
  page->navigate("http://landing.example/2");
  world.sim.clock().runUntilIdle();
  page->finishLoad();
  EXPECT_EQ(items(), "Back+ Forward- Reload+ View in Safari+ Done+ ");
  browser->back();
  world.sim.clock().runUntilIdle();
  page->finishLoad();
  EXPECT_EQ(items(), "Back- Forward+ Reload+ View in Safari+ Done+ ");
  EXPECT_EQ(browser->toolbar()->items().size(), 9u);
}

TEST(GADBrowserControllerTest, ToolbarHeightByDeviceAndOrientation) {
  const struct {
    const char* profile;
    bool landscape;
    double height;
  } kCases[] = {{"phone-4.0", false, 44}, {"phone-4.0", true, 30}, {"tablet-3.2", true, 30}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.profile) + (c.landscape ? " landscape" : " portrait"));
    BannerWorld world(c.profile);
    if (c.landscape)
      pf::Application::sharedApplication()->setStatusBarOrientation(pf::InterfaceOrientation::LandscapeLeft, false);
    auto browser = GADBrowserController::create();
    browser->presentFromViewController(world.root);
    EXPECT_EQ(browser->toolbar()->frame().height(), c.height);
  }
}

TEST(GADBrowserControllerTest, BackFromTheBackgroundBeforeAnyPageLoadedItCloses) {
  BannerWorld world;
  auto browser = GADBrowserController::create();
  browser->load(pf::Url::parse("http://landing.example/slow"));
  browser->presentFromViewController(world.root);
  std::weak_ptr<GADBrowserController> weak = browser;
  browser.reset();
  world.sim.clock().advance(1);
  auto& system = pf::SimUIApplication::current();
  system.sendToBackground();
  system.bringToForeground();
  world.sim.clock().advance(1);
  EXPECT_TRUE(weak.expired());
  EXPECT_FALSE(world.root->modalViewController());
}

TEST(GADOpenerTest, EachActionOpensWhereItSays) {
  const struct {
    const char* query;
    const char* presented;  // the kind of screen presented, or "" for none
    const char* systemURL;  // what went to another application, or ""
  } kCases[] = {
      {"a=browser&u=http%3A%2F%2Fl.example%2F&o=l", "browser", ""},
      {"a=video&u=http%3A%2F%2Fl.example%2Fv", "browser", ""},
      {"a=webapp&u=http%3A%2F%2Fl.example%2Fw", "webapp", ""},
      {"a=webapp&html=%3Cp%3Ehi%3C%2Fp%3E", "webapp", ""},
      {"a=call&u=tel%3A%2B15550123", "", "tel:+15550123"},
      {"a=app&u=itms-apps%3A%2F%2Fx%2F1", "", "itms-apps://x/1"},
      {"u=maps%3A%2F%2Fq", "", "maps://q"},
      {"a=browser", "", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.query);
    BannerWorld world;
    auto opener = GADOpener::create();
    opener->setViewController(world.root);
    opener->openNotification(*GADNotification::notificationFromURL(*pf::Url::parse(std::string("gmsg://x/open?") + c.query)));
    world.sim.clock().advance(1);
    auto shown = world.root->modalViewController();
    std::string kind = std::dynamic_pointer_cast<GADBrowserController>(shown)  ? "browser"
                       : std::dynamic_pointer_cast<GADWebAppViewController>(shown) ? "webapp"
                                                                                  : "";
    EXPECT_EQ(kind, c.presented);
    const auto& opened = pf::SimUIApplication::current().openedURLs();
    EXPECT_EQ(opened.empty() ? "" : opened[0].absoluteString(), c.systemURL);
    auto screen = std::dynamic_pointer_cast<GADViewController>(shown);
    if (screen && std::string(c.query).find("o=l") != std::string::npos) {
      EXPECT_EQ(screen->supportedOrientations(), kGADOrientationLandscape);
    }
  }
}

// Without a tap, a banner cannot take the user away; with one it can.
TEST(GADBannerWebViewDelegateTest, TapSafety) {
  const std::string landing = GADNetworkUtilities::encodeURL("http://127.0.0.1:47312/landing/browser.html");
  const std::string kAttempts[] = {"gmsg://sandbox/open?a=browser&u=" + landing, "rodud://launch/?url=" + landing,
                                   "mailto:auto@ashenmoor.example?subject=auto", "tel:+15550199",
                                   "itms-apps://apps.example/app/auto"};
  for (bool tapped : {false, true}) {
    for (const auto& attempt : kAttempts) {
      SCOPED_TRACE(attempt + (tapped ? " after a tap" : " untouched"));
      BannerWorld world;
      world.showAd();
      world.sim.clock().advance(0.5);
      if (tapped) world.tap();
      EXPECT_FALSE(world.adPageView().navigate(attempt, pf::WebViewNavigationType::Other));
      world.adPageView().navigate(attempt, pf::WebViewNavigationType::Other);  // twice: one log line
      world.sim.clock().advance(1);
      const bool leftOrPresented =
          world.root->modalViewController() || !pf::SimUIApplication::current().openedURLs().empty();
      EXPECT_EQ(leftOrPresented, tapped);
      EXPECT_EQ(world.traced("\"event\":\"refused\""), tapped ? 0u : 2u);
      EXPECT_EQ(world.logged("without a tap"), tapped ? 0u : 1u);
    }
  }
}

TEST(GADObjectPrivateRefresh, ALoadInFlightWhenFullScreenStartsShowsButWaitsForTheScreenBack) {
  BannerWorld world;
  world.loadAd(BannerWorld::adPage());  // the ad is loading into the banner
  auto browser = GADBrowserController::create();
  browser->presentFromViewController(world.root);
  world.finishAdLoad();
  EXPECT_EQ(world.ad().state(), GADAdStateShown);
  EXPECT_FALSE(world.ad().reloadFireTime()) << "no refresh while the screen is covered";
  world.sim.clock().advance(60);
  EXPECT_EQ(world.ad().state(), GADAdStateShown);
  browser->relinquishScreen();
  ASSERT_TRUE(world.ad().reloadFireTime());
  EXPECT_DOUBLE_EQ(*world.ad().reloadFireTime() - pf::Clock::monotonic(), 30);
}

// A hundred openings and closings of each screen leave nothing behind: no controller, page
// area or delegate, and the private-object registry as it was.
TEST(GADViewControllerTest, AHundredCyclesLeaveNothingBehind) {
  BannerWorld world;
  world.sim.clock().advance(1);
  const size_t baseline = GADPrivateUtilities::count();
  auto opener = GADOpener::create();
  opener->setViewController(world.root);
  std::vector<std::weak_ptr<void>> seen;
  for (int i = 0; i < 100; ++i) {
    if (i % 2)
      opener->openBrowserToURLSupportedOrientations(*pf::Url::parse("http://landing.example/b"), 1);
    else
      opener->openWebAppSupportedOrientations(*pf::Url::parse("http://landing.example/w"), 1);
    auto screen = std::dynamic_pointer_cast<GADViewController>(world.root->modalViewController());
    ASSERT_TRUE(screen);
    auto page = screen->pageWebView();
    seen.push_back(screen);
    seen.push_back(page);
    seen.push_back(page ? page->delegate() : nullptr);
    pf::SimUIWebView::of(*page)->finishLoad();
    world.sim.clock().advance(0.5);
    screen->relinquishScreen();
    world.sim.clock().advance(2.5);  // the overlay's page goes 2 s after it
  }
  for (size_t i = 0; i < seen.size(); ++i) EXPECT_TRUE(seen[i].expired()) << i;
  EXPECT_EQ(GADPrivateUtilities::count(), baseline);
}

}  // namespace
