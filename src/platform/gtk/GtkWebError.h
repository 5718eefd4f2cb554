#pragma once
// pf::GtkWebError: a web engine's load failure as the error the page delegates compare —
// network failures in the URL error domain with its codes (cancelled is -999), the engine's
// policy failures in "WebKitErrorDomain" with the engine's own codes (102: frame load
// interrupted), anything else as an unknown URL error that keeps the engine's message.
#include <glib.h>

#include <string>

#include "platform/base/Error.h"

namespace pf {

inline constexpr const char* kWebKitErrorDomain = "WebKitErrorDomain";

class GtkWebError {
 public:
  static Error fromGError(const GError* error, const std::string& failingURI);
  GtkWebError() = delete;
};

}  // namespace pf
