#include "sdk/encoding/GAD_SBJSONDecimal.h"

#include <string>

std::optional<pf::Value> GAD_SBJSONDecimal::valueOf(bool negative, std::string_view integerDigits,
                                                    std::string_view fractionDigits,
                                                    int64_t exponent) {
  // The digits as one sequence without copying: integer part, then fraction.
  const size_t n = integerDigits.size() + fractionDigits.size();
  auto at = [&](size_t i) {
    return i < integerDigits.size() ? integerDigits[i] : fractionDigits[i - integerDigits.size()];
  };
  size_t first = 0;
  while (first < n && at(first) == '0') ++first;
  if (first == n) return pf::Value(0);  // "-0", "0.000", "0e99": all plain zero
  size_t last = n;
  while (at(last - 1) == '0') --last;

  // Value = m × 10^e, m the significant digits as an integer.
  const int64_t digits = static_cast<int64_t>(last - first);
  const int64_t e = exponent - static_cast<int64_t>(fractionDigits.size()) +
                    static_cast<int64_t>(n - last);
  if (digits > kMaxDigits || e < kMinExponent) return std::nullopt;
  // A larger exponent is fine while m can take the extra zeros: 1e130 is 1000 × 10^127.
  if (e > kMaxExponent && digits + (e - kMaxExponent) > kMaxDigits) return std::nullopt;

  char m[kMaxDigits];
  for (int64_t i = 0; i < digits; ++i) m[i] = at(first + static_cast<size_t>(i));

  if (e >= 0 && digits + e <= 19) {
    uint64_t v = 0;
    for (int64_t i = 0; i < digits; ++i) v = v * 10 + static_cast<uint64_t>(m[i] - '0');
    for (int64_t i = 0; i < e; ++i) v *= 10;  // at most 19 digits in all: no overflow
    const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
    if (v <= limit) {
      return pf::Value(negative ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v));
    }
  }

  // Plain notation, as the decimal type writes itself: "-0.0015", "1500000000000000000000".
  std::string text;
  text.reserve(static_cast<size_t>(digits + (e < 0 ? -e : e)) + 3);
  if (negative) text += '-';
  if (e >= 0) {
    text.append(m, static_cast<size_t>(digits));
    text.append(static_cast<size_t>(e), '0');
  } else if (-e < digits) {
    text.append(m, static_cast<size_t>(digits + e));
    text += '.';
    text.append(m + digits + e, static_cast<size_t>(-e));
  } else {
    text += "0.";
    text.append(static_cast<size_t>(-e - digits), '0');
    text.append(m, static_cast<size_t>(digits));
  }
  return pf::Value::decimal(std::move(text));
}
