// Modal presentation: chains, dismissal order, parent and presenting controllers, animated
// completion on a later run-loop pass.
#include <gtest/gtest.h>

#include "UIFixture.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Window.h"

namespace {

using uitest::RecordingController;

class ModalTest : public uitest::UITest {
 protected:
  void SetUp() override {
    root = RecordingController::create("root", &log);
    m = RecordingController::create("m", &log);  // the controller most tests present
    b = RecordingController::create("b", &log);  // b and c: for chains and second presentations
    c = RecordingController::create("c", &log);
    window = pf::Window::create();
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    log.clear();
  }
  std::shared_ptr<RecordingController> root, m, b, c;
  std::shared_ptr<pf::Window> window;
};

TEST_F(ModalTest, NotAnimatedPresentationAndDismissalRunAtOnce) {
  root->presentModalViewController(m, false);
  EXPECT_EQ(log, (Log{"root viewWillDisappear", "m viewDidLoad", "m viewWillAppear", "root viewDidDisappear",
                      "m viewDidAppear"}));
  EXPECT_EQ(root->modalViewController(), m);
  EXPECT_EQ(m->parentViewController(), root);
  EXPECT_EQ(m->presentingViewController(), root);
  EXPECT_EQ(m->view()->window(), window);
  EXPECT_EQ(root->view()->window(), nullptr);  // the covered screen leaves the window
  log.clear();
  m->dismissModalViewControllerAnimated(false);  // asks its presenter
  EXPECT_EQ(log, (Log{"m viewWillDisappear", "root viewWillAppear", "m viewDidDisappear", "root viewDidAppear"}));
  EXPECT_EQ(root->modalViewController(), nullptr);
  EXPECT_EQ(m->parentViewController(), nullptr);
  EXPECT_EQ(root->view()->window(), window);
}

TEST_F(ModalTest, AnimatedCompletionComesOnALaterPassAfterTheDuration) {
  root->presentModalViewController(m, true);
  EXPECT_EQ(log, (Log{"root viewWillDisappear animated", "m viewDidLoad", "m viewWillAppear animated"}));
  clock.runUntilIdle();
  clock.advance(0.29);
  EXPECT_EQ(log.size(), 3u);
  clock.advance(0.01);
  EXPECT_EQ(log, (Log{"root viewWillDisappear animated", "m viewDidLoad", "m viewWillAppear animated",
                      "root viewDidDisappear animated", "m viewDidAppear animated"}));
  log.clear();
  root->dismissModalViewControllerAnimated(true);
  EXPECT_EQ(m->parentViewController(), root);  // until the dismissal ends
  clock.advance(0.3);
  EXPECT_EQ(log, (Log{"m viewWillDisappear animated", "root viewWillAppear animated", "m viewDidDisappear animated",
                      "root viewDidAppear animated"}));
  EXPECT_EQ(m->parentViewController(), nullptr);
}

TEST_F(ModalTest, ThePresenterKeepsThePresentedAliveUntilTheDismissalEnds) {
  std::weak_ptr<RecordingController> weak = m;
  root->presentModalViewController(m, true);
  m.reset();
  clock.advance(0.3);
  ASSERT_FALSE(weak.expired());
  weak.lock()->dismissModalViewControllerAnimated(true);
  EXPECT_FALSE(weak.expired());  // the animation holds it
  clock.advance(0.3);
  EXPECT_TRUE(weak.expired());
}

TEST_F(ModalTest, AChainDismissedFromTheBottomGoesAllAtOnceTopFirst) {
  root->presentModalViewController(b, false);
  b->presentModalViewController(c, false);
  EXPECT_EQ(c->parentViewController(), b);
  EXPECT_EQ(root->modalViewController(), b);
  EXPECT_EQ(root->topPresentedController(), c);  // through b
  log.clear();
  root->dismissModalViewControllerAnimated(true);
  // b was already covered: only the top one and the revealed one hear it.
  EXPECT_EQ(log, (Log{"c viewWillDisappear animated", "root viewWillAppear animated"}));
  clock.advance(0.3);
  EXPECT_EQ(log, (Log{"c viewWillDisappear animated", "root viewWillAppear animated", "c viewDidDisappear animated",
                      "root viewDidAppear animated"}));
  EXPECT_EQ(b->parentViewController(), nullptr);
  EXPECT_EQ(c->parentViewController(), nullptr);
  EXPECT_EQ(b->modalViewController(), nullptr);
  EXPECT_EQ(window->subviews().size(), 1u);
}

TEST_F(ModalTest, DismissingTheNestedOneRevealsItsPresenter) {
  root->presentModalViewController(b, false);
  b->presentModalViewController(c, true);
  clock.advance(0.3);
  log.clear();
  c->dismissModalViewControllerAnimated(true);  // c asks b
  clock.advance(0.3);
  EXPECT_EQ(log, (Log{"c viewWillDisappear animated", "b viewWillAppear animated", "c viewDidDisappear animated",
                      "b viewDidAppear animated"}));
  EXPECT_EQ(root->modalViewController(), b);
  EXPECT_EQ(b->parentViewController(), root);
}

TEST_F(ModalTest, ANewTransitionFinishesTheRunningOneFirst) {
  root->presentModalViewController(m, true);
  root->dismissModalViewControllerAnimated(true);  // during the presentation animation
  EXPECT_EQ(log, (Log{"root viewWillDisappear animated", "m viewDidLoad", "m viewWillAppear animated",
                      "root viewDidDisappear animated", "m viewDidAppear animated", "m viewWillDisappear animated",
                      "root viewWillAppear animated"}));
  clock.advance(1);
  EXPECT_EQ(log.back(), "root viewDidAppear animated");
  EXPECT_EQ(root->modalViewController(), nullptr);
}

TEST_F(ModalTest, PresentingTwiceOrAnAlreadyPresentedControllerIsRefused) {
  root->presentModalViewController(m, false);
  root->presentModalViewController(b, false);
  EXPECT_EQ(root->modalViewController(), m);
  EXPECT_EQ(b->parentViewController(), nullptr);
  EXPECT_FALSE(b->isViewLoaded());
}

TEST_F(ModalTest, AChildOfATabBarPresentsOverTheWholeTabBar) {
  auto page = RecordingController::create("page", &log);
  auto tabs = pf::TabBarController::create();
  tabs->setViewControllers({page});
  window->setRootViewController(tabs);
  log.clear();
  page->presentModalViewController(m, false);
  EXPECT_EQ(m->presentingViewController(), tabs);
  EXPECT_EQ(m->parentViewController(), tabs);
  EXPECT_EQ(page->modalViewController(), m);
  EXPECT_EQ(log, (Log{"page viewWillDisappear", "m viewDidLoad", "m viewWillAppear", "page viewDidDisappear",
                      "m viewDidAppear"}));
  EXPECT_EQ(tabs->view()->window(), nullptr);
}

// A controller in an embedded window (a strip of a window the host application owns) shows
// what it presents on the strip's presentation window; the strip keeps its own view where it
// was, through the presentation and after the dismissal.
TEST_F(ModalTest, WhatAnEmbeddedWindowPresentsGoesToItsPresentationWindowAndLeavesTheStripAlone) {
  auto screen = pf::Window::create({}, pf::WindowPlacement::Presentation);
  screen->setHidden(false);
  auto strip = pf::Window::create({0, 0, 320, 50}, pf::WindowPlacement::Embedded);
  strip->setPresentationWindow(screen);
  auto host = RecordingController::create("host", &log);
  host->view()->setFrame({0, 0, 320, 50});
  strip->addSubview(host->view());
  strip->makeKeyAndVisible();

  host->presentModalViewController(m, true);
  clock.advance(0.3);
  EXPECT_EQ(m->view()->superview(), screen);
  EXPECT_EQ(m->view()->frame(), pf::Rect(0, 20, 320, 460));
  m->presentModalViewController(b, false);
  EXPECT_EQ(b->view()->superview(), screen);
  EXPECT_EQ(host->view()->superview(), strip);

  host->dismissModalViewControllerAnimated(true);
  clock.advance(0.3);
  EXPECT_TRUE(screen->subviews().empty());
  EXPECT_EQ(host->view()->superview(), strip);
  EXPECT_EQ(host->view()->frame(), pf::Rect(0, 0, 320, 50));
  EXPECT_EQ(log.back(), "host viewDidAppear animated");
}

}  // namespace
