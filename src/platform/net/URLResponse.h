#pragma once
// pf::URLResponse: the head of an HTTP response — URL, status code and header fields — with
// what the phone platform derives from them: the expected length (from "Content-Length") and the
// MIME type and text encoding name (from "Content-Type").
//
// Header names compare without regard to case and keep their spelling for enumeration;
// repeated fields are joined with ", " (see HTTPHeaderFields).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/Url.h"
#include "platform/net/HTTPHeaderFields.h"

namespace pf {

inline constexpr int64_t kURLResponseUnknownLength = -1;

class URLResponse {
 public:
  URLResponse(Url url, int statusCode, HTTPHeaderFields headerFields);

  const Url& url() const { return url_; }
  int statusCode() const { return statusCode_; }
  const HTTPHeaderFields& allHeaderFields() const { return headers_; }
  std::optional<std::string> valueForHTTPHeaderField(std::string_view field) const {
    return headers_.value(field);
  }

  // "Content-Length" when it is a plain non-negative number, else kURLResponseUnknownLength.
  int64_t expectedContentLength() const { return expectedContentLength_; }
  // The media type of "Content-Type", lower-cased ("text/html"); empty when not given.
  const std::string& mimeType() const { return mimeType_; }
  // Its "charset" parameter as written, quotes removed; none when not given.
  const std::optional<std::string>& textEncodingName() const { return textEncodingName_; }

  // 301, 302, 303, 307 and 308: the statuses whose "Location" a connection follows.
  bool isRedirect() const;

 private:
  Url url_;
  int statusCode_;
  HTTPHeaderFields headers_;
  int64_t expectedContentLength_ = kURLResponseUnknownLength;
  std::string mimeType_;
  std::optional<std::string> textEncodingName_;
};

}  // namespace pf
