#include "platform/gtk/SoupExchange.h"

#include <strings.h>

#include "platform/base/DispatchMeter.h"
#include "platform/base/RunLoop.h"
#include "platform/net/HTTPSettings.h"
#include "platform/net/URLError.h"

namespace pf {

namespace {

constexpr auto kURIFlags = static_cast<GUriFlags>(SOUP_HTTP_URI_FLAGS);

// The URL error for a GLib failure. `midBody`: the response head had arrived.
long urlErrorCode(const GError* error, bool midBody) {
  if (error->domain == G_RESOLVER_ERROR) return URLError::CannotFindHost;
  if (error->domain == G_TLS_ERROR) return URLError::SecureConnectionFailed;
  if (error->domain == G_IO_ERROR) {
    switch (error->code) {
      case G_IO_ERROR_TIMED_OUT: return URLError::TimedOut;
      case G_IO_ERROR_HOST_NOT_FOUND: return URLError::CannotFindHost;
      case G_IO_ERROR_NETWORK_UNREACHABLE: return URLError::NotConnectedToInternet;
      case G_IO_ERROR_CONNECTION_REFUSED:
      case G_IO_ERROR_HOST_UNREACHABLE:
        return midBody ? URLError::NetworkConnectionLost : URLError::CannotConnectToHost;
      default: break;
    }
  }
  if (error->domain == SOUP_SESSION_ERROR) {
    switch (error->code) {
      case SOUP_SESSION_ERROR_PARSING:
      case SOUP_SESSION_ERROR_ENCODING:
        return midBody ? URLError::NetworkConnectionLost : URLError::BadServerResponse;
      default: break;
    }
  }
  // Reset, closed, broken pipe, partial input: a connection that broke, however GIO puts it.
  return URLError::NetworkConnectionLost;
}

void appendHeader(const char* name, const char* value, gpointer fields) {
  static_cast<HTTPHeaderFields*>(fields)->addValue(value, name);
}

// Statuses and methods whose "Content-Length" describes a body that is not sent.
bool hasNoBody(const std::string& method, guint status) {
  return method == "HEAD" || status < 200 || status == 204 || status == 304;
}

// The body stream is closed once read to its end, so the connection goes back to the pool.
void closed(GObject* source, GAsyncResult* result, gpointer) {
  g_input_stream_close_finish(G_INPUT_STREAM(source), result, nullptr);
}

}  // namespace

std::shared_ptr<SoupExchange> SoupExchange::start(SoupSession* session, const URLRequest& request,
                                                  std::weak_ptr<URLExchangeClient> client) {
  std::shared_ptr<SoupExchange> exchange(new SoupExchange(session, request, std::move(client)));
  if (exchange->message_)
    exchange->send();
  else
    exchange->failSoon(URLError::BadURL);
  return exchange;
}

SoupExchange::SoupExchange(SoupSession* session, const URLRequest& request,
                           std::weak_ptr<URLExchangeClient> client)
    : url_(request.url()),
      client_(std::move(client)),
      session_(GObjectRef<SoupSession>::ref(session)),
      cancellable_(GObjectRef<GCancellable>::adopt(g_cancellable_new())) {
  GUri* uri = g_uri_parse(url_.absoluteString().c_str(), kURIFlags, nullptr);
  if (!uri) return;
  message_ = GObjectRef<SoupMessage>::adopt(
      soup_message_new_from_uri(request.httpMethod().c_str(), uri));
  g_uri_unref(uri);
  SoupMessage* message = message_.get();
  soup_message_add_flags(message, static_cast<SoupMessageFlags>(SOUP_MESSAGE_NO_REDIRECT |
                                                                SOUP_MESSAGE_COLLECT_METRICS));

  SoupMessageHeaders* headers = soup_message_get_request_headers(message);
  for (const auto& [name, value] : request.allHTTPHeaderFields().fields()) {
    // libsoup frames the body itself; a stale length from the caller would break the framing.
    if (HTTPHeaderFields::namesEqual(name, "Content-Length") ||
        HTTPHeaderFields::namesEqual(name, "Transfer-Encoding"))
      continue;
    soup_message_headers_replace(headers, name.c_str(), value.c_str());
  }
  if (!request.httpBody().empty()) {
    GBytes* body = g_bytes_new(request.httpBody().data(), request.httpBody().size());
    soup_message_set_request_body_from_bytes(message, nullptr, body);  // keeps Content-Type
    g_bytes_unref(body);
  }

  if (!HTTPSettings::handlesCookies(request.httpShouldHandleCookies())) {
    soup_message_disable_feature(message, SOUP_TYPE_COOKIE_JAR);
  } else if (auto cookie = request.valueForHTTPHeaderField("Cookie")) {
    // The jar writes its own "Cookie" over the request's; a caller that set one means it.
    explicitCookie_ = std::move(cookie);
    g_signal_connect_after(message, "starting", G_CALLBACK(restoreCookieHeader), this);
  }
  if (const auto& page = request.mainDocumentURL()) {
    if (GUri* first = g_uri_parse(page->absoluteString().c_str(), kURIFlags, nullptr)) {
      soup_message_set_first_party(message, first);
      g_uri_unref(first);
    }
  }
}

SoupExchange::~SoupExchange() {
  stop();
  RunLoop::main().cancelPendingCalls(this);
}

void SoupExchange::cancel() {
  stop();
  RunLoop::main().cancelPendingCalls(this);
}

void SoupExchange::stop() {
  if (message_) g_signal_handlers_disconnect_by_data(message_.get(), this);
  if (ended_) return;
  ended_ = true;
  // libsoup drops the message and its connection; callbacks still queued see the handle
  // expire or `ended_`, and only free their results.
  g_cancellable_cancel(cancellable_.get());
  body_.reset();
}

void SoupExchange::send() {
  soup_session_send_async(session_.get(), message_.get(), G_PRIORITY_DEFAULT, cancellable_.get(),
                          sent, new Handle(weak_from_this()));
}

void SoupExchange::failSoon(long code) {
  // Never from inside start(): the failure comes on a later pass.
  RunLoop::main().performNextPass(this, [weak = weak_from_this(), code] {
    if (auto self = weak.lock()) self->fail(code, nullptr);
  });
}

void SoupExchange::restoreCookieHeader(SoupMessage* message, gpointer self) {
  const auto& cookie = static_cast<SoupExchange*>(self)->explicitCookie_;
  if (cookie)
    soup_message_headers_replace(soup_message_get_request_headers(message), "Cookie",
                                 cookie->c_str());
}

void SoupExchange::sent(GObject* source, GAsyncResult* result, gpointer handle) {
  DispatchMeter::Scope measured("HTTP response");
  std::unique_ptr<Handle> weak(static_cast<Handle*>(handle));
  GError* error = nullptr;
  auto body = GObjectRef<GInputStream>::adopt(
      soup_session_send_finish(SOUP_SESSION(source), result, &error));
  auto self = weak->lock();
  if (self && !self->ended_) {
    if (body)
      self->responded(std::move(body));
    else if (!g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED))
      self->fail(error, false);
  }
  g_clear_error(&error);
}

