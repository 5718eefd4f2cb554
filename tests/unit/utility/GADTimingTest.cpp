#include "sdk/timing/GADTiming.h"

#include <gtest/gtest.h>

#include "platform/sim/SimClock.h"

namespace {

class GADTimingTest : public ::testing::Test {
 protected:
  pf::SimClock clock_;  // monotonic time starts at SimClock::kStartMonotonic
};

TEST_F(GADTimingTest, ElapsedMillisecondsTruncateTheTimeSoFarOrToTheEnd) {
  // Running: the time so far, truncated; 0.3 s is 300 although (1000.3 - 1000.0) * 1000 is
  // 299.99999999995; ended: the time to the end, however long after.
  static const struct {
    double seconds;
    bool end;
    uint32_t elapsed;
  } kCases[] = {{0.25, true, 250}, {0.3, true, 300}, {1.2345, false, 1234}, {1.2349, false, 1234}};
  for (const auto& c : kCases) {
    auto t = GADTiming::create("c");
    t->start();
    clock_.advance(c.seconds);
    if (c.end) t->end();
    EXPECT_NE(t->isActive(), c.end);
    clock_.advance(c.end ? 10 : 0);
    EXPECT_EQ(t->elapsedMilliseconds(), c.elapsed) << c.seconds;
    EXPECT_EQ(t->elapsedMillisecondsString(), std::to_string(c.elapsed));
  }
}

TEST_F(GADTimingTest, EndWithoutStartDoesNothingAndLaterEndMovesTheEnd) {
  auto t = GADTiming::create("c");
  t->end();
  EXPECT_EQ(t->startSeconds(), 0);
  EXPECT_EQ(t->endSeconds(), 0);
  EXPECT_EQ(t->elapsedMilliseconds(), 0u);
  t->start();
  clock_.advance(1);
  t->end();
  clock_.advance(1);
  t->end();
  EXPECT_EQ(t->elapsedMilliseconds(), 2000u);  // the end moved
  // Restarting clears the end; reset forgets both.
  t->start();
  EXPECT_TRUE(t->isActive());
  EXPECT_EQ(t->endSeconds(), 0);
  t->reset();
  EXPECT_FALSE(t->isActive());
  EXPECT_EQ(t->elapsedMilliseconds(), 0u);
}

TEST_F(GADTimingTest, ElapsedIsClampedToTheUnsignedRange) {
  // From a run before a reboot: the saved start lies ahead of today's clock.
  auto stale = GADTiming::createWithDictionaryRepresentation(
      pf::Value::dictionary({{"category", "c"}, {"start", 50000.0}, {"end", 0.0}}));
  EXPECT_EQ(stale->elapsedMilliseconds(), 0u);
  EXPECT_EQ(stale->elapsedMillisecondsString(), "0");

  auto huge = GADTiming::createWithDictionaryRepresentation(
      pf::Value::dictionary({{"category", "c"}, {"start", 1.0}, {"end", 5.0e6}}));
  EXPECT_EQ(huge->elapsedMilliseconds(), 4294967295u);
  EXPECT_EQ(huge->elapsedMillisecondsString(), "4294967295");  // never a negative text
}

TEST_F(GADTimingTest, RepresentationHasUserDataOnlyWhenThereIsSomeAndAMissingValueChangesNothing) {
  auto t = GADTiming::create("tsrl");
  t->start();
  pf::Value d = pf::Value::dictionary({{"category", "tsrl"}, {"start", pf::SimClock::kStartMonotonic}, {"end", 0.0}});
  EXPECT_EQ(t->dictionaryRepresentation(), d);
  t->setValueForKey(3, "clicks");
  t->setValueForKey(pf::Value(), "clicks");
  d.set("userData", pf::Value::dictionary({{"clicks", 3}}));
  EXPECT_EQ(t->dictionaryRepresentation(), d);
}

TEST_F(GADTimingTest, CopyIsIndependent) {
  auto t = GADTiming::create("c");
  t->start();
  t->setValueForKey("a", "k");
  auto c = t->copy();
  EXPECT_EQ(c->dictionaryRepresentation(), t->dictionaryRepresentation());
  c->setValueForKey("b", "k");
  clock_.advance(1);
  c->end();
  EXPECT_EQ(t->valueForKey("k"), pf::Value("a"));
  EXPECT_TRUE(t->isActive());
}

TEST_F(GADTimingTest, MalformedRepresentationReadsAsZeros) {
  auto t = GADTiming::createWithDictionaryRepresentation(pf::Value("not a dictionary"));
  EXPECT_EQ(t->category(), "");
  EXPECT_EQ(t->startSeconds(), 0);
  auto u = GADTiming::createWithDictionaryRepresentation(pf::Value::dictionary(
      {{"category", 7}, {"start", "x"}, {"end", 12}, {"userData", pf::Value::array({1})}}));
  EXPECT_EQ(u->category(), "");
  EXPECT_EQ(u->startSeconds(), 0);
  EXPECT_EQ(u->endSeconds(), 12);  // integers are numbers too
  EXPECT_EQ(u->dictionaryRepresentation().size(), 3u);
}

}  // namespace
