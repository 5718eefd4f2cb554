#pragma once
// pf::DesktopPlatform: puts the desktop backend in place in one call — the machine's clocks,
// the GLib run-loop driver on the default main context, the libsoup URL transport (cookie jar
// in the data folder) and GIO reachability. main() calls it first thing; integration tests
// call it after pointing pf::FileManager at a temporary folder.
//
//   pf::FileManager::defaultManager().setLocations(pf::FileLocations::under(tmp));  // tests
//   pf::DesktopPlatform::install();
//   ...
//   pf::DesktopPlatform::uninstall();   // tests, between cases
//
// Main thread; the first call to pf::RunLoop::main() makes the calling thread the main one.
#include <memory>

#include "platform/gtk/GLibRunLoopDriver.h"
#include "platform/gtk/GioReachabilityProvider.h"
#include "platform/gtk/SoupURLTransport.h"

namespace pf {

class DesktopPlatform {
 public:
  struct Parts {
    std::shared_ptr<GLibRunLoopDriver> driver;
    std::shared_ptr<SoupURLTransport> transport;
    std::shared_ptr<GioReachabilityProvider> reachability;
  };

  // Replaces whatever was installed before. Returns what it installed.
  static Parts install();
  // Uninstalls the transport, the reachability provider and the driver, drops the run loop's
  // waiting calls and the loading connections (which would otherwise outlive their test).
  static void uninstall();

  DesktopPlatform() = delete;
};

}  // namespace pf
