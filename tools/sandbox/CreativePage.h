#pragma once

#include "Creative.h"
#include "WwwRoot.h"

#include <string>

// Renders a banner creative into its 320x50 ad page from the template
// www/ad/creative.html: one link over the whole banner, no outside resources.
class CreativePage {
 public:
  explicit CreativePage(const WwwRoot& www) : www_(www) {}
  std::string render(const Creative& creative, const std::string& origin) const;
  // The body of the "not-utf8" creative: a page in Latin-1 bytes.
  static std::string latin1Page();

 private:
  const WwwRoot& www_;
};
