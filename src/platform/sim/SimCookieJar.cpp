#include "platform/sim/SimCookieJar.h"

#include <algorithm>

#include "platform/base/AsciiText.h"

namespace pf {

void SimCookieJar::store(const std::string& host, std::string_view setCookieValue) {
  std::string_view pair = setCookieValue.substr(0, setCookieValue.find(';'));
  size_t eq = pair.find('=');
  if (eq == std::string_view::npos) return;
  std::string name(trimAscii(pair.substr(0, eq)));
  if (name.empty()) return;
  std::string value(trimAscii(pair.substr(eq + 1)));
  auto& list = cookies_[host];
  auto it = std::find_if(list.begin(), list.end(), [&](const auto& c) { return c.first == name; });
  if (it != list.end())
    it->second = std::move(value);
  else
    list.emplace_back(std::move(name), std::move(value));
}

std::optional<std::string> SimCookieJar::cookieHeader(const std::string& host) const {
  auto it = cookies_.find(host);
  if (it == cookies_.end() || it->second.empty()) return std::nullopt;
  std::string out;
  for (const auto& [name, value] : it->second) {
    if (!out.empty()) out += "; ";
    out += name + "=" + value;
  }
  return out;
}

std::optional<std::string> SimCookieJar::value(const std::string& host,
                                               std::string_view name) const {
  auto it = cookies_.find(host);
  if (it == cookies_.end()) return std::nullopt;
  for (const auto& [n, v] : it->second)
    if (n == name) return v;
  return std::nullopt;
}

}  // namespace pf
