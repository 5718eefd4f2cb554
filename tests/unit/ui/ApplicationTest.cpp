// The application: lifecycle calls and notifications in order, status bar, idle timer,
// URLs, background tasks.
#include <gtest/gtest.h>

#include "UIFixture.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/ValueBlockCache.h"
#include "platform/sim/SimUIApplication.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/Screen.h"

namespace {

class RecordingDelegate : public pf::ApplicationDelegate {
 public:
  explicit RecordingDelegate(std::vector<std::string>* log) : log_(log) {}
  bool applicationDidFinishLaunchingWithOptions(pf::Application& app, const pf::Value&) override {
    log_->push_back(std::string("delegate didFinishLaunching state ") + std::to_string(int(app.applicationState())));
    return true;
  }
  void applicationWillResignActive(pf::Application&) override { log_->push_back("delegate willResignActive"); }
  void applicationDidEnterBackground(pf::Application&) override { log_->push_back("delegate didEnterBackground"); }
  void applicationWillEnterForeground(pf::Application&) override { log_->push_back("delegate willEnterForeground"); }
  void applicationDidBecomeActive(pf::Application& app) override {
    log_->push_back("delegate didBecomeActive state " + std::to_string(int(app.applicationState())));
  }
  void applicationWillTerminate(pf::Application&) override { log_->push_back("delegate willTerminate"); }
  void applicationDidReceiveMemoryWarning(pf::Application&) override { log_->push_back("delegate memoryWarning"); }

