#include "platform/gtk/DesktopPlatform.h"

#include "platform/base/Clock.h"
#include "platform/base/RunLoop.h"
#include "platform/net/URLConnection.h"

namespace pf {

DesktopPlatform::Parts DesktopPlatform::install() {
  Parts parts{std::make_shared<GLibRunLoopDriver>(),
              std::make_shared<SoupURLTransport>(SoupURLTransport::defaultCookieJarPath()),
              std::make_shared<GioReachabilityProvider>()};
  Clock::setSource(nullptr);  // the machine's clocks
  RunLoop::main().setDriver(parts.driver);
  URLTransport::install(parts.transport);
  ReachabilityProvider::install(parts.reachability);
  return parts;
}

void DesktopPlatform::uninstall() {
  URLConnection::cancelAll();
  URLTransport::install(nullptr);
  ReachabilityProvider::install(nullptr);
  RunLoop::main().reset();
  RunLoop::main().setDriver(nullptr);
}

}  // namespace pf