void SoupExchange::read(GObject* source, GAsyncResult* result, gpointer handle) {
  DispatchMeter::Scope measured("HTTP body");
  std::unique_ptr<Handle> weak(static_cast<Handle*>(handle));
  GError* error = nullptr;
  GBytes* bytes = g_input_stream_read_bytes_finish(G_INPUT_STREAM(source), result, &error);
  auto self = weak->lock();
  if (self && !self->ended_) {
    if (bytes)
      self->received(bytes);
    else if (!g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED))
      self->fail(error, true);
  }
  if (bytes) g_bytes_unref(bytes);
  g_clear_error(&error);
}

std::shared_ptr<URLExchangeClient> SoupExchange::clientOrCancel() {
  auto client = client_.lock();
  if (!client) stop();  // nobody to tell: stop loading
  return client;
}

void SoupExchange::responded(GObjectRef<GInputStream> body) {
  body_ = std::move(body);
  SoupMessage* message = message_.get();
  const guint status = soup_message_get_status(message);
  SoupMessageHeaders* headers = soup_message_get_response_headers(message);
  HTTPHeaderFields fields;
  soup_message_headers_foreach(headers, appendHeader, &fields);

  const char* encoding = soup_message_headers_get_one(headers, "Content-Encoding");
  decoded_ = encoding && *encoding && strcasecmp(encoding, "identity") != 0;
  if (soup_message_headers_get_encoding(headers) == SOUP_ENCODING_CONTENT_LENGTH &&
      !hasNoBody(soup_message_get_method(message), status))
    expectedLength_ = soup_message_headers_get_content_length(headers);

  auto client = clientOrCancel();
  if (!client) return;
  auto protect = shared_from_this();  // the client may let go of us
  client->exchangeDidReceiveResponse(URLResponse(url_, static_cast<int>(status), std::move(fields)));
  if (!ended_) readNext();
}

void SoupExchange::readNext() {
  g_input_stream_read_bytes_async(body_.get(), kReadChunkSize, G_PRIORITY_DEFAULT,
                                  cancellable_.get(), read, new Handle(weak_from_this()));
}

void SoupExchange::received(GBytes* bytes) {
  gsize size = 0;
  const auto* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
  if (size == 0) return reachedEnd();
  received_ += size;
  auto client = clientOrCancel();
  if (!client) return;
  auto protect = shared_from_this();
  client->exchangeDidReceiveData(std::string_view(data, size));
  if (!ended_) readNext();
}

void SoupExchange::reachedEnd() {
  if (expectedLength_ >= 0) {
    // libsoup ends a Content-Length body quietly when the server hangs up early. A decoded
    // body is longer than what came over the wire, so count the wire bytes then.
    uint64_t wire = received_;
    if (decoded_)
      if (SoupMessageMetrics* metrics = soup_message_get_metrics(message_.get()))
        wire = soup_message_metrics_get_response_body_bytes_received(metrics);
    if (wire < static_cast<uint64_t>(expectedLength_))
      return fail(URLError::NetworkConnectionLost, nullptr);
  }
  auto client = clientOrCancel();
  if (!client) return;
  auto protect = shared_from_this();
  ended_ = true;
  g_input_stream_close_async(body_.get(), G_PRIORITY_DEFAULT, nullptr, closed, nullptr);
  body_.reset();
  client->exchangeDidFinish();
}

void SoupExchange::fail(const GError* error, bool midBody) {
  fail(urlErrorCode(error, midBody), error);
}

void SoupExchange::fail(long code, const GError* underlying) {
  auto client = clientOrCancel();
  if (!client) return;
  auto protect = shared_from_this();
  stop();
  Error made = URLError::make(code, url_);
  std::shared_ptr<const Error> cause;
  if (underlying)
    cause = std::make_shared<Error>(Error::withDescription(
        g_quark_to_string(underlying->domain), underlying->code, underlying->message));
  client->exchangeDidFail(Error(made.domain(), made.code(), made.userInfo(), std::move(cause)));
}

}  // namespace pf
