#pragma once

#include <string>
#include <string_view>

// A plain TCP connection to 127.0.0.1, for requests no HTTP client would send: bytes out
// exactly as given, whatever comes back read until the sandbox closes or goes quiet.
class RawSocket {
 public:
  struct Received {
    std::string bytes;
    bool closed = false;  // the peer closed (or reset) the connection
    // The status of the first status line, 0 when the bytes do not start with one.
    int status() const;
  };

  explicit RawSocket(int port);
  ~RawSocket();
  RawSocket(const RawSocket&) = delete;
  RawSocket& operator=(const RawSocket&) = delete;

  bool connected() const { return fd_ >= 0; }
  bool send(std::string_view bytes);
  // Reads until the peer closes, or nothing arrives for quietMs.
  Received receive(int quietMs);

 private:
  int fd_ = -1;
};
