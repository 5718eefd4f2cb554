#pragma once
// A bare TCP server on 127.0.0.1 for answers no well-behaved HTTP server gives: it reads the
// request head, writes `reply` byte for byte, and hangs up. Connections are served on GIO's
// worker threads, so blocking I/O there never stalls the test's main loop.
#include <gio/gio.h>

#include <string>

class RawServer {
 public:
  explicit RawServer(std::string reply);
  ~RawServer();
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  int port() const { return port_; }
  std::string url(const std::string& path) const;

  // A loopback port with nothing listening on it (bound, read, released).
  static int unusedPort();

 private:
  GSocketService* service_;
  int port_ = 0;
};