 private:
  std::vector<std::string>* log_;
};

class ApplicationTest : public uitest::UITest {
 protected:
  explicit ApplicationTest(const std::string& profile = "phone-4.0") : UITest(profile) {}
  void SetUp() override {
    app = pf::Application::sharedApplication();
    delegate = std::make_shared<RecordingDelegate>(&log);
    app->setDelegate(delegate);
    auto& center = pf::NotificationCenter::defaultCenter();
    for (const char* name : {pf::UIApplicationDidFinishLaunchingNotification, pf::UIApplicationWillResignActiveNotification,
                             pf::UIApplicationDidEnterBackgroundNotification,
                             pf::UIApplicationWillEnterForegroundNotification,
                             pf::UIApplicationDidBecomeActiveNotification, pf::UIApplicationWillTerminateNotification,
                             pf::UIApplicationDidReceiveMemoryWarningNotification})
      center.addObserver(this, name, app.get(), [this](const pf::Notification& n) {
        EXPECT_EQ(n.objectAs<pf::Application>(), app);
        log.push_back(n.name());
      });
  }
  void TearDown() override { pf::NotificationCenter::defaultCenter().removeObserver(this); }
  std::shared_ptr<pf::Application> app;
  std::shared_ptr<RecordingDelegate> delegate;
};

TEST_F(ApplicationTest, LaunchThenBackgroundAndForegroundInTheOriginalOrder) {
  EXPECT_TRUE(app->finishLaunching());
  EXPECT_EQ(log, (Log{"delegate didFinishLaunching state 1", "UIApplicationDidFinishLaunchingNotification",
                      "delegate didBecomeActive state 0", "UIApplicationDidBecomeActiveNotification"}));
  log.clear();
  pf::SimUIApplication::current().sendToBackground();
  EXPECT_EQ(app->applicationState(), pf::ApplicationState::Background);
  pf::SimUIApplication::current().bringToForeground();
  EXPECT_EQ(log, (Log{"delegate willResignActive", "UIApplicationWillResignActiveNotification",
                      "delegate didEnterBackground", "UIApplicationDidEnterBackgroundNotification",
                      "delegate willEnterForeground", "UIApplicationWillEnterForegroundNotification",
                      "delegate didBecomeActive state 0", "UIApplicationDidBecomeActiveNotification"}));
  EXPECT_EQ(app->applicationState(), pf::ApplicationState::Active);
}

TEST_F(ApplicationTest, RepeatedOrOutOfOrderReportsChangeNothing) {
  app->finishLaunching();
  log.clear();
  app->finishLaunching();
  app->becomeActive();
  app->enterForeground();  // not in the background
  EXPECT_TRUE(log.empty());
  app->resignActive();
  app->resignActive();
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(ApplicationTest, MemoryWarningTellsTheDelegateThenPostsThenReachesControllers) {
  app->finishLaunching();
  log.clear();
  auto vc = uitest::RecordingController::create("page", &log);
  vc->view();
  log.clear();
  { pf::Value tree = pf::Value::array({pf::Value::dictionary({{"a", 1}})}); }  // leaves blocks cached
  app->receiveMemoryWarning();
  EXPECT_EQ(log, (Log{"delegate memoryWarning", "UIApplicationDidReceiveMemoryWarningNotification", "page viewDidUnload"}));
  EXPECT_EQ(pf::ValueBlockCache::cachedBytes(), 0u);  // and the container blocks kept are freed
}

TEST_F(ApplicationTest, BackgroundTasksEndOrExpire) {
  int expired = 0;
  pf::BackgroundTaskIdentifier first = 0;
  first = app->beginBackgroundTaskWithExpirationHandler([&] {
    ++expired;
    app->endBackgroundTask(first);
  });
  auto second = app->beginBackgroundTaskWithExpirationHandler([&] { ++expired; });  // never ends itself
  auto third = app->beginBackgroundTaskWithExpirationHandler([&] { ++expired; });
  EXPECT_NE(first, pf::kBackgroundTaskInvalid);
  EXPECT_NE(first, second);
  app->endBackgroundTask(third);
  EXPECT_EQ(app->backgroundTaskCount(), 2u);
  app->expireBackgroundTasks();
  EXPECT_EQ(expired, 2);
  EXPECT_EQ(app->backgroundTaskCount(), 0u);
}

TEST_F(ApplicationTest, StatusBarFrameAndApplicationFrameFollowTheBar) {
  EXPECT_EQ(app->statusBarFrame(), pf::Rect(0, 0, 320, 20));
  EXPECT_EQ(pf::Screen::applicationFrame(), pf::Rect(0, 20, 320, 460));
  app->setStatusBarHiddenWithAnimation(true, pf::StatusBarAnimation::None);
  EXPECT_TRUE(app->statusBarFrame().isEmpty());
  EXPECT_EQ(pf::Screen::applicationFrame(), pf::Rect(0, 0, 320, 480));
  app->setStatusBarHiddenAnimated(false, false);
  auto& changes = pf::SimUIApplication::current().statusBarChanges();
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_TRUE(changes[0].hidden);
  EXPECT_FALSE(changes[1].hidden || changes[1].animated);
  app->setIdleTimerDisabled(true);
  EXPECT_EQ(pf::SimUIApplication::current().idleTimerChanges(), std::vector<bool>{true});
}

TEST_F(ApplicationTest, OpenURLHandsOnlyWhatSomeApplicationOpens) {
  auto& system = pf::SimUIApplication::current();
  auto tel = *pf::Url::parse("tel:5551234");
  auto kindle = *pf::Url::parse("kindle://home");
  EXPECT_TRUE(app->canOpenURL(tel));
  EXPECT_FALSE(app->canOpenURL(kindle));
  system.setCanOpenURL("kindle://home", true);
  EXPECT_TRUE(app->canOpenURL(kindle));
  EXPECT_TRUE(app->openURL(tel));
  EXPECT_FALSE(app->openURL(*pf::Url::parse("cydia://x")));
  ASSERT_EQ(system.openedURLs().size(), 1u);
  EXPECT_EQ(system.openedURLs()[0].absoluteString(), "tel:5551234");
  EXPECT_EQ(system.refusedURLs().size(), 1u);
}

class OldPhoneApplicationTest : public ApplicationTest {
 protected:
  OldPhoneApplicationTest() : ApplicationTest("phone-3.1.3") {}
};

TEST_F(OldPhoneApplicationTest, WithoutMultitaskingLeavingTerminatesAndTasksAreNotOffered) {
  EXPECT_FALSE(pf::Device::offers(pf::Capability::ApplicationState));
  EXPECT_FALSE(pf::Device::offers(pf::Capability::StatusBarHiddenWithAnimation));
  EXPECT_EQ(app->beginBackgroundTaskWithExpirationHandler([] {}), pf::kBackgroundTaskInvalid);
  app->finishLaunching();
  log.clear();
  app->enterBackground();
  EXPECT_EQ(log, (Log{"delegate willResignActive", "UIApplicationWillResignActiveNotification",
                      "delegate willTerminate", "UIApplicationWillTerminateNotification"}));
  EXPECT_TRUE(app->isTerminated());
  EXPECT_EQ(ui.backend().quitRequests(), 1);
}

TEST(DeviceProfileTest, VersionRules) {
  auto old = *pf::DeviceProfile::named("phone-3.1.3");
  EXPECT_TRUE(old.systemVersionAtLeast(3, 1, 3));
  EXPECT_FALSE(old.systemVersionAtLeast(3, 2, 0));
  EXPECT_FALSE(old.offers(pf::Capability::ScreenScale));  // from 4.0
  pf::DeviceProfile p;
  for (auto [text, triple] : {std::pair{"4", std::vector<int>{4, 0, 0}}, {"4.x1.2b", {4, 0, 2}}}) {
    p.systemVersion = text;
    EXPECT_EQ(p.versionTriple(), triple) << text;
  }
  EXPECT_FALSE(pf::DeviceProfile::named("phone-9"));
}

}  // namespace
