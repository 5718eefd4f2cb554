#pragma once
// GADTimingManager: a set of timings by name, persisted in the user defaults under
// "diziva_timing_<identifier>" so a timing started in one run can be read in the next.
//
//   auto timings = GADTimingManager::create("shared");   // loads what was saved
//   timings->addTimingWithCategory("tsrl")->start();
//   ...
//   timings->timingForCategory("tsrl")->end();
//
// Saved when the application will terminate, on synchronize() and when destroyed. Timings
// are handed out, not copied: changing one changes what the manager saves. Main thread.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sdk/timing/GADTiming.h"

namespace pf {
class UserDefaults;
}

class GADTimingManager {
 public:
  // Over the standard user defaults (looked up at each load and save), or over `defaults`.
  static std::shared_ptr<GADTimingManager> create(std::string identifier,
                                                  std::shared_ptr<pf::UserDefaults> defaults = nullptr);
  ~GADTimingManager();
  GADTimingManager(const GADTimingManager&) = delete;
  GADTimingManager& operator=(const GADTimingManager&) = delete;

  const std::string& identifier() const { return identifier_; }
  // "diziva_timing_<identifier>"
  std::string userDefaultsKey() const;

  // A new, not started timing under that name, replacing any other.
  std::shared_ptr<GADTiming> addTimingWithCategory(std::string category);
  // Stores `timing` under its own name, replacing any other; empty is ignored.
  void addTiming(std::shared_ptr<GADTiming> timing);
  std::shared_ptr<GADTiming> timingForCategory(const std::string& category) const;
  void removeTimingForCategory(const std::string& category);
  void removeTiming(const std::shared_ptr<GADTiming>& timing);
  void removeTimingsForCategories(const std::vector<std::string>& categories);
  void removeAllTimings();

  // In name order.
  std::vector<std::shared_ptr<GADTiming>> timings() const;
  std::vector<std::string> categories() const;

  // Writes every timing's dictionary representation under userDefaultsKey() and asks the
  // defaults to write to disk.
  void savePersistentTimings();
  // Adds the saved timings, each under the name it was saved under.
  void loadPersistentTimings();
  void synchronize() { savePersistentTimings(); }

 private:
  GADTimingManager(std::string identifier, std::shared_ptr<pf::UserDefaults> defaults);
  std::shared_ptr<pf::UserDefaults> defaults() const;

  std::string identifier_;
  std::map<std::string, std::shared_ptr<GADTiming>> timings_;
  std::shared_ptr<pf::UserDefaults> defaults_;  // empty: the standard user defaults
};
