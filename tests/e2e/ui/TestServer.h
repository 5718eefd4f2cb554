#pragma once
// A libsoup server on 127.0.0.1 (a free port) with the few pages the desktop tests load. It
// records every path asked for. Served from this process's main loop, so tests spin it.
#include <libsoup/soup.h>

#include <string>
#include <vector>

class TestServer {
 public:
  TestServer();
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  bool ok() const { return port_ > 0; }
  std::string url(const std::string& path) const;
  const std::vector<std::string>& requestedPaths() const { return paths_; }
  bool wasRequested(const std::string& path) const;

 private:
  static void handle(SoupServer*, SoupServerMessage* msg, const char* path, GHashTable*, gpointer self);

  SoupServer* server_ = nullptr;
  int port_ = 0;
  std::vector<std::string> paths_;
};
