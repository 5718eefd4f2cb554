#include "sdk/timing/GADTimingManager.h"

#include "platform/base/NotificationCenter.h"
#include "platform/base/UserDefaults.h"

std::shared_ptr<GADTimingManager> GADTimingManager::create(std::string identifier,
                                                           std::shared_ptr<pf::UserDefaults> defaults) {
  return std::shared_ptr<GADTimingManager>(new GADTimingManager(std::move(identifier), std::move(defaults)));
}

GADTimingManager::GADTimingManager(std::string identifier, std::shared_ptr<pf::UserDefaults> defaults)
    : identifier_(std::move(identifier)), defaults_(std::move(defaults)) {
  loadPersistentTimings();
  // Removed in the destructor, so `this` never dangles here.
  pf::NotificationCenter::defaultCenter().addObserver(
      this, pf::UIApplicationWillTerminateNotification, nullptr,
      [this](const pf::Notification&) { savePersistentTimings(); });
}

GADTimingManager::~GADTimingManager() {
  pf::NotificationCenter::defaultCenter().removeObserver(this);
  savePersistentTimings();
}

std::shared_ptr<pf::UserDefaults> GADTimingManager::defaults() const {
  return defaults_ ? defaults_ : pf::UserDefaults::standardUserDefaults();
}

std::string GADTimingManager::userDefaultsKey() const { return "diziva_timing_" + identifier_; }

std::shared_ptr<GADTiming> GADTimingManager::addTimingWithCategory(std::string category) {
  auto timing = GADTiming::create(std::move(category));
  addTiming(timing);
  return timing;
}

void GADTimingManager::addTiming(std::shared_ptr<GADTiming> timing) {
  if (!timing) return;
  std::string name = timing->category();
  timings_.insert_or_assign(std::move(name), std::move(timing));
}

std::shared_ptr<GADTiming> GADTimingManager::timingForCategory(const std::string& category) const {
  auto it = timings_.find(category);
  return it == timings_.end() ? nullptr : it->second;
}

void GADTimingManager::removeTimingForCategory(const std::string& category) { timings_.erase(category); }

void GADTimingManager::removeTiming(const std::shared_ptr<GADTiming>& timing) {
  if (timing) removeTimingForCategory(timing->category());
}

void GADTimingManager::removeTimingsForCategories(const std::vector<std::string>& categories) {
  for (const auto& category : categories) removeTimingForCategory(category);
}

void GADTimingManager::removeAllTimings() { timings_.clear(); }

std::vector<std::shared_ptr<GADTiming>> GADTimingManager::timings() const {
  std::vector<std::shared_ptr<GADTiming>> all;
  all.reserve(timings_.size());
  for (const auto& [name, timing] : timings_) all.push_back(timing);
  return all;
}

std::vector<std::string> GADTimingManager::categories() const {
  std::vector<std::string> names;
  names.reserve(timings_.size());
  for (const auto& [name, timing] : timings_) names.push_back(name);
  return names;
}

void GADTimingManager::savePersistentTimings() {
  pf::Value saved = pf::Value::dictionary();
  for (const auto& [name, timing] : timings_) saved.set(name, timing->dictionaryRepresentation());
  auto store = defaults();
  store->setObject(userDefaultsKey(), saved);
  store->synchronize();
}

void GADTimingManager::loadPersistentTimings() {
  auto saved = defaults()->dictionaryForKey(userDefaultsKey());
  if (!saved) return;
  for (const auto& [name, entry] : *saved->asDictionary())
    timings_.insert_or_assign(name, GADTiming::createWithDictionaryRepresentation(entry));
}
