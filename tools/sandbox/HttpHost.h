#pragma once

#include <libsoup/soup.h>

#include <functional>
#include <string>

// One listening HTTP host of the sandbox: a libsoup server bound to one address and port,
// with path handlers and one log line on standard error per finished request.
//
//   HttpHost ad("ad");
//   ad.route("/stats.json", [](SoupServerMessage* msg) { Reply::json(msg, 200, "{}"); });
//   ad.listen("127.0.0.1", 0, &error);   // 0: the system picks a free port
class HttpHost {
 public:
  using Handler = std::function<void(SoupServerMessage*)>;

  explicit HttpHost(std::string name);
  ~HttpHost();
  HttpHost(const HttpHost&) = delete;
  HttpHost& operator=(const HttpHost&) = delete;

  // A handler for the path and everything below it; the longest matching prefix wins.
  void route(const std::string& path, Handler handler);
  bool listen(const std::string& address, guint16 port, GError** error);

  const std::string& name() const { return name_; }
  guint16 port() const { return port_; }
  // "http://address:port", for links that must work without a Host header.
  std::string origin() const;
  // The origin as the client named it (its Host header), falling back to origin().
  std::string originFor(SoupServerMessage* msg) const;

  // For answers that bypass libsoup's own writing (a stolen connection), which then
  // never report "request-finished".
  void logLine(SoupServerMessage* msg, const std::string& outcome) const;

 private:
  static void onFinished(SoupServer*, SoupServerMessage* msg, gpointer self);

  std::string name_;
  std::string address_;
  guint16 port_ = 0;
  SoupServer* server_ = nullptr;
};
