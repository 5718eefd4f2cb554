// View controllers: loading and unloading the root view, the appearance callbacks a window
// and a tab bar drive, rotation.
#include <gtest/gtest.h>

#include "UIFixture.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Window.h"

namespace {

using uitest::RecordingController;

class ViewControllerTest : public uitest::UITest {
 protected:
  std::shared_ptr<pf::Window> window = pf::Window::create();
};

TEST_F(ViewControllerTest, TheViewLoadsOnFirstUseOnce) {
  auto vc = RecordingController::create("a", &log);
  EXPECT_FALSE(vc->isViewLoaded());
  auto v = vc->view();
  EXPECT_EQ(vc->view(), v);
  EXPECT_EQ(log, Log{"a viewDidLoad"});
  EXPECT_EQ(v->viewController(), vc);
  EXPECT_EQ(v->frame(), pf::Screen::applicationFrame());
}

TEST_F(ViewControllerTest, MemoryWarningUnloadsOnlyViewsOutsideAWindow) {
  auto shown = RecordingController::create("shown", &log);
  auto hidden = RecordingController::create("hidden", &log);
  window->addSubview(shown->view());
  hidden->view();
  log.clear();
  pf::Application::sharedApplication()->receiveMemoryWarning();
  EXPECT_EQ(log, Log{"hidden viewDidUnload"});
  EXPECT_TRUE(shown->isViewLoaded());
  EXPECT_FALSE(hidden->isViewLoaded());
  log.clear();
  hidden->view();  // made again
  EXPECT_EQ(log, Log{"hidden viewDidLoad"});
}

TEST_F(ViewControllerTest, ARootViewAddedToAWindowAppearsWhenTheWindowShows) {
  auto vc = RecordingController::create("a", &log);
  window->addSubview(vc->view());
  EXPECT_EQ(log, Log{"a viewDidLoad"});  // the window is still hidden
  window->makeKeyAndVisible();
  EXPECT_EQ(log, (Log{"a viewDidLoad", "a viewWillAppear", "a viewDidAppear"}));
  EXPECT_TRUE(window->isKeyWindow());
  window->makeKeyAndVisible();  // already shown: nothing again
  vc->view()->removeFromSuperview();
  EXPECT_EQ(log, (Log{"a viewDidLoad", "a viewWillAppear", "a viewDidAppear", "a viewWillDisappear",
                      "a viewDidDisappear"}));
}

TEST_F(ViewControllerTest, RootViewControllerOfAShownWindowAppearsAtOnce) {
  window->makeKeyAndVisible();
  auto vc = RecordingController::create("a", &log);
  window->setRootViewController(vc);
  EXPECT_EQ(log, (Log{"a viewDidLoad", "a viewWillAppear", "a viewDidAppear"}));
  EXPECT_EQ(vc->view()->frame(), pf::Rect(0, 20, 320, 460));
  EXPECT_EQ(pf::Application::sharedApplication()->keyWindow()->rootViewController(), vc);
}

class TabBarTest : public ViewControllerTest {
 protected:
  void SetUp() override {
    a = RecordingController::create("a", &log);
    b = RecordingController::create("b", &log);
    a->setTitle("Classics");
    b->setTitle("Contacts");
    tabs = pf::TabBarController::create();
    tabs->setViewControllers({a, b});
  }
  std::shared_ptr<RecordingController> a, b;
  std::shared_ptr<pf::TabBarController> tabs;
};

TEST_F(TabBarTest, TheSelectedPageLoadsFillsTheContentAndAppearsWithTheTabBar) {
  window->addSubview(tabs->view());
  EXPECT_EQ(log, Log{"a viewDidLoad"});  // only the selected page
  EXPECT_EQ(a->view()->frame(), pf::Rect(0, 0, 320, 460 - 49));
  EXPECT_EQ(a->parentViewController(), tabs);
  EXPECT_EQ(a->tabBarController(), tabs);
  window->makeKeyAndVisible();
  EXPECT_EQ(log, (Log{"a viewDidLoad", "a viewWillAppear", "a viewDidAppear"}));
  ASSERT_EQ(tabs->tabBar()->items().size(), 2u);
  EXPECT_EQ(tabs->tabBar()->items()[1].title, "Contacts");
  EXPECT_EQ(tabs->tabBar()->frame(), pf::Rect(0, 460 - 49, 320, 49));
}

TEST_F(TabBarTest, SwitchingTabsSwapsAppearanceInOrder) {
  window->addSubview(tabs->view());
  window->makeKeyAndVisible();
  log.clear();
  tabs->tabBar()->userSelectedIndex(1);
  EXPECT_EQ(tabs->selectedIndex(), 1u);
  EXPECT_EQ(log, (Log{"a viewWillDisappear", "b viewDidLoad", "b viewWillAppear", "a viewDidDisappear",
                      "b viewDidAppear"}));
  EXPECT_EQ(a->view()->superview(), nullptr);  // off screen: a memory warning would unload it
  log.clear();
  tabs->setSelectedIndex(0);
  EXPECT_EQ(log, (Log{"b viewWillDisappear", "a viewWillAppear", "b viewDidDisappear", "a viewDidAppear"}));
}

TEST_F(TabBarTest, RotationNeedsEveryPageToAgreeAndTellsThemAll) {
  window->addSubview(tabs->view());
  window->makeKeyAndVisible();
  log.clear();
  auto app = pf::Application::sharedApplication();
  app->deviceOrientationDidChange(pf::InterfaceOrientation::PortraitUpsideDown);
  EXPECT_EQ(app->statusBarOrientation(), pf::InterfaceOrientation::Portrait);
  EXPECT_TRUE(log.empty());
  app->deviceOrientationDidChange(pf::InterfaceOrientation::LandscapeLeft);
  EXPECT_EQ(app->statusBarOrientation(), pf::InterfaceOrientation::LandscapeLeft);
  EXPECT_EQ(a->interfaceOrientation(), pf::InterfaceOrientation::LandscapeLeft);
  EXPECT_EQ(b->interfaceOrientation(), pf::InterfaceOrientation::LandscapeLeft);
  EXPECT_EQ(log, Log{"a didRotate"});  // the shown page
  EXPECT_EQ(tabs->view()->frame(), pf::Rect(0, 20, 480, 300));
  EXPECT_EQ(a->view()->frame(), pf::Rect(0, 0, 480, 300 - 49));  // autoresized
  EXPECT_EQ(app->statusBarFrame(), pf::Rect(300, 0, 20, 480));
  EXPECT_EQ(pf::Screen::applicationFrame(), pf::Rect(0, 0, 300, 480));
}

TEST_F(ViewControllerTest, AnAcceptedRotationTurnsTheWindowAndItsViewsFollowTheirMasks) {
  auto app = pf::Application::sharedApplication();
  auto page = RecordingController::create("page", &log);  // takes all but upside down
  window->setRootViewController(page);
  // A banner the application put on the window itself, pinned to the bottom, full width.
  auto banner = pf::View::create(pf::Rect(0, 430, 320, 50));
  banner->setAutoresizingMask(pf::View::FlexibleWidth | pf::View::FlexibleTopMargin);
  window->addSubview(banner);
  window->makeKeyAndVisible();
  ASSERT_EQ(window->frame(), pf::Rect(0, 0, 320, 480));

  app->deviceOrientationDidChange(pf::InterfaceOrientation::LandscapeLeft);
  EXPECT_EQ(window->frame(), pf::Rect(0, 0, 480, 320)) << "the window keeps its portrait size";
  EXPECT_EQ(window->bounds(), pf::Rect(0, 0, 480, 320));
  EXPECT_EQ(page->view()->frame(), pf::Rect(0, 20, 480, 300)) << "the status strip stays on top";
  EXPECT_EQ(banner->frame(), pf::Rect(0, 270, 480, 50));

  log.clear();
  app->deviceOrientationDidChange(pf::InterfaceOrientation::PortraitUpsideDown);  // refused
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(window->frame(), pf::Rect(0, 0, 480, 320));
  EXPECT_EQ(banner->frame(), pf::Rect(0, 270, 480, 50));

  app->deviceOrientationDidChange(pf::InterfaceOrientation::LandscapeRight);  // still landscape
  EXPECT_EQ(window->frame(), pf::Rect(0, 0, 480, 320));
  EXPECT_EQ(page->view()->frame(), pf::Rect(0, 20, 480, 300));

  app->deviceOrientationDidChange(pf::InterfaceOrientation::Portrait);
  EXPECT_EQ(window->frame(), pf::Rect(0, 0, 320, 480));
  EXPECT_EQ(page->view()->frame(), pf::Rect(0, 20, 320, 460));
  EXPECT_EQ(banner->frame(), pf::Rect(0, 430, 320, 50));
}

TEST_F(ViewControllerTest, AWindowSmallerThanTheScreenKeepsItsFrameWhenTheInterfaceTurns) {
  window = pf::Window::create(pf::Rect(0, 0, 200, 100));
  auto page = RecordingController::create("page", &log);
  window->setRootViewController(page);
  window->makeKeyAndVisible();
  pf::Application::sharedApplication()->deviceOrientationDidChange(pf::InterfaceOrientation::LandscapeRight);
  EXPECT_EQ(page->interfaceOrientation(), pf::InterfaceOrientation::LandscapeRight);
  EXPECT_EQ(window->frame(), pf::Rect(0, 0, 200, 100));
}

TEST_F(TabBarTest, ADefaultControllerOnlyTakesPortrait) {
  auto plain = pf::ViewController::create();
  EXPECT_TRUE(plain->shouldAutorotateToInterfaceOrientation(pf::InterfaceOrientation::Portrait));
  EXPECT_FALSE(plain->shouldAutorotateToInterfaceOrientation(pf::InterfaceOrientation::LandscapeRight));
  tabs->setViewControllers({a, b, plain});
  EXPECT_FALSE(tabs->shouldAutorotateToInterfaceOrientation(pf::InterfaceOrientation::LandscapeRight));
  EXPECT_EQ(a->parentViewController(), tabs);
}

}  // namespace
