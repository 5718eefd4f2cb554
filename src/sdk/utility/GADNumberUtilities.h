#pragma once
// GADNumberUtilities: number formatting for request parameters (screen width, height and
// density): a float as short decimal text, 320.0 as "320", 1.5 as "1.5".
#include <string>

class GADNumberUtilities {
 public:
  GADNumberUtilities() = delete;

  // "%f" of the value, then trailing zeros and a trailing "." dropped; six decimals at most.
  // A text that does not end in "0" (nan, inf) is returned as formatted.
  static std::string stringWithFloat(float value);
};
