#pragma once

#include "Answer.h"
#include "Request.h"
#include "Router.h"

#include <libsoup/soup.h>

#include <list>
#include <memory>
#include <string>

// One listening HTTP host of the sandbox: a libsoup server bound to one address and port
// that hands every request, as a plain Request, to its Router and sends the Answer back;
// one log line on standard error per finished request.
//
//   HttpHost ad("ad");
//   auto route = ad.router().add("/stats.json", [](const Request&) { return Answer::json(200, "{}"); });
//   ad.listen("127.0.0.1", 0, &error);   // 0: the system picks a free port
class HttpHost {
 public:
  explicit HttpHost(std::string name);
  ~HttpHost();
  HttpHost(const HttpHost&) = delete;
  HttpHost& operator=(const HttpHost&) = delete;

  Router& router() { return router_; }
  bool listen(const std::string& address, guint16 port, GError** error);

  // When stopping: every request whose answer is still held back is answered now, and
  // every new one at once, with 503.
  void stop();
  // No answer is being written: none held, none sent after answerHeldNow() still on its
  // way, no cut-short answer still writing. The main context must run for this to come.
  bool idle() const { return later_.empty() && *inFlight_ == 0; }

  const std::string& name() const { return name_; }
  guint16 port() const { return port_; }
  // "http://address:port", for links that must work without a Host header.
  std::string origin() const;

 private:
  struct Later;

  static void serve(SoupServer*, SoupServerMessage* msg, const char*, GHashTable*, gpointer self);
  static void onFinished(SoupServer*, SoupServerMessage* msg, gpointer self);
  // The request as plain strings; a request libsoup refused has no URI, and gets an empty
  // path and query here.
  Request requestOf(SoupServerMessage* msg) const;
  void deliver(SoupServerMessage* msg, Answer answer);
  static void apply(SoupServerMessage* msg, const Answer& answer);
  void writeCutShort(SoupServerMessage* msg, const Answer& answer);
  void answerLater(SoupServerMessage* msg, Answer answer);
  void finishLater(Later* later, bool send);
  void logLine(SoupServerMessage* msg, const std::string& outcome) const;

  std::string name_;
  std::string address_;
  guint16 port_ = 0;
  Router router_;
  bool stopping_ = false;
  SoupServer* server_ = nullptr;
  std::list<std::unique_ptr<Later>> later_;
  // Answers on their way that idle() waits for; shared with their callbacks, which may
  // outlive the host.
  std::shared_ptr<int> inFlight_ = std::make_shared<int>(0);
};
