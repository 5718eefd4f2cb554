#pragma once
// pf::HTTPSettings: the process-wide settings of HTTP loading.
//
//   - userAgent: sent as "User-Agent" by every connection whose request does not carry one
//     (empty: the backend's own default);
//   - cookiesEnabled: whether backends store and send cookies at all; a request can still
//     opt out alone with setHTTPShouldHandleCookies(false).
//
// Main thread only, like everything that loads URLs.
#include <string>

namespace pf {

class HTTPSettings {
 public:
  static const std::string& userAgent();
  static void setUserAgent(std::string text);

  static bool cookiesEnabled();
  static void setCookiesEnabled(bool enabled);

  // True when a request with this flag may send and store cookies now.
  static bool handlesCookies(bool requestHandlesCookies) {
    return requestHandlesCookies && cookiesEnabled();
  }

  // Back to the defaults (empty user agent, cookies enabled), between tests.
  static void reset();

  HTTPSettings() = delete;
};

}  // namespace pf
