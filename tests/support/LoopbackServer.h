#pragma once
// A libsoup server on 127.0.0.1 (a free port) inside the test process, answering on the same
// GLib main context as the client (so a test spins that context, always for a bounded time:
// MainContextWait.h). Each path gets a handler; unknown paths answer 404. Every request is
// recorded as it arrived (method, path, query, header fields, body). Besides ordinary
// answers it streams, cuts an answer short and never answers at all.
//
//   LoopbackServer server;
//   server.answer("/a", 200, "hello", {{"Last-Modified", "..."}});
//   server.handle("/b", [&](SoupServerMessage* m, const ServerRequest& r) { ... reply(m, ...) ... });
//   ... load server.url("/a") ...
#include <libsoup/soup.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/net/HTTPHeaderFields.h"

struct ServerRequest {
  std::string method;
  std::string path;
  std::string query;  // empty when none
  pf::HTTPHeaderFields headers;
  std::string body;
};

class LoopbackServer {
 public:
  using Handler = std::function<void(SoupServerMessage*, const ServerRequest&)>;
  using Headers = std::vector<std::pair<std::string, std::string>>;

  LoopbackServer();
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  std::string url(const std::string& path) const;
  void handle(const std::string& path, Handler handler) { handlers_[path] = std::move(handler); }
  // Every request for `path` gets the same answer (as reply() writes it).
  void answer(const std::string& path, int status, const std::string& body = {}, const Headers& headers = {}) {
    handle(path, [=](SoupServerMessage* m, const ServerRequest&) { reply(m, status, body, headers); });
  }

  const std::vector<ServerRequest>& requests() const { return requests_; }
  size_t requestsFor(const std::string& path) const;

  static void reply(SoupServerMessage* message, int status, const std::string& body = {},
                    const Headers& headers = {});

  // Pauses `message` and calls `step` every `intervalMs` until it answers false or the client
  // goes away; the message is unpaused after each step (to send what the step added).
  void every(SoupServerMessage* message, unsigned intervalMs,
             std::function<bool(SoupServerMessage*)> step);
  // A chunked 200 whose chunks go out `intervalMs` apart; ended when `complete`.
  void stream(SoupServerMessage* message, std::vector<std::string> chunks, unsigned intervalMs,
              bool complete = true);
  // Takes the connection from the server, writes `raw` (status line, headers and whatever
  // body) and closes it: a response cut short.
  static void replyRawAndClose(SoupServerMessage* message, const std::string& raw);
  // Takes the connection from the server and never answers; the client hanging up counts
  // as a disconnect.
  void holdSilently(SoupServerMessage* message);
  // How many paused or held messages lost their client before they were done.
  int disconnects() const { return disconnects_; }

  // A loopback port with nothing listening on it (a server's, once it is gone).
  static int unusedPort();

 private:
  struct Ticker;
  static void serve(SoupServer*, SoupServerMessage* message, const char* path, GHashTable*,
                    gpointer self);
  static gboolean tick(gpointer ticker);
  static void messageGone(SoupServerMessage*, gpointer ticker);
  void stop(Ticker& ticker);

  SoupServer* server_;
  int port_ = 0;
  std::map<std::string, Handler> handlers_;
  std::vector<ServerRequest> requests_;
  std::vector<std::unique_ptr<Ticker>> tickers_;
  GCancellable* held_ = g_cancellable_new();  // the reads of held connections
  int disconnects_ = 0;
};
