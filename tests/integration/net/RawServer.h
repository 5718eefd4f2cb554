#pragma once
// A bare TCP server on 127.0.0.1 for answers no well-behaved HTTP server gives: it reads the
// request head, writes `reply` byte for byte, and hangs up. Connections are served on GIO's
// worker threads, so blocking I/O there never stalls the test's main loop.
#include <gio/gio.h>

#include <atomic>
#include <memory>
#include <string>

class RawServer {
 public:
  explicit RawServer(std::string reply);
  // A server that never answers: it reads the request head and waits for the client to hang
  // up (at most 10 s), counting the hang-ups it saw.
  static std::unique_ptr<RawServer> silent();
  int hangUps() const;
  ~RawServer();
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  int port() const { return port_; }
  std::string url(const std::string& path) const;

  // What every connection gets (shared with the worker threads).
  struct Script {
    std::string reply;
    bool silent = false;
    std::atomic<int> hangUps{0};
  };

  // A loopback port with nothing listening on it (bound, read, released).
  static int unusedPort();

 private:
  GSocketService* service_;
  Script* script_;  // owned by the service object, which worker threads keep alive
  int port_ = 0;
};
