#include "Request.h"

#include <algorithm>
#include <cctype>

const std::string* Request::header(std::string_view name) const {
  auto same = [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); };
  for (auto it = headers.rbegin(); it != headers.rend(); ++it) {
    if (std::equal(it->first.begin(), it->first.end(), name.begin(), name.end(), same)) return &it->second;
  }
  return nullptr;
}

std::string Request::origin() const {
  const std::string* host = header("Host");
  return host && !host->empty() ? "http://" + *host : localOrigin;
}
