// Hit testing: which view a point reaches, and that views on the way see the event's type.
#include <gtest/gtest.h>

#include "UIFixture.h"
#include "platform/sim/SimUIBackend.h"
#include "platform/ui/Button.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace {

using pf::Event;
using pf::Point;
using pf::Rect;
using pf::View;

// A view that notes the type of every event that reaches its hit test, as the banner's web
// view does, and answers what the base answers.
class WatchingView : public View {
 public:
  static std::shared_ptr<WatchingView> create(const Rect& frame) {
    return std::shared_ptr<WatchingView>(new WatchingView(frame));
  }
  std::shared_ptr<View> hitTest(Point p, const Event* event) override {
    if (event) seen.push_back(event->type());
    return View::hitTest(p, event);
  }
  std::vector<Event::Type> seen;

 private:
  explicit WatchingView(const Rect& f) : View(f) {}
};

class HitTest : public uitest::UITest {
 protected:
  void SetUp() override {
    root = View::create(Rect(0, 0, 320, 480));
    page = View::create(Rect(0, 20, 320, 460));
    banner = WatchingView::create(Rect(0, 365, 320, 50));
    inner = View::create(Rect(10, 10, 20, 20));
    root->addSubview(page);
    page->addSubview(banner);
    banner->addSubview(inner);
  }
  std::shared_ptr<View> at(Point p) {
    Event touch(Event::Type::Touches);
    return root->hitTest(p, &touch);
  }
  std::shared_ptr<View> root, page, inner;
  std::shared_ptr<WatchingView> banner;
};

TEST_F(HitTest, FindsTheDeepestViewUnderThePoint) {
  EXPECT_EQ(at({15, 20 + 365 + 15}), inner);
  EXPECT_EQ(at({100, 20 + 365 + 15}), banner);
  EXPECT_EQ(at({100, 100}), page);
  EXPECT_EQ(at({100, 10}), root);
}

TEST_F(HitTest, OutsideTheBoundsReachesNothingEvenWhereASubviewSticksOut) {
  EXPECT_EQ(at({320, 10}), nullptr);  // the right edge is outside
  auto sticking = View::create(Rect(300, 0, 100, 20));
  page->addSubview(sticking);
  EXPECT_EQ(at({350, 25}), nullptr);
  EXPECT_EQ(at({310, 25}), sticking);
}

TEST_F(HitTest, HiddenAndNonInteractiveViewsAndTheirSubviewsAreSkipped) {
  banner->setHidden(true);
  EXPECT_EQ(at({15, 20 + 365 + 15}), page);
  banner->setHidden(false);
  banner->setUserInteractionEnabled(false);
  EXPECT_EQ(at({15, 20 + 365 + 15}), page);
  banner->setUserInteractionEnabled(true);
  inner->setUserInteractionEnabled(false);
  EXPECT_EQ(at({15, 20 + 365 + 15}), banner);
}

TEST_F(HitTest, TheFrontmostOfOverlappingSiblingsWins) {
  auto cover = View::create(Rect(0, 300, 320, 160));
  page->addSubview(cover);
  EXPECT_EQ(at({15, 20 + 365 + 15}), cover);
  page->bringSubviewToFront(banner);
  EXPECT_EQ(at({15, 20 + 365 + 15}), inner);
}

TEST_F(HitTest, ViewsOnTheWaySeeTheEventType) {
  at({15, 20 + 365 + 15});
  Event motion(Event::Type::Motion);
  root->hitTest({15, 20 + 365 + 15}, &motion);
  root->hitTest({15, 20 + 365 + 15}, nullptr);
  ASSERT_EQ(banner->seen.size(), 2u);
  EXPECT_EQ(banner->seen[0], Event::Type::Touches);
  EXPECT_EQ(banner->seen[1], Event::Type::Motion);
}

TEST_F(HitTest, BoundsOriginShiftsSubviewCoordinates) {
  page->setBounds(Rect(0, 100, 320, 460));  // scrolled down by 100
  EXPECT_EQ(at({15, 20 + 265 + 15}), inner);
  EXPECT_EQ(page->convertPointToView({0, 100}, root.get()), (Point{0, 20}));
  EXPECT_EQ(inner->convertPointFromView({15, 20 + 265 + 15}, root.get()), (Point{5, 5}));
}

TEST_F(HitTest, ATouchInAWindowTapsTheEnabledButtonItLandsIn) {
  auto window = pf::Window::create();
  auto button = pf::Button::buttonWithType(pf::ButtonType::Custom);
  button->setFrame(Rect(0, 0, 32, 32));
  auto image = View::create(Rect(4, 4, 24, 24));
  button->addSubview(image);
  int taps = 0;
  button->addTarget(this, [&] { ++taps; }, pf::ControlEventTouchUpInside);
  window->addSubview(button);
  window->makeKeyAndVisible();
  EXPECT_EQ(window->sendTouch({10, 10}), image);  // the image is hit; its button acts
  EXPECT_EQ(taps, 1);
  button->setEnabled(false);
  window->sendTouch({10, 10});
  EXPECT_EQ(taps, 1);
  button->setEnabled(true);
  window->sendTouch({100, 100});
  EXPECT_EQ(taps, 1);
  pf::SimUIBackend::touch(*button, {1, 1});
  EXPECT_EQ(taps, 2);
  button->removeTarget(this);
  window->sendTouch({10, 10});
  EXPECT_EQ(taps, 2);
}

TEST_F(HitTest, TheTreeKeepsOwnershipAndNoCycles) {
  std::weak_ptr<View> weakInner = inner;
  inner.reset();
  EXPECT_FALSE(weakInner.expired());  // its superview owns it
  banner->addSubview(root);           // would make a cycle: refused
  EXPECT_EQ(root->superview(), nullptr);
  page->addSubview(weakInner.lock());  // moves it
  EXPECT_EQ(weakInner.lock()->superview(), page);
  EXPECT_TRUE(banner->subviews().empty());
  weakInner.lock()->removeFromSuperview();
  EXPECT_TRUE(weakInner.expired());
}

}  // namespace
