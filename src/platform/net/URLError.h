#pragma once
// pf::URLError: the errors a URL load fails with, in the phone platform's domain and numbering
// so that code comparing codes (and logs) reads the same.
//
//   connectionDidFailWithError(c, e)  →  e.domain() == pf::kURLErrorDomain,
//                                        e.code() == pf::URLError::TimedOut
#include <optional>

#include "platform/base/Error.h"
#include "platform/base/Url.h"

namespace pf {

inline constexpr const char* kURLErrorDomain = "NSURLErrorDomain";

class URLError {
 public:
  enum Code : long {
    Cancelled = -999,
    BadURL = -1000,
    TimedOut = -1001,
    UnsupportedURL = -1002,
    CannotFindHost = -1003,
    CannotConnectToHost = -1004,
    NetworkConnectionLost = -1005,
    HTTPTooManyRedirects = -1007,
    NotConnectedToInternet = -1009,
    BadServerResponse = -1011,
    SecureConnectionFailed = -1200,  // the TLS handshake failed
  };

  // An error of kURLErrorDomain with the usual message and, when given, the failing URL
  // under kErrorFailingURLStringKey.
  static Error make(long code, const std::optional<Url>& failingURL = std::nullopt);
  static const char* message(long code);

  URLError() = delete;
};

}  // namespace pf
