#include "HttpHost.h"

#include <cstdio>

namespace {

// What every request gets once the host stops, held ones included.
Answer stoppingAnswer() {
  Answer a = Answer::text(503, "the sandbox is stopping\n");
  a.header("Connection", "close");
  return a;
}

}  // namespace

// An answer held back (the message paused) until its delay has passed.
struct HttpHost::Later {
  HttpHost* host;
  SoupServerMessage* msg;  // referenced while paused
  Answer answer;
  guint source = 0;
  gulong disconnected = 0;
};

HttpHost::HttpHost(std::string name) : name_(std::move(name)) {
  server_ = soup_server_new("server-header", "ashenmoor-sandbox ", nullptr);
  g_signal_connect(server_, "request-finished", G_CALLBACK(onFinished), this);
  // One libsoup handler for every path; the router picks the site's handler.
  soup_server_add_handler(server_, "/", serve, this, nullptr);
}

HttpHost::~HttpHost() {
  while (!later_.empty()) finishLater(later_.front().get(), false);
  g_signal_handlers_disconnect_by_data(server_, this);
  soup_server_remove_handler(server_, "/");
  soup_server_disconnect(server_);
  g_object_unref(server_);
}

bool HttpHost::listen(const std::string& address, guint16 port, GError** error) {
  g_autoptr(GInetAddress) inet = g_inet_address_new_from_string(address.c_str());
  if (!inet) {
    g_set_error(error, G_IO_ERROR, G_IO_ERROR_INVALID_ARGUMENT, "not an IP address: %s",
                address.c_str());
    return false;
  }
  g_autoptr(GSocketAddress) socketAddress = g_inet_socket_address_new(inet, port);
  if (!soup_server_listen(server_, socketAddress, static_cast<SoupServerListenOptions>(0), error)) {
    return false;
  }
  address_ = address;
  // With port 0 the system chose one: read it back from the listener.
  GSList* uris = soup_server_get_uris(server_);
  if (uris) port_ = static_cast<guint16>(g_uri_get_port(static_cast<GUri*>(uris->data)));
  g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
  if (port_ == 0) {
    g_set_error(error, G_IO_ERROR, G_IO_ERROR_FAILED, "listening on %s, but no port was bound", address.c_str());
    return false;
  }
  return true;
}

std::string HttpHost::origin() const {
  return "http://" + address_ + ":" + std::to_string(port_);
}

void HttpHost::serve(SoupServer*, SoupServerMessage* msg, const char*, GHashTable*, gpointer self) {
  auto* host = static_cast<HttpHost*>(self);
  if (host->stopping_) {
    apply(msg, stoppingAnswer());
    return;
  }
  host->deliver(msg, host->router_.dispatch(host->requestOf(msg)));
}

Request HttpHost::requestOf(SoupServerMessage* msg) const {
  Request request;
  const char* method = soup_server_message_get_method(msg);
  request.method = method ? method : "";
  // A request libsoup could not parse (a bad percent-escape, a bad Host) has no URI; libsoup
  // answers it with 400 itself, but "request-finished" still reports it.
  GUri* uri = soup_server_message_get_uri(msg);
  const char* path = uri ? g_uri_get_path(uri) : nullptr;
  const char* query = uri ? g_uri_get_query(uri) : nullptr;
  request.path = path ? path : "";
  request.query = query ? query : "";
  if (SoupMessageHeaders* headers = soup_server_message_get_request_headers(msg)) {
    SoupMessageHeadersIter iter;
    soup_message_headers_iter_init(&iter, headers);
    const char* name = nullptr;
    const char* value = nullptr;
    while (soup_message_headers_iter_next(&iter, &name, &value)) {
      request.headers.emplace_back(name ? name : "", value ? value : "");
    }
  }
  request.localOrigin = origin();
  return request;
}

void HttpHost::deliver(SoupServerMessage* msg, Answer answer) {
  if (answer.promisedLength) {
    writeCutShort(msg, answer);
  } else if (answer.delayMs > 0) {
    answerLater(msg, std::move(answer));
  } else {
    apply(msg, answer);
  }
}

void HttpHost::apply(SoupServerMessage* msg, const Answer& answer) {
  SoupMessageHeaders* headers = soup_server_message_get_response_headers(msg);
  for (const auto& [name, value] : answer.headers) soup_message_headers_replace(headers, name.c_str(), value.c_str());
  soup_server_message_set_status(msg, answer.status, nullptr);
  if (!answer.contentType.empty() || !answer.body.empty()) {
    soup_server_message_set_response(msg, answer.contentType.empty() ? nullptr : answer.contentType.c_str(),
                                     SOUP_MEMORY_COPY, answer.body.data(), answer.body.size());
  }
}

