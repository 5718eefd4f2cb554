#include "platform/net/URLRequest.h"

namespace pf {

URLRequest::URLRequest(Url url, URLRequestCachePolicy cachePolicy, double timeoutInterval)
    : url_(std::move(url)), cachePolicy_(cachePolicy), timeoutInterval_(timeoutInterval) {}

std::string URLRequest::description() const {
  return "<URLRequest " + httpMethod_ + " " + url_.absoluteString() + ">";
}

bool URLRequest::operator==(const URLRequest& o) const {
  return url_ == o.url_ && httpMethod_ == o.httpMethod_ && headers_ == o.headers_ &&
         body_ == o.body_ && cachePolicy_ == o.cachePolicy_ &&
         timeoutInterval_ == o.timeoutInterval_ && handleCookies_ == o.handleCookies_ &&
         mainDocumentURL_ == o.mainDocumentURL_;
}

}  // namespace pf
