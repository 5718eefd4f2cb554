// The shell from its real bundle (Info.plist and interface description) on the sim backend:
// the notice at every launch, the tabs, one banner per site page, rotation.
#include <gtest/gtest.h>

#include "app/AmrViewController.h"
#include "app/AshenmoorAppDelegate.h"
#include "app/AshenmoorClasses.h"
#include "app/ContactsViewController.h"
#include "app/DontTouchViewControler.h"
#include "app/MoreViewController.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimUIAlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/ApplicationMain.h"
#include "platform/ui/Bundle.h"
#include "sdk/object/GADObjectPrivate.h"
#include "sdk/statistics/GADStatistics.h"

namespace {

class AshenmoorShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GADObjectPrivate::resetClassForTesting();
    AshenmoorClasses::registerAll();
    pf::Bundle::setMainBundle(pf::Bundle::bundleAtPath(ASHENMOOR_SOURCE_DIR "/src/app"));
    pf::Error error("", 0);
    ASSERT_TRUE(pf::LaunchApplication(std::nullopt, &error)) << error.localizedDescription();
    delegate = std::dynamic_pointer_cast<AshenmoorAppDelegate>(pf::Application::sharedApplication()->delegate());
    ASSERT_TRUE(delegate);
  }
  void TearDown() override {
    pf::Bundle::setMainBundle(nullptr);
    GADStatistics::releaseSharedStatistics();
    GADObjectPrivate::resetClassForTesting();
  }
  template <typename T>
  std::shared_ptr<T> page() {
    for (const auto& c : delegate->tabBarController()->viewControllers())
      if (auto p = std::dynamic_pointer_cast<T>(c)) return p;
    return nullptr;
  }

  pf::SimEnvironment sim;
  std::shared_ptr<AshenmoorAppDelegate> delegate;
};

TEST_F(AshenmoorShellTest, EveryLaunchShowsTheNoticeOverTheTabs) {
  auto alert = pf::SimUIAlertView::topAlert();
  ASSERT_TRUE(alert);
  EXPECT_EQ(alert->title(), "Reelbox");
  EXPECT_EQ(alert->buttonTitleAtIndex(alert->cancelButtonIndex()), "OK");
  EXPECT_EQ(alert->buttonTitleAtIndex(1), "Cancel");
  EXPECT_TRUE(delegate->window()->isKeyWindow());
  EXPECT_TRUE(pf::SimUIAlertView::tap(*alert, "Cancel"));
  sim.clock().advance(1);
  EXPECT_FALSE(pf::SimUIAlertView::topAlert());
  EXPECT_EQ(delegate->tabBarController()->viewControllers().size(), 4u);
}

TEST_F(AshenmoorShellTest, EachSitePageLoadsItsPageAndOneBanner) {
  const std::pair<size_t, const char*> kPages[] = {{0, "/classiclist.html"}, {1, "/contacts.html"}, {2, "/more.html"}};
  auto tabs = delegate->tabBarController();
  for (const auto& [index, path] : kPages) {
    SCOPED_TRACE(path);
    tabs->setSelectedIndex(index);
    auto page = std::dynamic_pointer_cast<AshenmoorPageController>(tabs->selectedViewController());
    ASSERT_TRUE(page && page->isViewLoaded());
    auto banners = 0;
    for (const auto& v : page->view()->subviews())
      if (auto b = std::dynamic_pointer_cast<GADBannerView>(v)) {
        ++banners;
        EXPECT_EQ(b->frame(), pf::Rect(0, 365, 320, 50));
        EXPECT_EQ(b->adUnitID(), "a15c0f3e82d9b47");
        EXPECT_EQ(b->rootViewController(), page);
      }
    EXPECT_EQ(banners, 1);
    auto web = std::dynamic_pointer_cast<pf::WebView>(page->view()->subviews().front());
    ASSERT_TRUE(web && web->request());
    EXPECT_EQ(web->request()->url().absoluteString(), std::string("http://127.0.0.1:47310") + path);
  }
}

TEST_F(AshenmoorShellTest, AnUnloadedPageComesBackWithExactlyOneNewBanner) {
  auto amr = page<AmrViewController>();
  auto first = amr->banner();
  ASSERT_TRUE(first);
  delegate->tabBarController()->setSelectedIndex(3);  // off screen, so a memory warning unloads it
  pf::Application::sharedApplication()->receiveMemoryWarning();
  EXPECT_FALSE(amr->isViewLoaded());
  EXPECT_FALSE(amr->banner());
  std::weak_ptr<GADBannerView> gone = first;
  first.reset();
  EXPECT_TRUE(gone.expired()) << "the page owned the only reference";
  delegate->tabBarController()->setSelectedIndex(0);
  ASSERT_TRUE(amr->banner());
  EXPECT_EQ(amr->banner()->privateObject()->state(), GADAdStateFetchingScript) << "a new request started";
}

TEST_F(AshenmoorShellTest, EveryPageTurnsToPortraitAndLandscapeButNotUpsideDown) {
  using O = pf::InterfaceOrientation;
  const std::shared_ptr<pf::ViewController> pages[] = {page<AmrViewController>(), page<ContactsViewController>(),
                                                        page<MoreViewController>(), page<DontTouchViewControler>()};
  for (const auto& p : pages) {
    ASSERT_TRUE(p);
    for (O o : {O::Portrait, O::LandscapeLeft, O::LandscapeRight, O::PortraitUpsideDown})
      EXPECT_EQ(p->shouldAutorotateToInterfaceOrientation(o), o != O::PortraitUpsideDown) << int(o);
  }
}

}  // namespace
