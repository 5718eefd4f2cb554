#pragma once
// pf::ReachabilityFlags: how a host can be reached now, as 32 bits numbered like the
// phone platform's reachability flags (so code that tests bit 1 or bit 18 reads the same).
#include <cstdint>

namespace pf {

struct ReachabilityFlags {
  static constexpr uint32_t kReachable = 1u << 1;
  static constexpr uint32_t kConnectionRequired = 1u << 2;
  static constexpr uint32_t kIsWWAN = 1u << 18;  // over the cellular network

  uint32_t bits = 0;

  bool reachable() const { return (bits & kReachable) != 0; }
  bool connectionRequired() const { return (bits & kConnectionRequired) != 0; }
  bool isWWAN() const { return (bits & kIsWWAN) != 0; }

  static constexpr ReachabilityFlags notReachable() { return {}; }
  static constexpr ReachabilityFlags viaWiFi() { return {kReachable}; }
  static constexpr ReachabilityFlags viaWWAN() { return {kReachable | kIsWWAN}; }

  bool operator==(const ReachabilityFlags&) const = default;
};

}  // namespace pf
