// The web views' side of the bridge: navigation decisions, page messages, the opener, click
// pings, and the banner's click test.
#include <gtest/gtest.h>

#include "BannerWorld.h"
#include "platform/base/NotificationCenter.h"
#include "platform/sim/SimUIApplication.h"
#include "platform/ui/MailComposeViewController.h"
#include "sdk/notification/GADNotificationCenter.h"
#include "sdk/opener/GADOpener.h"
#include "sdk/signals/GADSignals.h"
#include "sdk/statistics/GADStatistics.h"
#include "sdk/utility/GADNetworkUtilities.h"
#include "sdk/view/GADWebViewDelegate.h"

namespace {

// A plain web view served by the base delegate, inside a banner world (for its resets).
struct DelegatedPage {
  explicit DelegatedPage(BannerWorld& w) : world(w), web(pf::WebView::create({0, 0, 320, 50})) {
    delegate = GADWebViewDelegate::create();
    delegate->setViewController(world.root);
    web->setDelegate(delegate);
    pf::NotificationCenter::defaultCenter().addObserver(this, GADWebViewDelegateDidReceiveWebAction, web.get(),
                                                        [this](const pf::Notification& n) { announced.push_back(n.userInfo()); });
  }
  ~DelegatedPage() { pf::NotificationCenter::defaultCenter().removeObserver(this); }
  bool go(const std::string& url, pf::WebViewNavigationType type = pf::WebViewNavigationType::LinkClicked) {
    bool allowed = pf::SimUIWebView::of(*web)->navigate(url, type);
    world.sim.clock().runUntilIdle();
    return allowed;
  }
  pf::SimUIWebView& engine() { return *pf::SimUIWebView::of(*web); }

