// The cover-vertical transition: a presented screen slides up from the bottom of the window
// and back down when dismissed, in the transition's 0.3 s.
#include <gtest/gtest.h>

#include "UIFixture.h"
#include "platform/ui/Window.h"

namespace {

class ViewSlideTest : public uitest::UITest {};

TEST_F(ViewSlideTest, APresentedScreenSlidesUpAndBackDown) {
  auto window = pf::Window::create({0, 0, 320, 480});
  auto root = pf::ViewController::create();
  window->setRootViewController(root);
  window->makeKeyAndVisible();
  auto shown = pf::ViewController::create();
  root->presentModalViewController(shown, true);
  const double finalY = 20;  // under the status strip
  std::vector<double> ys{shown->view()->frame().origin.y};
  for (int i = 0; i < 3; ++i) {
    clock.advance(0.1);
    ys.push_back(shown->view()->frame().origin.y);
  }
  EXPECT_EQ(ys.front(), 480) << "starts below the window";
  EXPECT_GT(ys[1], finalY);
  EXPECT_LT(ys[1], 480);
  EXPECT_LT(ys[2], ys[1]) << "rises";
  EXPECT_EQ(ys.back(), finalY);

  root->dismissModalViewControllerAnimated(true);
  clock.advance(0.15);
  double midway = shown->view()->frame().origin.y;
  EXPECT_GT(midway, finalY);
  EXPECT_LT(midway, 480);
  clock.advance(0.2);
  EXPECT_FALSE(shown->view()->superview());
}

}  // namespace
