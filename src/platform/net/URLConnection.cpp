#include "platform/net/URLConnection.h"

#include <algorithm>
#include <vector>

#include "platform/base/AsciiText.h"
#include "platform/base/RunLoop.h"
#include "platform/net/HTTPSettings.h"
#include "platform/net/URLError.h"

namespace pf {

namespace {
// Started connections, each kept alive here until it ends (on the phone the run loop
// retained its connections). Held by a global so that a test that resets the run loop mid-load leaves
// reachable objects, not leaks.
std::vector<std::shared_ptr<URLConnection>>& loadingConnections() {
  static std::vector<std::shared_ptr<URLConnection>> connections;
  return connections;
}

void keepAlive(std::shared_ptr<URLConnection> connection) {
  loadingConnections().push_back(std::move(connection));
}

// Returns the reference instead of dropping it, so the caller decides when `this` may go.
std::shared_ptr<URLConnection> releaseKeepAlive(const URLConnection* connection) {
  auto& all = loadingConnections();
  auto it = std::find_if(all.begin(), all.end(),
                         [connection](const auto& c) { return c.get() == connection; });
  if (it == all.end()) return nullptr;
  auto kept = std::move(*it);
  all.erase(it);
  return kept;
}

bool isHTTPScheme(const std::string& scheme) {
  return equalsIgnoringAsciiCase(scheme, "http") || equalsIgnoringAsciiCase(scheme, "https");
}

// The request a redirect leads to: the same request at the new URL, except that a 303 (and,
// as browsers do, a 301 or 302 after a POST) turns it into a GET without a body.
URLRequest redirectedRequest(const URLRequest& from, Url target, int status) {
  URLRequest next = from;
  next.setURL(std::move(target));
  const std::string& method = from.httpMethod();
  if ((status == 303 && method != "GET" && method != "HEAD") ||
      ((status == 301 || status == 302) && method == "POST")) {
    next.setHTTPMethod("GET");
    next.setHTTPBody({});
    next.setValueForHTTPHeaderField(std::nullopt, "Content-Type");
    next.setValueForHTTPHeaderField(std::nullopt, "Content-Length");
  }
  return next;
}
}  // namespace

// The client handed to one exchange. It holds its connection weakly and names itself, so
// that events of an exchange the connection has moved on from are dropped.
class URLConnection::ExchangeEvents final : public URLExchangeClient {
 public:
  explicit ExchangeEvents(std::weak_ptr<URLConnection> owner) : owner_(std::move(owner)) {}

  void exchangeDidReceiveResponse(const URLResponse& response) override {
    if (auto owner = owner_.lock()) owner->exchangeResponded(*this, response);
  }
  void exchangeDidReceiveData(std::string_view bytes) override {
    if (auto owner = owner_.lock()) owner->exchangeReceivedData(*this, bytes);
  }
  void exchangeDidFinish() override {
    if (auto owner = owner_.lock()) owner->exchangeFinished(*this);
  }
  void exchangeDidFail(const Error& error) override {
    if (auto owner = owner_.lock()) owner->exchangeFailed(*this, error);
  }

