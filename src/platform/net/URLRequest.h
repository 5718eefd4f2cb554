#pragma once
// pf::URLRequest: what to fetch and how — a value, copied freely.
//
// A URL, an HTTP method ("GET" unless set), header fields (names without regard to case),
// a body, a cache policy, a time-out and whether cookies go with it. The defaults are the
// phone platform's: protocol cache policy, 60 seconds, cookies handled.
//
//   pf::URLRequest request(*pf::Url::parse("http://static.example/vize/sdk-core-v40.js"),
//                          pf::URLRequestCachePolicy::ReloadIgnoringLocalCacheData);
//   request.setValueForHTTPHeaderField("Thu, 01 Jan 2026 10:00:00 GMT", "If-Modified-Since");
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/Url.h"
#include "platform/net/HTTPHeaderFields.h"

namespace pf {

// The phone platform's numbers, kept because requests are described and logged by them.
enum class URLRequestCachePolicy {
  UseProtocolCachePolicy = 0,
  ReloadIgnoringLocalCacheData = 1,
  ReturnCacheDataElseLoad = 2,
  ReturnCacheDataDontLoad = 3,
};

inline constexpr double kURLRequestDefaultTimeoutInterval = 60.0;

class URLRequest {
 public:
  explicit URLRequest(
      Url url, URLRequestCachePolicy cachePolicy = URLRequestCachePolicy::UseProtocolCachePolicy,
      double timeoutInterval = kURLRequestDefaultTimeoutInterval);

  const Url& url() const { return url_; }
  void setURL(Url url) { url_ = std::move(url); }

  const std::string& httpMethod() const { return httpMethod_; }
  void setHTTPMethod(std::string method) { httpMethod_ = std::move(method); }

  const HTTPHeaderFields& allHTTPHeaderFields() const { return headers_; }
  void setAllHTTPHeaderFields(HTTPHeaderFields fields) { headers_ = std::move(fields); }
  std::optional<std::string> valueForHTTPHeaderField(std::string_view field) const {
    return headers_.value(field);
  }
  // None removes the field.
  void setValueForHTTPHeaderField(std::optional<std::string> value, std::string_view field) {
    headers_.setValue(std::move(value), field);
  }
  // Joins with ", " when the field is already there.
  void addValueForHTTPHeaderField(std::string value, std::string_view field) {
    headers_.addValue(std::move(value), field);
  }

  const std::string& httpBody() const { return body_; }
  void setHTTPBody(std::string bytes) { body_ = std::move(bytes); }

  URLRequestCachePolicy cachePolicy() const { return cachePolicy_; }
  void setCachePolicy(URLRequestCachePolicy policy) { cachePolicy_ = policy; }

  // Seconds without progress before the load fails with "timed out"; 0 or less: never.
  double timeoutInterval() const { return timeoutInterval_; }
  void setTimeoutInterval(double seconds) { timeoutInterval_ = seconds; }

  bool httpShouldHandleCookies() const { return handleCookies_; }
  void setHTTPShouldHandleCookies(bool handle) { handleCookies_ = handle; }

  // The page this request loads for (decides third-party cookies in a browser); none when
  // it is a page itself or not known.
  const std::optional<Url>& mainDocumentURL() const { return mainDocumentURL_; }
  void setMainDocumentURL(std::optional<Url> url) { mainDocumentURL_ = std::move(url); }

  // "<URLRequest GET http://…>" for logs and test messages.
  std::string description() const;

  bool operator==(const URLRequest& other) const;

 private:
  Url url_;
  std::string httpMethod_ = "GET";
  HTTPHeaderFields headers_;
  std::string body_;
  URLRequestCachePolicy cachePolicy_;
  double timeoutInterval_;
  bool handleCookies_ = true;
  std::optional<Url> mainDocumentURL_;
};

}  // namespace pf
