#include "platform/net/HTTPSettings.h"

namespace pf {

namespace {
struct Settings {
  std::string userAgent;
  bool cookiesEnabled = true;
};

Settings& settings() {
  static Settings s;
  return s;
}
}  // namespace

const std::string& HTTPSettings::userAgent() { return settings().userAgent; }
void HTTPSettings::setUserAgent(std::string text) { settings().userAgent = std::move(text); }
bool HTTPSettings::cookiesEnabled() { return settings().cookiesEnabled; }
void HTTPSettings::setCookiesEnabled(bool enabled) { settings().cookiesEnabled = enabled; }
void HTTPSettings::reset() { settings() = Settings{}; }

}  // namespace pf
