// gadutil float <number>: the number read as a single-precision float, written as the
// screen parameters write it (320 for 320.0, 1.5 for 1.5).
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "GadutilCommand.h"
#include "sdk/utility/GADNumberUtilities.h"

namespace {

int runFloat(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::printf("usage: gadutil float <number>\n");
    return 1;
  }
  const char* text = args[0].c_str();
  char* end = nullptr;
  errno = 0;
  float value = std::strtof(text, &end);
  // The whole word must be the number; too large is refused rather than rounded to inf
  // (too small is a fine float: tiny or 0).
  if (end == text || *end != '\0' || (errno == ERANGE && std::isinf(value))) {
    std::printf("not a single-precision number: %s\n", text);
    return 1;
  }
  std::printf("%s\n", GADNumberUtilities::stringWithFloat(value).c_str());
  return 0;
}

GadutilCommand floatCommand("float", "float <number>", runFloat);

}  // namespace
