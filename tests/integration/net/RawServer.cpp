#include "RawServer.h"

#include <stdexcept>

namespace {

gboolean serveConnection(GThreadedSocketService*, GSocketConnection* connection, GObject*,
                         gpointer data) {
  auto* script = static_cast<RawServer::Script*>(data);
  GInputStream* in = g_io_stream_get_input_stream(G_IO_STREAM(connection));
  GOutputStream* out = g_io_stream_get_output_stream(G_IO_STREAM(connection));
  // Read the whole head first: closing with unread input would reset the connection and hide
  // what we mean to show.
  std::string head;
  char buffer[1024];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
    gssize n = g_input_stream_read(in, buffer, sizeof buffer, nullptr, nullptr);
    if (n <= 0) break;
    head.append(buffer, static_cast<size_t>(n));
  }
  if (script->silent) {
    GSocket* socket = g_socket_connection_get_socket(connection);
    g_socket_set_timeout(socket, 10);
    if (g_input_stream_read(in, buffer, sizeof buffer, nullptr, nullptr) == 0) ++script->hangUps;
    g_io_stream_close(G_IO_STREAM(connection), nullptr, nullptr);
    return TRUE;
  }
  g_output_stream_write_all(out, script->reply.data(), script->reply.size(), nullptr, nullptr,
                            nullptr);
  g_output_stream_flush(out, nullptr, nullptr);
  g_io_stream_close(G_IO_STREAM(connection), nullptr, nullptr);
  return TRUE;
}

GInetSocketAddress* loopback(int port) {
  GInetAddress* address = g_inet_address_new_loopback(G_SOCKET_FAMILY_IPV4);
  auto* socketAddress = G_INET_SOCKET_ADDRESS(g_inet_socket_address_new(address, port));
  g_object_unref(address);
  return socketAddress;
}

}  // namespace

RawServer::RawServer(std::string reply) : service_(g_threaded_socket_service_new(4)) {
  // The script belongs to the service object: worker threads still running after we are gone
  // hold the service, and with it the script.
  script_ = new Script;
  script_->reply = std::move(reply);
  g_object_set_data_full(G_OBJECT(service_), "script", script_,
                         [](gpointer p) { delete static_cast<Script*>(p); });
  g_signal_connect(service_, "run", G_CALLBACK(serveConnection), script_);

  GInetSocketAddress* address = loopback(0);
  GSocketAddress* effective = nullptr;
  GError* error = nullptr;
  if (!g_socket_listener_add_address(G_SOCKET_LISTENER(service_), G_SOCKET_ADDRESS(address),
                                     G_SOCKET_TYPE_STREAM, G_SOCKET_PROTOCOL_TCP, nullptr,
                                     &effective, &error)) {
    std::string message = error->message;
    g_error_free(error);
    g_object_unref(address);
    throw std::runtime_error("raw listen: " + message);
  }
  port_ = g_inet_socket_address_get_port(G_INET_SOCKET_ADDRESS(effective));
  g_object_unref(effective);
  g_object_unref(address);
  g_socket_service_start(service_);
}

RawServer::~RawServer() {
  g_socket_service_stop(service_);
  g_socket_listener_close(G_SOCKET_LISTENER(service_));
  g_object_unref(service_);
}

std::unique_ptr<RawServer> RawServer::silent() {
  auto server = std::make_unique<RawServer>("");
  server->script_->silent = true;
  return server;
}

int RawServer::hangUps() const { return script_->hangUps.load(); }

std::string RawServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int RawServer::unusedPort() {
  GSocket* socket = g_socket_new(G_SOCKET_FAMILY_IPV4, G_SOCKET_TYPE_STREAM,
                                 G_SOCKET_PROTOCOL_TCP, nullptr);
  GInetSocketAddress* address = loopback(0);
  g_socket_bind(socket, G_SOCKET_ADDRESS(address), FALSE, nullptr);
  GSocketAddress* bound = g_socket_get_local_address(socket, nullptr);
  const int port = g_inet_socket_address_get_port(G_INET_SOCKET_ADDRESS(bound));
  g_object_unref(bound);
  g_object_unref(address);
  g_socket_close(socket, nullptr);
  g_object_unref(socket);
  return port;
}
