#include "app/AshenmoorSite.h"

#include <cstdlib>

std::string AshenmoorSite::contentHost() {
  const char* host = std::getenv("ASHENMOOR_CONTENT_HOST");
  return host && *host ? host : kDefaultContentHost;
}

std::optional<pf::Url> AshenmoorSite::pageURL(const std::string& path) {
  return pf::Url::parse("http://" + contentHost() + path);
}