 private:
  std::weak_ptr<URLConnection> owner_;
};

std::shared_ptr<URLConnection> URLConnection::create(const URLRequest& request,
                                                     std::weak_ptr<URLConnectionDelegate> delegate,
                                                     bool startImmediately) {
  auto transport = URLTransport::installed();
  if (!transport) return nullptr;
  std::shared_ptr<URLConnection> connection(
      new URLConnection(request, std::move(delegate), std::move(transport)));
  if (startImmediately) connection->start();
  return connection;
}

URLConnection::URLConnection(const URLRequest& request,
                             std::weak_ptr<URLConnectionDelegate> delegate,
                             std::shared_ptr<URLTransport> transport)
    : originalRequest_(request),
      currentRequest_(request),
      delegate_(std::move(delegate)),
      transport_(std::move(transport)) {}

URLConnection::~URLConnection() {
  RunLoop::main().cancelPendingCalls(this);
  if (exchange_) exchange_->cancel();
}

size_t URLConnection::loadingCount() { return loadingConnections().size(); }

void URLConnection::cancelAll() {
  auto all = loadingConnections();  // a copy: cancel() edits the list
  for (auto& connection : all) connection->cancel();
}

void URLConnection::start() {
  if (state_ != State::Idle) return;
  state_ = State::Loading;
  keepAlive(shared_from_this());
  // The first request is offered on a later pass, never from inside create() or start().
  // The call holds the connection weakly: the keep-alive above is what keeps it.
  RunLoop::main().performNextPass(this, [weak = weak_from_this()] {
    if (auto self = weak.lock()) self->sendRequest(self->currentRequest_, std::nullopt);
  });
}

void URLConnection::cancel() {
  if (state_ == State::Ended) return;
  end();
}

void URLConnection::end() {
  auto protect = releaseKeepAlive(this);  // `this` lives to the end of this function
  state_ = State::Ended;
  timeoutTimer_.invalidate();
  RunLoop::main().cancelPendingCalls(this);
  dropExchange();
}

void URLConnection::dropExchange() {
  if (exchange_) exchange_->cancel();
  exchange_.reset();
  events_.reset();
}

bool URLConnection::isCurrent(const ExchangeEvents& source) const {
  return state_ == State::Loading && events_.get() == &source;
}

void URLConnection::armTimeout() {
  // An idle time-out, as on the phone platform: any progress starts the interval again.
  double interval = currentRequest_.timeoutInterval();
  if (interval > 0)
    timeoutTimer_.schedule(interval, false, [this] { timedOut(); });
  else
    timeoutTimer_.invalidate();
}

void URLConnection::sendRequest(const URLRequest& proposed,
                                const std::optional<URLResponse>& redirect) {
  auto protect = shared_from_this();
  auto delegate = delegate_.lock();
  if (!delegate) return end();  // nobody is listening any more
  std::optional<URLRequest> next = delegate->connectionWillSendRequest(*this, proposed, redirect);
  if (state_ != State::Loading) return;  // cancelled from inside the call
  if (!next) {
    if (!redirect) return end();
    // Not followed: the 3xx is the answer, and its exchange goes on with the body.
    return deliverResponse(*redirect);
  }

  dropExchange();  // a followed redirect's own body is not wanted
  currentRequest_ = std::move(*next);
  if (!isHTTPScheme(currentRequest_.url().scheme()) || currentRequest_.url().host().empty())
    return fail(URLError::make(URLError::UnsupportedURL, currentRequest_.url()));

  URLRequest wire = currentRequest_;
  if (!HTTPSettings::userAgent().empty() && !wire.valueForHTTPHeaderField("User-Agent"))
    wire.setValueForHTTPHeaderField(HTTPSettings::userAgent(), "User-Agent");
  events_ = std::make_shared<ExchangeEvents>(weak_from_this());
  exchangeResponded_ = false;
  exchange_ = transport_->send(wire, events_);
  armTimeout();
}

void URLConnection::exchangeResponded(const ExchangeEvents& source, const URLResponse& response) {
  if (!isCurrent(source)) return;
  auto protect = shared_from_this();
  armTimeout();
  bool first = !exchangeResponded_;
  exchangeResponded_ = true;
  if (first && response.isRedirect()) {
    auto location = response.valueForHTTPHeaderField("Location");
    auto target = location ? Url::parse(trimAscii(*location), currentRequest_.url()) : std::nullopt;
    // A redirect without a usable "Location" is an ordinary response.
    if (target) {
      if (++redirectCount_ > kMaximumRedirects)
        return fail(URLError::make(URLError::HTTPTooManyRedirects, currentRequest_.url()));
      return sendRequest(
          redirectedRequest(currentRequest_, std::move(*target), response.statusCode()), response);
    }
  }
  deliverResponse(response);
}

void URLConnection::deliverResponse(const URLResponse& response) {
  auto delegate = delegate_.lock();
  if (!delegate) return end();
  delegate->connectionDidReceiveResponse(*this, response);
}

void URLConnection::exchangeReceivedData(const ExchangeEvents& source, std::string_view bytes) {
  if (!isCurrent(source)) return;
  auto protect = shared_from_this();
  armTimeout();
  auto delegate = delegate_.lock();
  if (!delegate) return end();
  delegate->connectionDidReceiveData(*this, bytes);
}

void URLConnection::exchangeFinished(const ExchangeEvents& source) {
  if (!isCurrent(source)) return;
  auto protect = shared_from_this();
  auto delegate = delegate_.lock();
  end();  // before the call: a cancel() from inside it is then harmless
  if (delegate) delegate->connectionDidFinishLoading(*this);
}

void URLConnection::exchangeFailed(const ExchangeEvents& source, const Error& error) {
  if (!isCurrent(source)) return;
  fail(error);
}

void URLConnection::timedOut() {
  if (state_ != State::Loading) return;
  fail(URLError::make(URLError::TimedOut, currentRequest_.url()));
}

void URLConnection::fail(const Error& error) {
  auto protect = shared_from_this();
  Error kept = error;  // end() may drop the exchange that holds `error`
  auto delegate = delegate_.lock();
  end();
  if (delegate) delegate->connectionDidFailWithError(*this, kept);
}

}  // namespace pf
