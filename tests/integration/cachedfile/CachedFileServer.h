#pragma once
// A libsoup server on 127.0.0.1 (a free port) in the test process, on the client's own GLib
// main context. Each path has a handler; other paths answer 404. Requests are recorded as
// they arrived (path with query, and header fields).
//
//   CachedFileServer server;
//   server.handle("/core.js", [](SoupServerMessage* m, const CachedFileServer::Request&) {
//     CachedFileServer::reply(m, 200, "var core;", {{"Last-Modified", "…"}});
//   });
#include <libsoup/soup.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/net/HTTPHeaderFields.h"

class CachedFileServer {
 public:
  struct Request {
    std::string path;
    std::string query;  // empty when none
    pf::HTTPHeaderFields headers;
  };
  using Handler = std::function<void(SoupServerMessage*, const Request&)>;
  using Headers = std::vector<std::pair<std::string, std::string>>;

  CachedFileServer();
  ~CachedFileServer();
  CachedFileServer(const CachedFileServer&) = delete;
  CachedFileServer& operator=(const CachedFileServer&) = delete;

  std::string url(const std::string& path) const;
  void handle(const std::string& path, Handler handler) { handlers_[path] = std::move(handler); }
  const std::vector<Request>& requests() const { return requests_; }
  size_t requestsFor(const std::string& path) const;

  static void reply(SoupServerMessage* message, int status, const std::string& body = {},
                    const Headers& headers = {});
  // Answers after `delayMs` (the message waits paused); nothing when the client left first.
  void replyLater(SoupServerMessage* message, unsigned delayMs, int status, std::string body);
  // Takes the connection from the server, writes `raw` (status line, headers and whatever
  // body) and closes it: a response cut short.
  static void replyRawAndClose(SoupServerMessage* message, const std::string& raw);

 private:
  struct Pending;
  static void serve(SoupServer*, SoupServerMessage* message, const char* path, GHashTable*,
                    gpointer self);
  static gboolean answerPending(gpointer pending);
  static void pendingGone(SoupServerMessage*, gpointer pending);
  static void release(Pending& pending);

  SoupServer* server_;
  int port_ = 0;
  std::map<std::string, Handler> handlers_;
  std::vector<Request> requests_;
  std::vector<std::unique_ptr<Pending>> pending_;
};
