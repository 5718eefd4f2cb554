#pragma once
// pf::URLConnection: one URL load reported to a delegate, the way the phone platform's
// connection does (see URLConnectionDelegate for the order of calls).
//
// This class holds the semantics every backend shares — the delegate's order of calls,
// redirects offered to the delegate (at most 16 hops), the idle time-out of the request, the
// process-wide user agent, silence after cancel() — and sends each request through the
// installed URLTransport as one URLExchange.
//
// As on the phone platform, where the run loop retains it, a started connection keeps itself alive
// until it finishes, fails or is cancelled; the caller may keep a shared_ptr only to cancel.
//
//   connection_ = pf::URLConnection::create(request, weak_from_this());
//   if (!connection_) failNow();          // no transport installed
//   ...
//   connection_->cancel();                // the delegate hears nothing more
#include <memory>
#include <optional>

#include "platform/base/Timer.h"
#include "platform/net/URLConnectionDelegate.h"
#include "platform/net/URLExchange.h"
#include "platform/net/URLRequest.h"
#include "platform/net/URLResponse.h"
#include "platform/net/URLTransport.h"

namespace pf {

class URLConnection : public std::enable_shared_from_this<URLConnection> {
 public:
  static constexpr int kMaximumRedirects = 16;

  // A connection for `request` on the installed transport, started at once unless told
  // otherwise (the first delegate call comes on a later run-loop pass). nullptr when no
  // transport is installed.
  static std::shared_ptr<URLConnection> create(const URLRequest& request,
                                               std::weak_ptr<URLConnectionDelegate> delegate,
                                               bool startImmediately = true);
  ~URLConnection();

  URLConnection(const URLConnection&) = delete;
  URLConnection& operator=(const URLConnection&) = delete;

  // Starts a connection made with startImmediately false; does nothing otherwise, or once
  // the connection has ended or was cancelled.
  void start();
  // Ends the load at once: no delegate call follows, the keep-alive is released.
  void cancel();

  const URLRequest& originalRequest() const { return originalRequest_; }
  // The last request sent (after redirects, the final one).
  const URLRequest& currentRequest() const { return currentRequest_; }
  bool isLoading() const { return state_ == State::Loading; }

  // Connections started and not yet ended, each keeping itself alive.
  static size_t loadingCount();
  // Cancels them all, e.g. between tests after the run loop was reset.
  static void cancelAll();

 private:
  class ExchangeEvents;
  enum class State { Idle, Loading, Ended };

  URLConnection(const URLRequest& request, std::weak_ptr<URLConnectionDelegate> delegate,
                std::shared_ptr<URLTransport> transport);

  void sendRequest(const URLRequest& proposed, const std::optional<URLResponse>& redirect);
  void exchangeResponded(const ExchangeEvents& source, const URLResponse& response);
  void exchangeReceivedData(const ExchangeEvents& source, std::string_view bytes);
  void exchangeFinished(const ExchangeEvents& source);
  void exchangeFailed(const ExchangeEvents& source, const Error& error);
  void timedOut();

  void deliverResponse(const URLResponse& response);
  void fail(const Error& error);
  void end();  // to Ended: drops the exchange, the timer, the queued call, the keep-alive
  void dropExchange();
  void armTimeout();
  bool isCurrent(const ExchangeEvents& source) const;

  State state_ = State::Idle;
  URLRequest originalRequest_;
  URLRequest currentRequest_;
  std::weak_ptr<URLConnectionDelegate> delegate_;  // not retained
  std::shared_ptr<URLTransport> transport_;
  std::shared_ptr<URLExchange> exchange_;
  std::shared_ptr<ExchangeEvents> events_;  // the client of exchange_; replaced per exchange
  bool exchangeResponded_ = false;          // only an exchange's first response may redirect
  int redirectCount_ = 0;
  Timer timeoutTimer_;  // member: never fires once we are gone
};

}  // namespace pf
