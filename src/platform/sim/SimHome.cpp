#include "platform/sim/SimHome.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/base/UserDefaults.h"

namespace pf {

namespace {
std::string makeTempRoot() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/ashenmoor-sim-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("SimHome: cannot make " + pattern);
  return pattern;
}
}  // namespace

SimHome::SimHome()
    : root_(makeTempRoot()),
      locations_(FileLocations::under(root_)),
      previousLocations_(FileManager::defaultManager().locations()) {
  auto& files = FileManager::defaultManager();
  files.setLocations(locations_);
  for (const std::string& dir : {locations_.caches, locations_.preferences, locations_.data,
                                 locations_.home, locations_.documents})
    files.createDirectory(dir, true);
  UserDefaults::resetStandardUserDefaults();
}

SimHome::~SimHome() {
  UserDefaults::resetStandardUserDefaults();
  FileManager::defaultManager().setLocations(previousLocations_);
  if (!std::getenv("ASHENMOOR_KEEP_SIM_FILES")) FileManager::defaultManager().removeItem(root_);
}

}  // namespace pf
