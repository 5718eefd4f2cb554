#pragma once
// GAD_SBJSONDecimal: turns the parts of a JSON number into an exact pf::Value — an integer
// when the number is a whole number within 64 bits, otherwise a decimal in canonical text.
//
// The limits are those of the decimal type the ad layer has always used: at most 38
// significant digits, and a value m × 10^e with m < 10^38 and −128 ≤ e ≤ 127. A number
// outside them is refused rather than rounded, so nothing read is silently changed.
// Zero is always representable, whatever its exponent ("0e999" is 0).
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/base/Value.h"

class GAD_SBJSONDecimal {
 public:
  static constexpr int kMaxDigits = 38;
  static constexpr int kMinExponent = -128;
  static constexpr int kMaxExponent = 127;

  // `integerDigits` and `fractionDigits` hold only '0'…'9'; `exponent` is the written one
  // (already clamped by the caller to a few billion either way).
  static std::optional<pf::Value> valueOf(bool negative, std::string_view integerDigits,
                                          std::string_view fractionDigits, int64_t exponent);
};
