// Autoresizing: how a change of a superview's size is shared among the flexible parts of
// each subview's mask.
#include <gtest/gtest.h>

#include "platform/ui/View.h"

namespace {

using pf::Rect;
using pf::View;

// A child in a 200×300 parent; the parent's frame changes, by default to 260×420 (Δ 60, 120).
Rect resized(unsigned mask, Rect child, Rect parentFrame) {
  auto parent = View::create(Rect(0, 0, 200, 300));
  auto c = View::create(child);
  c->setAutoresizingMask(mask);
  parent->addSubview(c);
  parent->setFrame(parentFrame);
  return c->frame();
}

// Each flexible part of the mask takes a share of the change in proportion to its length;
// all-zero flexible parts share equally; nothing flexible keeps the frame.
TEST(Autoresizing, TheChangeIsSharedAmongTheFlexibleParts) {
  using V = View;
  static const struct {
    unsigned mask;
    Rect child, expected;
    Rect parentFrame = Rect(0, 0, 260, 420);
  } kCases[] = {
      {V::None, Rect(20, 30, 100, 100), Rect(20, 30, 100, 100)},
      {V::FlexibleWidth, Rect(20, 30, 100, 100), Rect(20, 30, 160, 100)},
      {V::FlexibleHeight, Rect(20, 30, 100, 100), Rect(20, 30, 100, 220)},
      {V::FlexibleLeftMargin, Rect(20, 30, 100, 100), Rect(80, 30, 100, 100)},
      {V::FlexibleTopMargin, Rect(20, 30, 100, 100), Rect(20, 150, 100, 100)},
      // A flexible right or bottom margin alone: the view stays where it is.
      {V::FlexibleRightMargin | V::FlexibleBottomMargin, Rect(20, 30, 100, 100), Rect(20, 30, 100, 100)},
      {V::FlexibleWidth | V::FlexibleHeight, Rect(20, 30, 100, 100), Rect(20, 30, 160, 220)},  // 18: pages
      // Margins 20 and 80 share Δ60 as 12 : 48; 30 and 170 share Δ120 as 18 : 102.
      {V::FlexibleLeftMargin | V::FlexibleRightMargin, Rect(20, 30, 100, 100), Rect(32, 30, 100, 100)},
      {V::FlexibleTopMargin | V::FlexibleBottomMargin, Rect(20, 30, 100, 100), Rect(20, 48, 100, 100)},
      // 20, 100 and 80 of 200: Δ60 as 6, 30, 24.
      {V::FlexibleLeftMargin | V::FlexibleWidth | V::FlexibleRightMargin, Rect(20, 30, 100, 100), Rect(26, 30, 130, 100)},
      // The browser's toolbar glued to the bottom: all of the change to the top margin (256 : 0).
      {V::FlexibleWidth | V::FlexibleTopMargin, Rect(0, 256, 200, 44), Rect(0, 376, 260, 44)},
      {V::FlexibleWidth | V::FlexibleTopMargin | V::FlexibleBottomMargin, Rect(0, 256, 200, 44), Rect(0, 376, 260, 44)},
      // Left margin 0 and width 0, both flexible: Δ60 shared equally.
      {V::FlexibleLeftMargin | V::FlexibleWidth, Rect(0, 0, 0, 10), Rect(30, 0, 30, 10)},
      // Shrinking by more than the width never gives a negative size.
      {V::FlexibleWidth, Rect(0, 0, 50, 50), Rect(0, 0, 0, 50), Rect(0, 0, 100, 300)},
      // Moving without resizing changes nothing inside.
      {V::FlexibleWidth | V::FlexibleLeftMargin, Rect(10, 10, 50, 50), Rect(10, 10, 50, 50), Rect(40, 40, 200, 300)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.mask);
    EXPECT_EQ(resized(c.mask, c.child, c.parentFrame), c.expected);
  }
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

}  // namespace
