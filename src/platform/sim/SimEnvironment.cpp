#include "platform/sim/SimEnvironment.h"

#include "platform/net/HTTPSettings.h"
#include "platform/net/ReachabilityProvider.h"
#include "platform/net/URLConnection.h"
#include "platform/net/URLTransport.h"

namespace pf {

SimEnvironment::SimEnvironment(const std::string& deviceProfile) {
  HTTPSettings::reset();
  http_ = SimURLTransport::install();
  reachability_ = SimReachability::install();
  ui_ = std::make_unique<SimUIEnvironment>(deviceProfile);
}

SimEnvironment::~SimEnvironment() {
  ui_.reset();
  // Connections still loading hold themselves alive; end them before the transport goes.
  URLConnection::cancelAll();
  URLTransport::install(nullptr);
  ReachabilityProvider::install(nullptr);
  HTTPSettings::reset();
}

}  // namespace pf
