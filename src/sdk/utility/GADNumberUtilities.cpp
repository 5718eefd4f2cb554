#include "sdk/utility/GADNumberUtilities.h"

#include <cstdio>

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
