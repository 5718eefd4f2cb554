#pragma once
// GADNumberUtilities: number formatting for request parameters (screen width, height and
// density): a float as short decimal text, 320.0 as "320", 1.5 as "1.5"; and the leading
// number of a text, as header values and page parameters are read ("30s" is 30, "x" is 0).
#include <string>
#include <string_view>

class GADNumberUtilities {
 public:
  GADNumberUtilities() = delete;

  // "%f" of the value, then trailing zeros and a trailing "." dropped; six decimals at most.
  // A text that does not end in "0" (nan, inf) is returned as formatted.
  static std::string stringWithFloat(float value);

  // The decimal number at the start of `text` after white space: an optional sign, digits,
  // a fraction and an exponent; 0 when there is none. Never infinite or NaN (a value out of
  // range is the largest finite one of its sign).
  static double leadingDouble(std::string_view text);
  // The same for an integer (sign and digits), held at the ends of int's range.
  static int leadingInt(std::string_view text);
};
