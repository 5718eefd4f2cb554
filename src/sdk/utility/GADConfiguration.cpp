#include "sdk/utility/GADConfiguration.h"

#include <cstdlib>

#include "platform/base/Log.h"

namespace {
std::string fromEnvironment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}
}  // namespace

std::string GADConfiguration::scriptHost() { return fromEnvironment("ASHENMOOR_SCRIPT_HOST", kDefaultScriptHost); }

std::string GADConfiguration::adHost() { return fromEnvironment("ASHENMOOR_AD_HOST", kDefaultAdHost); }

std::string GADConfiguration::reachabilityHost() {
  return fromEnvironment("ASHENMOOR_REACHABILITY_HOST", kDefaultReachabilityHost);
}

std::string GADConfiguration::adNetworkDomain() {
  return fromEnvironment("ASHENMOOR_AD_NETWORK_DOMAIN", kDefaultAdNetworkDomain);
}

std::optional<std::string> GADConfiguration::keyFromHex(std::string_view hex) {
  if (hex.size() != 32) return std::nullopt;
  auto digit = [](char ch) -> int {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
  };
  std::string bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    int high = digit(hex[i]), low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  return bytes;
}

std::optional<std::string> GADConfiguration::uuleKey() {
  std::string hex = fromEnvironment("ASHENMOOR_UULE_KEY", kDefaultUuleKeyHex);
  auto key = keyFromHex(hex);
  if (!key) pf::Log::message("<Diziva> ASHENMOOR_UULE_KEY is not 32 hexadecimal digits; locations are not sent");
  return key;
}

std::optional<std::string> GADConfiguration::signalsKey() {
  return keyFromHex(fromEnvironment("ASHENMOOR_SIGNALS_KEY", kDefaultSignalsKeyHex));
}
