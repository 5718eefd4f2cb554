#pragma once

#include "QueryString.h"

#include <string>

// Message URLs an ad page navigates to so the application acts for it. The host of a
// "gmsg" URL is ignored by the application; the path names the message and every
// parameter is percent-encoded, so values may hold "&", "=" or whole URLs.
class MessageUrl {
 public:
  static std::string gmsg(const std::string& name, const QueryString::Pairs& params = {});
  // The older form: the host is the verb ("launch", "closecanvas", "log").
  static std::string rodud(const std::string& verb, const QueryString::Pairs& params = {});
};
