// Autoresizing: how a change of a superview's size is shared among the flexible parts of
// each subview's mask.
#include <gtest/gtest.h>

#include "platform/ui/View.h"

namespace {

using pf::Rect;
using pf::View;

// A 100×100 child at (20, 30) in a 200×300 parent; the parent grows to 260×420 (Δ 60, 120).
Rect resized(unsigned mask, Rect child = Rect(20, 30, 100, 100)) {
  auto parent = View::create(Rect(0, 0, 200, 300));
  auto c = View::create(child);
  c->setAutoresizingMask(mask);
  parent->addSubview(c);
  parent->setFrame(Rect(0, 0, 260, 420));
  return c->frame();
}

TEST(Autoresizing, NoMaskKeepsPositionAndSize) {
  EXPECT_EQ(resized(View::None), Rect(20, 30, 100, 100));
}

TEST(Autoresizing, SingleFlexiblePartTakesTheWholeChange) {
  EXPECT_EQ(resized(View::FlexibleWidth), Rect(20, 30, 160, 100));
  EXPECT_EQ(resized(View::FlexibleHeight), Rect(20, 30, 100, 220));
  EXPECT_EQ(resized(View::FlexibleLeftMargin), Rect(80, 30, 100, 100));
  EXPECT_EQ(resized(View::FlexibleTopMargin), Rect(20, 150, 100, 100));
  // A flexible right or bottom margin alone: the view stays where it is.
  EXPECT_EQ(resized(View::FlexibleRightMargin | View::FlexibleBottomMargin), Rect(20, 30, 100, 100));
}

TEST(Autoresizing, WidthAndHeightTogetherAsPagesUse) {
  // Mask 18, the page area's and the web views'.
  EXPECT_EQ(resized(View::FlexibleWidth | View::FlexibleHeight), Rect(20, 30, 160, 220));
}

TEST(Autoresizing, BothMarginsShareInProportionToTheirSizes) {
  // Mask 5 (centred spinner): left margin 20, right margin 80 share Δ60 as 12 : 48.
  Rect r = resized(View::FlexibleLeftMargin | View::FlexibleRightMargin);
  EXPECT_DOUBLE_EQ(r.minX(), 32);
  EXPECT_DOUBLE_EQ(r.width(), 100);
  // Top margin 30 and bottom margin 170 share Δ120 as 18 : 102.
  r = resized(View::FlexibleTopMargin | View::FlexibleBottomMargin);
  EXPECT_DOUBLE_EQ(r.minY(), 48);
}

TEST(Autoresizing, ThreeFlexiblePartsShareInProportion) {
  // left 20, width 100, right 80 of 200: Δ60 → 6, 30, 24.
  Rect r = resized(View::FlexibleLeftMargin | View::FlexibleWidth | View::FlexibleRightMargin);
  EXPECT_DOUBLE_EQ(r.minX(), 26);
  EXPECT_DOUBLE_EQ(r.width(), 130);
}

TEST(Autoresizing, WidthAndTopMarginAsTheBrowserToolbar) {
  // Mask 58 without the bottom margin's share: a toolbar glued to the bottom keeps its height
  // and follows the bottom edge (top margin 256 is the only flexible vertical part).
  Rect r = resized(View::FlexibleWidth | View::FlexibleTopMargin, Rect(0, 256, 200, 44));
  EXPECT_EQ(r, Rect(0, 376, 260, 44));
  // Mask 58 itself (flexible top and bottom margins): 256 : 0 — all to the top margin.
  r = resized(View::FlexibleWidth | View::FlexibleTopMargin | View::FlexibleBottomMargin, Rect(0, 256, 200, 44));
  EXPECT_EQ(r, Rect(0, 376, 260, 44));
}

TEST(Autoresizing, AllZeroFlexiblePartsShareEqually) {
  // A zero-width view flush at the left: left margin 0, width 0, right margin 200.
  // Margins left+width flexible, both 0: Δ60 shared equally → 30 each.
  Rect r = resized(View::FlexibleLeftMargin | View::FlexibleWidth, Rect(0, 0, 0, 10));
  EXPECT_DOUBLE_EQ(r.minX(), 30);
  EXPECT_DOUBLE_EQ(r.width(), 30);
}

TEST(Autoresizing, ShrinkingNeverGivesNegativeSize) {
  auto parent = View::create(Rect(0, 0, 200, 200));
  auto c = View::create(Rect(0, 0, 50, 50));
  c->setAutoresizingMask(View::FlexibleWidth);
  parent->addSubview(c);
  parent->setFrame(Rect(0, 0, 100, 200));
  EXPECT_DOUBLE_EQ(c->frame().width(), 0);
}

TEST(Autoresizing, NestedViewsResizeInTurnAndCanBeSwitchedOff) {
  auto root = View::create(Rect(0, 0, 320, 460));
  auto page = View::create(Rect(0, 0, 320, 460));
  page->setAutoresizingMask(View::FlexibleWidth | View::FlexibleHeight);
  auto banner = View::create(Rect(0, 410, 320, 50));
  banner->setAutoresizingMask(View::FlexibleWidth | View::FlexibleTopMargin);
  root->addSubview(page);
  page->addSubview(banner);
  root->setFrame(Rect(0, 0, 480, 300));
  EXPECT_EQ(page->frame(), Rect(0, 0, 480, 300));
  EXPECT_EQ(banner->frame(), Rect(0, 250, 480, 50));

  page->setAutoresizesSubviews(false);
  root->setFrame(Rect(0, 0, 320, 460));
  EXPECT_EQ(page->frame(), Rect(0, 0, 320, 460));
  EXPECT_EQ(banner->frame(), Rect(0, 250, 480, 50));  // left alone
}

TEST(Autoresizing, MovingWithoutResizingChangesNothingInside) {
  auto parent = View::create(Rect(0, 0, 200, 300));
  auto c = View::create(Rect(10, 10, 50, 50));
  c->setAutoresizingMask(View::FlexibleWidth | View::FlexibleLeftMargin);
  parent->addSubview(c);
  parent->setFrame(Rect(40, 40, 200, 300));
  EXPECT_EQ(c->frame(), Rect(10, 10, 50, 50));
}

}  // namespace
