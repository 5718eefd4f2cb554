#include "CachedFileServer.h"

#include <stdexcept>

struct CachedFileServer::Pending {
  SoupServerMessage* message;  // referenced until answered or gone
  int status;
  std::string body;
  guint source = 0;
};

CachedFileServer::CachedFileServer() : server_(soup_server_new(nullptr, nullptr)) {
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

CachedFileServer::~CachedFileServer() {
  for (auto& pending : pending_) release(*pending);
  soup_server_disconnect(server_);
  g_object_unref(server_);
}

std::string CachedFileServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

size_t CachedFileServer::requestsFor(const std::string& path) const {
  size_t n = 0;
  for (const auto& r : requests_) n += r.path == path;
  return n;
}

void CachedFileServer::serve(SoupServer*, SoupServerMessage* message, const char* path,
                             GHashTable*, gpointer self) {
  auto* server = static_cast<CachedFileServer*>(self);
  Request request;
  request.path = path;
  if (const char* query = g_uri_get_query(soup_server_message_get_uri(message)))
    request.query = query;
  soup_message_headers_foreach(
      soup_server_message_get_request_headers(message),
      [](const char* name, const char* value, gpointer fields) {
        static_cast<pf::HTTPHeaderFields*>(fields)->addValue(value, name);
      },
      &request.headers);
  server->requests_.push_back(request);
  auto handler = server->handlers_.find(request.path);
  if (handler == server->handlers_.end())
    reply(message, 404, "no such file");
  else
    handler->second(message, request);
}

void CachedFileServer::reply(SoupServerMessage* message, int status, const std::string& body,
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

void CachedFileServer::replyLater(SoupServerMessage* message, unsigned delayMs, int status,
                                  std::string body) {
  auto pending = std::make_unique<Pending>();
  pending->message = static_cast<SoupServerMessage*>(g_object_ref(message));
  pending->status = status;
  pending->body = std::move(body);
  g_signal_connect(message, "disconnected", G_CALLBACK(pendingGone), pending.get());
  g_signal_connect(message, "finished", G_CALLBACK(pendingGone), pending.get());
  pending->source = g_timeout_add(delayMs, answerPending, pending.get());
  soup_server_message_pause(message);
  pending_.push_back(std::move(pending));
}

gboolean CachedFileServer::answerPending(gpointer data) {
  auto* pending = static_cast<Pending*>(data);
  pending->source = 0;  // removed by our return
  SoupServerMessage* message = pending->message;
  if (message) {
    reply(message, pending->status, pending->body);
    soup_server_message_unpause(message);
  }
  return G_SOURCE_REMOVE;
}

void CachedFileServer::pendingGone(SoupServerMessage*, gpointer data) {
  release(*static_cast<Pending*>(data));
}

void CachedFileServer::release(Pending& pending) {
  if (pending.source) g_source_remove(pending.source);
  pending.source = 0;
  if (pending.message) {
    g_signal_handlers_disconnect_by_data(pending.message, &pending);
    g_object_unref(pending.message);
    pending.message = nullptr;
  }
}

void CachedFileServer::replyRawAndClose(SoupServerMessage* message, const std::string& raw) {
  GIOStream* stream = soup_server_message_steal_connection(message);
  if (!stream) return;
  GOutputStream* out = g_io_stream_get_output_stream(stream);
  g_output_stream_write_all(out, raw.data(), raw.size(), nullptr, nullptr, nullptr);
  g_output_stream_flush(out, nullptr, nullptr);
  g_io_stream_close(stream, nullptr, nullptr);
  g_object_unref(stream);
}
