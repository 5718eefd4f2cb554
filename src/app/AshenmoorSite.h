#pragma once
// AshenmoorSite: where the series' web site is. The pages come over "http" from one host,
// ASHENMOOR_CONTENT_HOST (host:port), by default the bundled sandbox's content site.
//
//   page->loadRequest(pf::URLRequest(*AshenmoorSite::pageURL("/more.html")));
#include <optional>
#include <string>

#include "platform/base/Url.h"

class AshenmoorSite {
 public:
  static constexpr const char* kDefaultContentHost = "127.0.0.1:47310";
  // The ad unit every page's banner shows.
  static constexpr const char* kAdUnitID = "a15c0f3e82d9b47";

  AshenmoorSite() = delete;
  static std::string contentHost();
  // "http://<content host><path>"; none when the host setting makes no URL.
  static std::optional<pf::Url> pageURL(const std::string& path);
};
