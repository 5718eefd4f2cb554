#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One HTTP request as the sandbox's sites see it: plain strings, filled by HttpHost from
// libsoup, or directly by a test or a fuzz target.
struct Request {
  std::string method = "GET";
  std::string path = "/";  // percent-decoded, as libsoup hands it over
  std::string query;       // as sent, not decoded; empty when there is none
  std::vector<std::pair<std::string, std::string>> headers;
  std::string localOrigin;  // "http://address:port" of the host that took the request

  // The value of the last header of that name (any case), as libsoup's get_one picks it,
  // or nullptr.
  const std::string* header(std::string_view name) const;
  // The origin as the client named it (its Host header), else localOrigin.
  std::string origin() const;
};
