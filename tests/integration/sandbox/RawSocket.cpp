#include "RawSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

int RawSocket::Received::status() const {
  int code = 0;
  char minor = 0;
  if (std::sscanf(bytes.c_str(), "HTTP/1.%c %3d", &minor, &code) != 2) return 0;
  return code;
}

RawSocket::RawSocket(int port) {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

RawSocket::~RawSocket() {
  if (fd_ >= 0) ::close(fd_);
}

bool RawSocket::send(std::string_view bytes) {
  while (fd_ >= 0 && !bytes.empty()) {
    ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return fd_ >= 0;
}

RawSocket::Received RawSocket::receive(int quietMs) {
  Received out;
  while (fd_ >= 0) {
    pollfd p{fd_, POLLIN, 0};
    int ready = ::poll(&p, 1, quietMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;  // quiet for quietMs: the connection is still open
    char buffer[16384];
    ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      out.closed = true;
      break;
    }
    out.bytes.append(buffer, static_cast<size_t>(n));
  }
  return out;
}
