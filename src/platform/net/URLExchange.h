#pragma once
// pf::URLExchange: one request sent by a backend and what came back — the backend's half of
// a URLConnection.
//
// A backend sends exactly one request per exchange and never follows redirects itself: a
// 3xx is reported as a response like any other, and URLConnection decides (with its
// delegate) whether to follow it with a new exchange. Time-outs, user agent, redirect limits
// and the delegate's order of calls also live in URLConnection, once for every backend.
//
// What a backend promises its client:
//   - every event arrives on the main run loop, never from inside URLTransport::send();
//   - a response comes first; an exchange may report several (a stream that replaces its
//     content), each starting a new body; data follows its response; then exactly one of
//     finish and fail, or a fail at any point;
//   - nothing arrives after cancel() or after the client is gone.
#include <string_view>

#include "platform/base/Error.h"
#include "platform/net/URLResponse.h"

namespace pf {

class URLExchangeClient {
 public:
  virtual ~URLExchangeClient() = default;
  virtual void exchangeDidReceiveResponse(const URLResponse& response) = 0;
  virtual void exchangeDidReceiveData(std::string_view bytes) = 0;
  virtual void exchangeDidFinish() = 0;
  virtual void exchangeDidFail(const Error& error) = 0;
};

class URLExchange {
 public:
  virtual ~URLExchange() = default;
  // Stops the exchange; its client hears nothing more. Safe to call more than once.
  virtual void cancel() = 0;
};

}  // namespace pf
