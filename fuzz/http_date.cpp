// The HTTP date parser on arbitrary text, with what every result must satisfy.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sdk/network/GADHTTPDate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  // A fixed year keeps runs reproducible; the clock's year is only a default.
  auto seconds = GADHTTPDate::parse(text, 2026);
  if (!seconds) return 0;
  // Years of four digits at most, whichever form was read (RFC 850 stays near 2026).
  constexpr int64_t kYear0 = -62167219200;   // 0000-01-01T00:00:00Z
  constexpr int64_t kYear10000 = 253402300800;  // 10000-01-01T00:00:00Z
  if (*seconds < kYear0 || *seconds >= kYear10000) std::abort();
  // What we write for it reads back as the same instant, with or without the zone.
  std::string written = GADHTTPDate::format(*seconds);
  if (written.size() != 25) std::abort();
  if (GADHTTPDate::parse(written, 2026) != seconds) std::abort();
  if (GADHTTPDate::parse(written + " GMT", 2026) != seconds) std::abort();
  return 0;
}
