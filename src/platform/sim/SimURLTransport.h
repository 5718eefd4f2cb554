#pragma once
// pf::SimURLTransport: a scripted HTTP server in the process, installed as the URL transport
// of sim tests. Nothing touches the network; every answer comes through the run loop, so
// SimClock::advance() drives delays.
//
//   pf::SimClock clock;
//   auto server = pf::SimURLTransport::install();
//   server->respond("http://static.example/vize/sdk-core-v40.js",
//                   pf::SimResponse::ok("var x;").header("Last-Modified", "…"));
//   server->respondOnce("http://ads.example/ad", pf::SimResponse::redirect(302, "/ad2"));
//   ... load ...
//   clock.runUntilIdle();
//   EXPECT_EQ(server->requests()[1].valueForHTTPHeaderField("If-Modified-Since"), "…");
//
// Which answer a request gets: the one-time entries first, oldest first; then the standing
// entries, newest first (so a test can override what its fixture set). An entry matches the
// URL's whole text, a prefix of it, or a predicate. A request nothing matches fails with
// "could not connect to the server" (URLError::CannotConnectToHost), as a host with nothing
// listening would: a test that forgot to script a URL sees a failure, not a plausible page.
// While offline, every request fails with URLError::NotConnectedToInternet.
//
// Every request is recorded as sent: after the delegate's changes, with the connection's
// "User-Agent" and the jar's "Cookie". Responses get a "Content-Length" unless scripted.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/URLTransport.h"
#include "platform/sim/SimCookieJar.h"
#include "platform/sim/SimExchange.h"
#include "platform/sim/SimResponse.h"

namespace pf {

class SimURLTransport : public URLTransport {
 public:
  enum class Uses { Once, Forever };
  using Matcher = std::function<bool(const URLRequest&)>;
  using Responder = std::function<SimResponse(const URLRequest&)>;

  SimURLTransport();
  // A new transport, installed; uninstall with URLTransport::install(nullptr).
  static std::shared_ptr<SimURLTransport> install();

  void respond(std::string url, SimResponse response, Uses uses = Uses::Forever);
  void respondOnce(std::string url, SimResponse response) {
    respond(std::move(url), std::move(response), Uses::Once);
  }
  void respondToPrefix(std::string prefix, SimResponse response, Uses uses = Uses::Forever);
  // The responder sees the request as sent (a 304 for a conditional request, say).
  void respondWhen(Matcher matcher, Responder responder, Uses uses = Uses::Forever);
  void clearScript();

  void setOffline(bool offline) { offline_ = offline; }

  const std::vector<URLRequest>& requests() const { return requests_; }
  std::vector<URLRequest> requestsFor(std::string_view url) const;
  void clearRequests() { requests_.clear(); }

  SimCookieJar& cookies() { return *cookies_; }

  std::shared_ptr<URLExchange> send(const URLRequest& request,
                                    std::weak_ptr<URLExchangeClient> client) override;

 private:
  struct Entry {
    Matcher matcher;
    Responder responder;
    Uses uses;
  };

  SimResponse answer(const URLRequest& request);
  static std::vector<SimExchange::Step> plan(const URLRequest& request, const SimResponse& response,
                                             bool storeCookies);

  std::vector<Entry> entries_;
  std::vector<URLRequest> requests_;
  std::shared_ptr<SimCookieJar> cookies_;  // shared with exchanges, which store into it
  bool offline_ = false;
};

}  // namespace pf
