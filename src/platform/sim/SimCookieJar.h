#pragma once
// pf::SimCookieJar: the sim transport's cookies — enough to test that cookies go where the
// request and the process settings allow, not a full cookie engine.
//
// A cookie is kept per host, exactly (no domain or path matching, no expiry): "Set-Cookie:
// id=42; Path=/" stores id=42 for the response's host, and later requests to that host send
// "Cookie: id=42". A cookie set again replaces the old value.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pf {

class SimCookieJar {
 public:
  void store(const std::string& host, std::string_view setCookieValue);
  // "a=1; b=2" in the order first set, or none when the host has no cookies.
  std::optional<std::string> cookieHeader(const std::string& host) const;
  std::optional<std::string> value(const std::string& host, std::string_view name) const;
  void clear() { cookies_.clear(); }

 private:
  std::map<std::string, std::vector<std::pair<std::string, std::string>>, std::less<>> cookies_;
};

}  // namespace pf
