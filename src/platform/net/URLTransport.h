#pragma once
// pf::URLTransport: the backend that puts requests on the wire (libsoup on the desktop, a
// scripted server under sim). One is installed per process (or per test); URLConnection
// sends through it.
//
//   auto sim = std::make_shared<SimURLTransport>();
//   pf::URLTransport::install(sim);
#include <memory>

#include "platform/net/URLExchange.h"
#include "platform/net/URLRequest.h"

namespace pf {

class URLTransport {
 public:
  virtual ~URLTransport() = default;

  // Sends `request` as it is (the connection has already added what it adds). The exchange
  // reports to `client`, which it does not retain. Never calls the client from inside.
  virtual std::shared_ptr<URLExchange> send(const URLRequest& request,
                                            std::weak_ptr<URLExchangeClient> client) = 0;

  // The installed transport, or nullptr when none is (connections cannot be made then).
  static std::shared_ptr<URLTransport> installed();
  // Installs `transport` (nullptr uninstalls); returns the previous one.
  static std::shared_ptr<URLTransport> install(std::shared_ptr<URLTransport> transport);
};

}  // namespace pf