  BannerWorld& world;
  std::shared_ptr<pf::WebView> web;
  std::shared_ptr<GADWebViewDelegate> delegate;
  std::vector<pf::Value> announced;
};

std::string lastRequest(BannerWorld& w) {
  return w.sim.http().requests().empty() ? "" : w.sim.http().requests().back().url().absoluteString();
}

TEST(GADWebViewDelegateTest, OrdinaryNavigationsAreDecidedBySchemeAndAnnounced) {
  const struct {
    const char* url;
    pf::WebViewNavigationType type;
    bool allowed;
    bool announced;
    bool toTheSystem;
  } kCases[] = {
      {"https://advertiser.example/offer", pf::WebViewNavigationType::LinkClicked, true, true, false},
      // a script loading a bare host
      {"http://advertiser.example/", pf::WebViewNavigationType::Other, true, false, false},
      {"http://advertiser.example/ab", pf::WebViewNavigationType::Other, true, true, false},
      {"file:///etc/hosts", pf::WebViewNavigationType::LinkClicked, false, true, false},
      {"tel:+15550100", pf::WebViewNavigationType::LinkClicked, false, true, true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.url);
    BannerWorld world;
    DelegatedPage page(world);
    EXPECT_EQ(page.go(c.url, c.type), c.allowed);
    ASSERT_EQ(page.announced.size(), c.announced ? 1u : 0u);
    if (c.announced) {
      EXPECT_EQ(page.announced[0], pf::Value::dictionary({{"u", c.url}}));
    }
    const auto& opened = pf::SimUIApplication::current().openedURLs();
    EXPECT_EQ(opened.empty() ? "" : opened[0].absoluteString(), c.toTheSystem ? c.url : "");
  }
}

TEST(GADWebViewDelegateTest, MailtoOpensTheMailFormWithItsFields) {
  BannerWorld world;
  DelegatedPage page(world);
  EXPECT_FALSE(page.go("mailto:letters@ashenmoor.example?Subject=Hi%20there&cc=a@x.example,b@x.example&body=Dear"));
  auto composer = std::dynamic_pointer_cast<pf::MailComposeViewController>(world.root->modalViewController());
  ASSERT_TRUE(composer);
  const auto& m = composer->message();
  EXPECT_EQ(m.to, std::vector<std::string>{"letters@ashenmoor.example"});
  EXPECT_EQ(m.cc, (std::vector<std::string>{"a@x.example", "b@x.example"}));
  EXPECT_EQ(m.subject, "Hi there");
  EXPECT_EQ(m.body, "Dear");
  composer->userFinished(pf::MailComposeResult::Cancelled);
  world.sim.clock().advance(1);
  EXPECT_FALSE(world.root->modalViewController());
}

TEST(GADWebViewDelegateTest, MessagesAreActedOnAndNeverLoaded) {
  const std::string click = "http://127.0.0.1:47312/track/click?c=m&ai=SBX7";
  BannerWorld world;
  DelegatedPage page(world);
  auto opening = pf::WebView::create();
  page.delegate->setOpeningWebView(opening);
  std::vector<std::string> posted;
  GADNotificationCenter::defaultCenter().addObserver(&posted, "", page.web.get(),
                                                     [&](const pf::Notification& n) { posted.push_back(n.name()); });

  EXPECT_FALSE(page.go("gmsg://x/click?u=" + GADNetworkUtilities::encodeURL(click)));
  EXPECT_EQ(lastRequest(world).rfind(click + "&", 0), 0u) << "as the statistics sign it: " << lastRequest(world);

  EXPECT_FALSE(page.go("gmsg://x/httpTrack?u=" + GADNetworkUtilities::encodeURL(click)));
  EXPECT_EQ(lastRequest(world), click);

  EXPECT_FALSE(page.go("gmsg://x/log?string=from%20the%20page"));
  EXPECT_EQ(world.log.back().substr(world.log.back().size() - 13), "from the page");

  EXPECT_FALSE(page.go("gmsg://x/touch?tx=3&ty=4"));
  EXPECT_EQ(gad_signals_state().touchCount, 1u);

  EXPECT_FALSE(page.go("gmsg://x/vibrate"));
  EXPECT_EQ(pf::SimUIApplication::current().systemSounds(), std::vector<unsigned>{4095});

  EXPECT_FALSE(page.go("gmsg://x/canOpenURLs?urls=tel%3A1,nope%3Ax"));
  ASSERT_FALSE(page.engine().evaluatedScripts().empty());
  EXPECT_EQ(page.engine().evaluatedScripts().back(),
            "VIZE_ReceiveMessage('openableURLs', {\"nope:x\":false,\"tel:1\":true});");

  EXPECT_FALSE(page.go("gmsg://x/evalInOpener?js=document.title"));
  auto* opener = pf::SimUIWebView::of(*opening);
  ASSERT_EQ(opener->evaluatedScripts(), std::vector<std::string>{"document.title"});
  opener->answerScript("The Lantern Road");
  world.sim.clock().runUntilIdle();
  EXPECT_EQ(page.engine().evaluatedScripts().back(),
            "VIZE_ReceiveMessage('evalJavaScriptInOpenerResult', {\"result\":\"The Lantern Road\"});");

  EXPECT_FALSE(page.go("gmsg://x/settings?supportedorientations=landscape"));
  EXPECT_FALSE(page.go("rodud://closecanvas"));
  EXPECT_EQ(posted, std::vector<std::string>{"settings"}) << "only unhandled names are posted, one pass later";
  EXPECT_EQ(page.announced.size(), 9u);
  EXPECT_EQ(page.announced[0]["a"], pf::Value("click"));
  GADNotificationCenter::defaultCenter().removeObserver(&posted);
}

TEST(GADWebViewDelegateTest, EveryFinishedLoadTellsThePageItsOrientation) {
  BannerWorld world;
  DelegatedPage page(world);
  page.web->loadHTMLString("<p>x</p>", std::nullopt);
  world.sim.clock().runUntilIdle();
  page.engine().finishLoad();
  EXPECT_TRUE(page.delegate->hasLoadedAtLeastOnce());
  ASSERT_EQ(page.engine().evaluatedScripts().size(), 1u);
  EXPECT_EQ(page.engine().evaluatedScripts()[0],
            "window.__defineGetter__('orientation',function(){return 0;});"
            "if(typeof window.onorientationchange==='function')window.onorientationchange();");
}

TEST(GADOpenerTest, LeavingTheApplicationWaitsForRunningPingsAtMostThreeTimes) {
  BannerWorld world("phone-3.1.3");  // no background tasks: running pings are counted
  world.sim.http().respond("http://slow.example/ping", pf::SimResponse::ok("").after(5));
  auto ping = GADClickTracker::create();
  ping->trackURL(pf::Url::parse("http://slow.example/ping"));
  ASSERT_TRUE(GADClickTracker::activeTrackings());

  auto opener = GADOpener::create();
  opener->setDelegateManager(world.ad().delegateManager());
  opener->openNotification(*GADNotification::create("open", pf::Value::dictionary({{"a", "app"}, {"u", "itms-apps://x/1"}})));
  auto& system = pf::SimUIApplication::current();
  world.sim.clock().advance(0.85);
  EXPECT_TRUE(system.openedURLs().empty());
  EXPECT_EQ(GADOpener::repeatCount(), 3);
  world.sim.clock().advance(0.1);
  ASSERT_EQ(system.openedURLs().size(), 1u);
  EXPECT_EQ(GADOpener::repeatCount(), 0);
  EXPECT_EQ(world.callbackNames(), std::vector<std::string>{"leave"});
  ping->reset();
}

TEST(GADClickTrackerTest, ARedirectToAnotherSchemeEndsThePingAsASuccess) {
  struct Heard : GADClickTrackerDelegate {
    void trackerDidRedirect(GADClickTracker&, const pf::Url& url) override { ends.push_back(url.absoluteString()); }
    void trackerDidFailWithError(GADClickTracker&, const std::optional<pf::Error>&) override { ends.push_back("failed"); }
    std::vector<std::string> ends;
  };
  BannerWorld world;
  world.sim.http().respond("http://t.example/store", pf::SimResponse::redirect(302, "itms-apps://apps.example/1"));
  world.sim.http().respond("http://t.example/slow", pf::SimResponse::ok("").after(1));
  auto heard = std::make_shared<Heard>();
  auto tracker = GADClickTracker::create();
  tracker->setDelegate(heard);

  tracker->trackURL(pf::Url::parse("http://t.example/slow"));
  tracker->trackURL(pf::Url::parse("http://t.example/store"));  // abandons the first, unheard
  world.sim.clock().advance(2);
  EXPECT_EQ(heard->ends, std::vector<std::string>{"itms-apps://apps.example/1"});
  EXPECT_TRUE(tracker->hasTracked());
  EXPECT_EQ(tracker->trackingURL()->absoluteString(), "itms-apps://apps.example/1");
}

// A navigation of the banner is a click only when the ad is shown, 0.15 s on, touched, and
// not back/forward or reload; a click never loads inside the banner.
TEST(GADBannerWebViewDelegateTest, TheClickTest) {
  using T = pf::WebViewNavigationType;
  const struct {
    double after;
    bool touched;
    T type;
    const char* url;
    bool loadsInBanner;
    bool counted;
  } kCases[] = {
      {0.1, true, T::LinkClicked, "http://advertiser.example/", true, false},
      {0.2, true, T::BackForward, "http://advertiser.example/", true, false},
      {0.2, true, T::Reload, "http://advertiser.example/", true, false},
      {0.2, false, T::LinkClicked, "http://advertiser.example/", true, false},
      {0.2, true, T::LinkClicked, "http://advertiser.example/", false, true},
      {0.2, true, T::FormSubmitted, "mailto:a@x.example", false, true},
      {0.2, true, T::LinkClicked, "gmsg://x/log?string=tap", false, false},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    const auto& c = kCases[i];
    SCOPED_TRACE(i);
    BannerWorld world;
    world.showAd();
    world.sim.clock().advance(c.after);
    if (c.touched) world.tap();
    EXPECT_EQ(world.adPageView().navigate(c.url, c.type), c.loadsInBanner);
    world.sim.clock().runUntilIdle();
    EXPECT_EQ(GADStatistics::sharedStatistics()->parameters().contains("pcc"), c.counted);
  }
}

}  // namespace
