// GADHTTPDate: the three forms servers send, what names no real time, and writing dates back.
#include <gtest/gtest.h>

#include "sdk/network/GADHTTPDate.h"

namespace {

constexpr int64_t kRfcExample = 784111777;  // Sun, 06 Nov 1994 08:49:37 GMT

// The three forms, a zone cut off (what GADCachedFile hands over: the blank stays) or in any
// case, blanks around; the day name is checked for its form only (servers send wrong ones).
// Leap days where the calendar has them; a leap second stays on its day.
TEST(GADHTTPDateTest, AcceptedTextsAndTheInstantTheyName) {
  static const struct {
    const char* text;
    int64_t seconds;
  } kCases[] = {
      {"Sun, 06 Nov 1994 08:49:37 GMT", kRfcExample},      {"Sunday, 06-Nov-94 08:49:37 GMT", kRfcExample},
      {"Sun Nov  6 08:49:37 1994", kRfcExample},           {"Thu, 01 Jan 2026 10:00:00 ", 1767261600},
      {"Thu, 01 Jan 2026 10:00:00", 1767261600},           {"  Thu, 01 Jan 2026 10:00:00 gmt\t", 1767261600},
      {"THU, 01 JAN 2026 10:00:00 GMT", 1767261600},       {"Mon, 01 Jan 2026 10:00:00 GMT", 1767261600},
      {"Thu, 29 Feb 2024 23:59:59 GMT", 1709251199},       {"Tue, 29 Feb 2000 23:59:60 GMT", 951868799},
      {"Fri, 31 Dec 9999 23:59:60 GMT", 253402300799},
  };
  for (const auto& c : kCases) EXPECT_EQ(GADHTTPDate::parse(c.text, 2026), c.seconds) << c.text;
  EXPECT_FALSE(GADHTTPDate::parse("Xyz, 01 Jan 2026 10:00:00 GMT", 2026));
}

TEST(GADHTTPDateTest, RejectsTextThatNamesNoTime) {
  for (const char* bad : {
           "", "GMT", "Thu, 31 Apr 2026 10:00:00 GMT", "Thu, 29 Feb 2023 10:00:00 GMT",
           "Thu, 01 Jan 2026 24:00:00 GMT", "Thu, 01 Jan 2026 10:60:00 GMT",
           "Thu, 01 Jan 2026 10:00:61 GMT", "Thu, 00 Jan 2026 10:00:00 GMT",
           "Thu, 01 Foo 2026 10:00:00 GMT", "Thu, 01 Jan 20265 10:00:00 GMT",
           "Thu, 01 Jan 26 10:00:00 GMT",     // a two-digit year only in the RFC 850 form
           "Thu, 01 Jan 2026 10:00:00 +0000", "Thu, 01 Jan 2026 10:00:00 GMT junk",
           "Thu, 01 Jan 2026 10:00 GMT", "Thu, 001 Jan 2026 10:00:00 GMT",
           "Thursday, 01-Jan-2026 10:00:00 GMT", "Thu Jan  1 10:00:00 2026 GMT",
           "Thu, 01 Jan 2026 1:00:00 GMT", "Thu,01 Jan 2026 10:00:00 GMT", "Mon, 29 Feb 1900 00:00:00 GMT"}) {
    EXPECT_FALSE(GADHTTPDate::parse(bad, 2026)) << bad;
  }
}

TEST(GADHTTPDateTest, TwoDigitYearsStayWithinFiftyYearsAhead) {
  auto in2076 = GADHTTPDate::parse("Friday, 01-Jan-76 00:00:00", 2026);
  auto in2077 = GADHTTPDate::parse("Friday, 01-Jan-77 00:00:00", 2026);
  ASSERT_TRUE(in2076 && in2077);
  EXPECT_EQ(GADHTTPDate::format(*in2076).substr(5, 11), "01 Jan 2076");
  EXPECT_EQ(GADHTTPDate::format(*in2077).substr(5, 11), "01 Jan 1977");
}

TEST(GADHTTPDateTest, FormatsThePreferredFormWithoutZone) {
  EXPECT_EQ(GADHTTPDate::format(0), "Thu, 01 Jan 1970 00:00:00");
  EXPECT_EQ(GADHTTPDate::format(kRfcExample), "Sun, 06 Nov 1994 08:49:37");
  EXPECT_EQ(GADHTTPDate::format(1592224496), "Mon, 15 Jun 2020 12:34:56");
  EXPECT_EQ(GADHTTPDate::format(-1), "Wed, 31 Dec 1969 23:59:59");
}

TEST(GADHTTPDateTest, WhatIsWrittenReadsBack) {
  // Every day of several centuries, at an odd time of day.
  for (int64_t t = -2208988800; t < 7258118400; t += 86400 * 7 + 3661) {
    std::string text = GADHTTPDate::format(t);
    ASSERT_EQ(GADHTTPDate::parse(text + " GMT", 2026), t) << text;
  }
}

}  // namespace
