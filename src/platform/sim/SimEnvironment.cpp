#include "platform/sim/SimEnvironment.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/base/UserDefaults.h"
#include "platform/net/HTTPSettings.h"
#include "platform/net/ReachabilityProvider.h"
#include "platform/net/URLConnection.h"
#include "platform/net/URLTransport.h"

namespace pf {

namespace {
std::string makeTempRoot() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/ashenmoor-sim-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("SimEnvironment: cannot make " + pattern);
  return pattern;
}
}  // namespace

SimEnvironment::SimEnvironment(const std::string& deviceProfile)
    : root_(makeTempRoot()),
      locations_(FileLocations::under(root_)),
      previousLocations_(FileManager::defaultManager().locations()) {
  auto& files = FileManager::defaultManager();
  files.setLocations(locations_);
  for (const std::string& dir : {locations_.caches, locations_.preferences, locations_.data,
                                 locations_.home, locations_.documents})
    files.createDirectory(dir, true);
  UserDefaults::resetStandardUserDefaults();
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
  UserDefaults::resetStandardUserDefaults();
  FileManager::defaultManager().setLocations(previousLocations_);
  if (!std::getenv("ASHENMOOR_KEEP_SIM_FILES")) FileManager::defaultManager().removeItem(root_);
}

}  // namespace pf
