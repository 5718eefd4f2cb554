#include "sdk/utility/GADNumberUtilities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

// Six decimals of the widened value (0.1f is 0.100000001490116…), trailing zeros and point
// dropped, zeros of the integer part kept; non-finite and largest values written whole.
TEST(GADNumberUtilities, StringWithFloat) {
  constexpr float kMax = std::numeric_limits<float>::max();
  static const struct {
    float value;
    const char* text;
  } kCases[] = {
      {2.0f, "2"}, {1.5f, "1.5"}, {0.0f, "0"}, {-0.25f, "-0.25"}, {320.0f, "320"}, {1000000.0f, "1000000"},
      {-10.0f, "-10"}, {0.1f, "0.1"}, {1.0f / 3.0f, "0.333333"}, {0.0000001f, "0"}, {-0.0000001f, "-0"},
      {16777216.0f, "16777216"}, {std::numeric_limits<float>::infinity(), "inf"},
      {-std::numeric_limits<float>::infinity(), "-inf"}, {std::nanf(""), "nan"},
      {kMax, "340282346638528859811704183484516925440"}, {-kMax, "-340282346638528859811704183484516925440"},
  };
  for (const auto& c : kCases) EXPECT_EQ(GADNumberUtilities::stringWithFloat(c.value), c.text) << c.text;
}
