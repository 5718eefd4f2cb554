#include "LoopbackServer.h"

#include <stdexcept>

struct LoopbackServer::Ticker {
  LoopbackServer* server;
  SoupServerMessage* message;  // referenced while ticking
  std::function<bool(SoupServerMessage*)> step;
  guint source = 0;
  bool done = false;
};

LoopbackServer::LoopbackServer() : server_(soup_server_new(nullptr, nullptr)) {
  GError* error = nullptr;
  if (!soup_server_listen_local(server_, 0, SOUP_SERVER_LISTEN_IPV4_ONLY, &error)) {
    std::string text = error->message;
    g_error_free(error);
    g_object_unref(server_);
    throw std::runtime_error("cannot listen on 127.0.0.1: " + text);
  }
  GSList* uris = soup_server_get_uris(server_);
  port_ = g_uri_get_port(static_cast<GUri*>(uris->data));
  g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
  soup_server_add_handler(server_, nullptr, serve, this, nullptr);
}

LoopbackServer::~LoopbackServer() {
  g_cancellable_cancel(held_);  // the reads end cancelled, without touching us
  g_object_unref(held_);
  for (auto& ticker : tickers_) stop(*ticker);
  soup_server_disconnect(server_);
  g_object_unref(server_);
}

std::string LoopbackServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

size_t LoopbackServer::requestsFor(const std::string& path) const {
  size_t n = 0;
  for (const auto& r : requests_) n += r.path == path;
  return n;
}

void LoopbackServer::serve(SoupServer*, SoupServerMessage* message, const char* path, GHashTable*,
                           gpointer self) {
  auto* server = static_cast<LoopbackServer*>(self);
  ServerRequest request;
  request.method = soup_server_message_get_method(message);
  request.path = path;
  if (const char* query = g_uri_get_query(soup_server_message_get_uri(message)))
    request.query = query;
  soup_message_headers_foreach(
      soup_server_message_get_request_headers(message),
      [](const char* name, const char* value, gpointer fields) {
        static_cast<pf::HTTPHeaderFields*>(fields)->addValue(value, name);
      },
      &request.headers);
  GBytes* body = soup_message_body_flatten(soup_server_message_get_request_body(message));
  gsize size = 0;
  const auto* data = static_cast<const char*>(g_bytes_get_data(body, &size));
  request.body.assign(data ? data : "", size);
  g_bytes_unref(body);
  server->requests_.push_back(request);

  auto handler = server->handlers_.find(request.path);
  if (handler == server->handlers_.end())
    reply(message, 404, "no such page");
  else
    handler->second(message, request);
}

void LoopbackServer::reply(SoupServerMessage* message, int status, const std::string& body,
                           const Headers& headers) {
  soup_server_message_set_status(message, status, nullptr);
  SoupMessageHeaders* out = soup_server_message_get_response_headers(message);
  std::string type = "text/plain";
  for (const auto& [name, value] : headers) {
    if (pf::HTTPHeaderFields::namesEqual(name, "Content-Type"))
      type = value;
    else
      soup_message_headers_append(out, name.c_str(), value.c_str());
  }
  if (status != 204 && status != 304)
    soup_server_message_set_response(message, type.c_str(), SOUP_MEMORY_COPY, body.data(),
                                     body.size());
}

void LoopbackServer::every(SoupServerMessage* message, unsigned intervalMs,
                           std::function<bool(SoupServerMessage*)> step) {
  auto ticker = std::make_unique<Ticker>();
  ticker->server = this;
  ticker->message = static_cast<SoupServerMessage*>(g_object_ref(message));
  ticker->step = std::move(step);
  g_signal_connect(message, "finished", G_CALLBACK(messageGone), ticker.get());
  g_signal_connect(message, "disconnected", G_CALLBACK(messageGone), ticker.get());
  ticker->source = g_timeout_add(intervalMs, tick, ticker.get());
  soup_server_message_pause(message);
  tickers_.push_back(std::move(ticker));
}

void LoopbackServer::stream(SoupServerMessage* message, std::vector<std::string> chunks,
                            unsigned intervalMs, bool complete) {
  soup_server_message_set_status(message, 200, nullptr);
  soup_message_headers_set_encoding(soup_server_message_get_response_headers(message),
                                    SOUP_ENCODING_CHUNKED);
  every(message, intervalMs, [chunks = std::move(chunks), complete, next = size_t{0}](
                                 SoupServerMessage* m) mutable {
    SoupMessageBody* body = soup_server_message_get_response_body(m);
    if (next < chunks.size()) {
      soup_message_body_append(body, SOUP_MEMORY_COPY, chunks[next].data(), chunks[next].size());
      ++next;
      return true;
    }
    if (complete) soup_message_body_complete(body);
    return false;
  });
}

void LoopbackServer::replyRawAndClose(SoupServerMessage* message, const std::string& raw) {
  GIOStream* stream = soup_server_message_steal_connection(message);
  if (!stream) return;
  GOutputStream* out = g_io_stream_get_output_stream(stream);
  g_output_stream_write_all(out, raw.data(), raw.size(), nullptr, nullptr, nullptr);
  g_output_stream_flush(out, nullptr, nullptr);
  g_io_stream_close(stream, nullptr, nullptr);
  g_object_unref(stream);
}

void LoopbackServer::holdSilently(SoupServerMessage* message) {
  struct Held {
    LoopbackServer* server;
    GIOStream* stream;
    char byte;
  };
  GIOStream* stream = soup_server_message_steal_connection(message);
  if (!stream) return;
  auto* held = new Held{this, stream, 0};
  g_input_stream_read_async(
      g_io_stream_get_input_stream(stream), &held->byte, 1, G_PRIORITY_DEFAULT, held_,
      [](GObject* in, GAsyncResult* result, gpointer data) {
        auto* held = static_cast<Held*>(data);
        GError* error = nullptr;
        const gssize n = g_input_stream_read_finish(G_INPUT_STREAM(in), result, &error);
        if (!g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED) && n <= 0) ++held->server->disconnects_;
        g_clear_error(&error);
        g_io_stream_close(held->stream, nullptr, nullptr);
        g_object_unref(held->stream);
        delete held;
      },
      held);
}

gboolean LoopbackServer::tick(gpointer data) {
  auto* ticker = static_cast<Ticker*>(data);
  const bool more = ticker->step(ticker->message);
  if (!more) {
    ticker->source = 0;  // this callback's return removes it
    ticker->done = true;
  }
  soup_server_message_unpause(ticker->message);
  return more ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
}

void LoopbackServer::messageGone(SoupServerMessage*, gpointer data) {
  auto* ticker = static_cast<Ticker*>(data);
  if (!ticker->done) ++ticker->server->disconnects_;
  ticker->server->stop(*ticker);
}

void LoopbackServer::stop(Ticker& ticker) {
  ticker.done = true;
  if (ticker.source) g_source_remove(ticker.source);
  ticker.source = 0;
  if (ticker.message) {
    g_signal_handlers_disconnect_by_data(ticker.message, &ticker);
    g_object_unref(ticker.message);
    ticker.message = nullptr;
  }
}

int LoopbackServer::unusedPort() { return LoopbackServer().port(); }
