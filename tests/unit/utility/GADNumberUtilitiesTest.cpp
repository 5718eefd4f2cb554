#include "sdk/utility/GADNumberUtilities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(GADNumberUtilities, TrailingZerosAndPointDropped) {
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(2.0f), "2");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(1.5f), "1.5");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(0.0f), "0");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(-0.25f), "-0.25");
}

TEST(GADNumberUtilities, ZerosOfTheIntegerPartStay) {
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(320.0f), "320");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(100.0f), "100");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(1000000.0f), "1000000");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(-10.0f), "-10");
}

TEST(GADNumberUtilities, SixDecimalsOfTheWidenedValue) {
  // 0.1f widens to 0.100000001490116…: six decimals hide the float error.
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(0.1f), "0.1");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(1.0f / 3.0f), "0.333333");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(0.0000001f), "0");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(-0.0000001f), "-0");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(16777216.0f), "16777216");
}

TEST(GADNumberUtilities, NonFiniteAndLargestValuesAreWrittenWhole) {
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(std::numeric_limits<float>::infinity()), "inf");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(-std::numeric_limits<float>::infinity()), "-inf");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(std::nanf("")), "nan");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(std::numeric_limits<float>::max()),
            "340282346638528859811704183484516925440");
  EXPECT_EQ(GADNumberUtilities::stringWithFloat(-std::numeric_limits<float>::max()),
            "-340282346638528859811704183484516925440");
}

}  // namespace