void HttpHost::writeCutShort(SoupServerMessage* msg, const Answer& answer) {
  // libsoup always completes a body it was given, so write this answer on the raw
  // connection: the promised Content-Length, a fraction of it, then close.
  logLine(msg, std::to_string(answer.status) + " (closed after " + std::to_string(answer.body.size()) + " of " +
                   std::to_string(*answer.promisedLength) + " body bytes)");
  GIOStream* stream = soup_server_message_steal_connection(msg);
  if (!stream) return;
  // Written without blocking the main loop (a client that reads nothing cannot stall the
  // other hosts); the write owns its bytes and the stream until the stream is closed.
  struct Write {
    GIOStream* stream;
    std::string bytes;
    std::shared_ptr<int> inFlight;
  };
  auto* write = new Write{stream, answer.http1Head() + answer.body, inFlight_};
  ++*inFlight_;
  g_output_stream_write_all_async(
      g_io_stream_get_output_stream(stream), write->bytes.data(), write->bytes.size(), G_PRIORITY_DEFAULT, nullptr,
      [](GObject* out, GAsyncResult* result, gpointer data) {
        auto* w = static_cast<Write*>(data);
        g_output_stream_write_all_finish(G_OUTPUT_STREAM(out), result, nullptr, nullptr);
        g_io_stream_close_async(w->stream, G_PRIORITY_DEFAULT, nullptr, [](GObject* stream, GAsyncResult* closed,
                                                                            gpointer data) {
          g_io_stream_close_finish(G_IO_STREAM(stream), closed, nullptr);
          auto* w = static_cast<Write*>(data);
          --*w->inFlight;
          g_object_unref(w->stream);
          delete w;
        }, w);
      },
      write);
}

void HttpHost::answerLater(SoupServerMessage* msg, Answer answer) {
  const int delayMs = answer.delayMs;
  auto later = std::make_unique<Later>(Later{this, msg, std::move(answer)});
  Later* raw = later.get();
  g_object_ref(msg);
  soup_server_message_pause(msg);
  raw->source = g_timeout_add(static_cast<guint>(delayMs), [](gpointer data) -> gboolean {
    auto* l = static_cast<Later*>(data);
    l->source = 0;
    l->host->finishLater(l, true);
    return G_SOURCE_REMOVE;
  }, raw);
  // A client that gives up must not leave a timer behind.
  raw->disconnected = g_signal_connect(msg, "disconnected", G_CALLBACK(+[](SoupServerMessage*, gpointer data) {
    auto* l = static_cast<Later*>(data);
    l->host->finishLater(l, false);
  }), raw);
  later_.push_back(std::move(later));
}

void HttpHost::stop() {
  stopping_ = true;
  while (!later_.empty()) {
    Later* later = later_.front().get();
    later->answer = stoppingAnswer();
    // Counted until libsoup has sent it (or the client has gone).
    ++*inFlight_;
    g_signal_connect_data(
        later->msg, "finished",
        G_CALLBACK(+[](SoupServerMessage*, gpointer count) { --**static_cast<std::shared_ptr<int>*>(count); }),
        new std::shared_ptr<int>(inFlight_),
        [](gpointer count, GClosure*) { delete static_cast<std::shared_ptr<int>*>(count); }, GConnectFlags(0));
    finishLater(later, true);
  }
}

void HttpHost::finishLater(Later* later, bool send) {
  if (later->source) g_source_remove(later->source);
  if (later->disconnected) g_signal_handler_disconnect(later->msg, later->disconnected);
  if (send) {
    apply(later->msg, later->answer);
    soup_server_message_unpause(later->msg);
  }
  g_object_unref(later->msg);
  later_.remove_if([later](const auto& p) { return p.get() == later; });
}

void HttpHost::logLine(SoupServerMessage* msg, const std::string& outcome) const {
  Request request = requestOf(msg);
  // Requests libsoup refused (and answered itself) have no URI.
  std::string target = soup_server_message_get_uri(msg) ? request.path : "(unparsable request)";
  if (!request.query.empty()) target += '?' + request.query;
  // Ad URLs carry the whole parameter dictionary; the dashboard shows it decoded.
  if (target.size() > 140) target = target.substr(0, 137) + "...";
  g_autoptr(GDateTime) now = g_date_time_new_now_local();
  g_autofree char* stamp = now ? g_date_time_format(now, "%H:%M:%S.%f") : nullptr;
  std::fprintf(stderr, "%.12s %-7s %s %s %s\n", stamp ? stamp : "--:--:--.---", name_.c_str(),
               request.method.empty() ? "-" : request.method.c_str(), target.c_str(), outcome.c_str());
}

void HttpHost::onFinished(SoupServer*, SoupServerMessage* msg, gpointer self) {
  static_cast<HttpHost*>(self)->logLine(msg, std::to_string(soup_server_message_get_status(msg)));
}
