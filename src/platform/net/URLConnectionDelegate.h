#pragma once
// pf::URLConnectionDelegate: what a URLConnection tells the object that asked for a load.
//
// Order, per connection, every call on the main run loop and none from inside create() or
// start():
//
//   willSendRequest(first request, no redirect response)
//   [willSendRequest(redirect target, the 3xx response)]...   one per redirect hop
//   didReceiveResponse  (data)*   [didReceiveResponse (data)*]...   a response restarts the body
//   didFinishLoading  |  didFailWithError                          at most one of the two
//
// A failure can come at any point after the first willSendRequest. After cancel() — also when
// called from inside one of these functions — nothing more is heard. The connection does not
// retain its delegate; once the delegate is gone, the connection stops by itself.
#include <optional>
#include <string_view>

#include "platform/base/Error.h"
#include "platform/net/URLRequest.h"
#include "platform/net/URLResponse.h"

namespace pf {

class URLConnection;

class URLConnectionDelegate {
 public:
  virtual ~URLConnectionDelegate() = default;

  // The request about to go out: the first one (no redirect response) and each redirect's
  // target, offered with the 3xx response that asked for it. Return the request to send,
  // changed (headers added, say) or as it came. Returning none:
  //   - for a redirect: the redirect is not followed and its 3xx becomes the final
  //     response — didReceiveResponse with it, its body, didFinishLoading;
  //   - for the first request: the load stops, with no further call (as after cancel()).
  // To end the load at a redirect instead, call connection.cancel() here; what is returned
  // then does not matter.
  virtual std::optional<URLRequest> connectionWillSendRequest(
      URLConnection& connection, const URLRequest& request,
      const std::optional<URLResponse>& redirectResponse) {
    (void)connection;
    (void)redirectResponse;
    return request;
  }
  virtual void connectionDidReceiveResponse(URLConnection& connection,
                                            const URLResponse& response) {
    (void)connection;
    (void)response;
  }
  virtual void connectionDidReceiveData(URLConnection& connection, std::string_view data) {
    (void)connection;
    (void)data;
  }
  virtual void connectionDidFinishLoading(URLConnection& connection) { (void)connection; }
  virtual void connectionDidFailWithError(URLConnection& connection, const Error& error) {
    (void)connection;
    (void)error;
  }

 protected:
  URLConnectionDelegate() = default;
  URLConnectionDelegate(const URLConnectionDelegate&) = delete;
  URLConnectionDelegate& operator=(const URLConnectionDelegate&) = delete;
};

}  // namespace pf
