#include "sdk/utility/GADNumberUtilities.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cstdio>
#include <string>

std::string GADNumberUtilities::stringWithFloat(float value) {
  // The largest float has 39 integer digits; 64 bytes hold "-", those, "." and six decimals.
  char buf[64];
  int n = std::snprintf(buf, sizeof buf, "%f", static_cast<double>(value));
  std::string text(buf, n > 0 ? static_cast<size_t>(n) : 0);
  size_t end = text.size();
  while (end > 0 && text[end - 1] == '0') --end;
  // Only zeros after the point go: "%f" always writes one, so the loop stops there for a
  // finite value and never eats the integer part's zeros.
  if (end < text.size() && end > 0 && text[end - 1] == '.') --end;
  text.resize(end);
  return text;
}

namespace {
std::string_view afterSpace(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
  return text.substr(i);
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

double GADNumberUtilities::leadingDouble(std::string_view text) {
  text = afterSpace(text);
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) ++j;
      i = j;
    }
  }
  // from_chars reads the C form whatever the process's locale, but takes no "+".
  std::string_view number = text.substr(0, i);
  const bool negative = number[0] == '-';
  if (number[0] == '+') number.remove_prefix(1);
  double value = 0;
  auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small rounds to zero; too large is held at the largest finite value.
    bool tiny = number.find_first_of("123456789") == std::string_view::npos ||
                number.find("e-") != std::string_view::npos || number.find("E-") != std::string_view::npos;
    value = tiny ? 0.0 : (negative ? -DBL_MAX : DBL_MAX);
  }
  return value;
}

int GADNumberUtilities::leadingInt(std::string_view text) {
  text = afterSpace(text);
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) return negative ? INT_MIN : INT_MAX;
  }
  return static_cast<int>(negative ? -value : value);
}
