#include "HttpHost.h"

#include "Reply.h"

#include <cstdio>

HttpHost::HttpHost(std::string name) : name_(std::move(name)) {
  server_ = soup_server_new("server-header", "ashenmoor-sandbox ", nullptr);
  g_signal_connect(server_, "request-finished", G_CALLBACK(onFinished), this);
}

HttpHost::~HttpHost() {
  g_signal_handlers_disconnect_by_data(server_, this);
  soup_server_disconnect(server_);
  g_object_unref(server_);
}

void HttpHost::route(const std::string& path, Handler handler) {
  auto* boxed = new Handler(std::move(handler));
  soup_server_add_handler(
      server_, path.c_str(),
      [](SoupServer*, SoupServerMessage* msg, const char*, GHashTable*, gpointer data) {
        (*static_cast<Handler*>(data))(msg);
      },
      boxed, [](gpointer data) { delete static_cast<Handler*>(data); });
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

std::string HttpHost::originFor(SoupServerMessage* msg) const {
  const char* host = soup_message_headers_get_one(soup_server_message_get_request_headers(msg), "Host");
  return host && *host ? std::string("http://") + host : origin();
}

void HttpHost::logLine(SoupServerMessage* msg, const std::string& outcome) const {
  // Requests libsoup refused (and answered itself) have no URI.
  std::string target = soup_server_message_get_uri(msg) ? Reply::path(msg) : "(unparsable request)";
  if (std::string query = Reply::query(msg); !query.empty()) target += '?' + query;
  // Ad URLs carry the whole parameter dictionary; the dashboard shows it decoded.
  if (target.size() > 140) target = target.substr(0, 137) + "...";
  g_autoptr(GDateTime) now = g_date_time_new_now_local();
  g_autofree char* stamp = now ? g_date_time_format(now, "%H:%M:%S.%f") : nullptr;
  const char* method = soup_server_message_get_method(msg);
  std::fprintf(stderr, "%.12s %-7s %s %s %s\n", stamp ? stamp : "--:--:--.---", name_.c_str(), method ? method : "-",
               target.c_str(), outcome.c_str());
}

void HttpHost::onFinished(SoupServer*, SoupServerMessage* msg, gpointer self) {
  static_cast<HttpHost*>(self)->logLine(msg, std::to_string(soup_server_message_get_status(msg)));
}
