#pragma once
// pf::SimHome: a fresh home for one test — a temporary folder holding the caches, the
// preferences, the data folder and the app home (with its Documents), made the
// FileManager's locations for the object's life, with a fresh standard user defaults store.
// The previous locations come back and the folder goes at the end, unless
// ASHENMOOR_KEEP_SIM_FILES is set. pf::SimEnvironment holds one; a test on the desktop
// backend (real HTTP, no sim) uses one alone.
//
//   pf::SimHome home;
//   pf::FileManager::defaultManager().locations().caches  // == home.locations().caches
#include <string>

#include "platform/base/FileManager.h"

namespace pf {

class SimHome {
 public:
  SimHome();
  ~SimHome();
  SimHome(const SimHome&) = delete;
  SimHome& operator=(const SimHome&) = delete;

  const std::string& root() const { return root_; }
  const FileLocations& locations() const { return locations_; }

 private:
  std::string root_;
  FileLocations locations_;
  FileLocations previousLocations_;
};

}  // namespace pf
