#pragma once
// GADStatisticsCore: a small persisted store of property-list values by key, kept in the
// user defaults under "diziva_stats_<identifier>". GADStatistics keeps its counters and
// flags in the "shared" one; the ad object keeps the ad core script's expiry date in
// "GADObjectPrivate".
//
//   auto core = GADStatisticsCore::create("shared");          // loads what was saved
//   core->addValueNumberForKey(1, "preqs");                     // 1, 2, 3 … across runs
//   core->setDateForKey(pf::Value::date(pf::Clock::now()), "expireDate");
//   core->synchronize();                                        // to the user defaults, to disk
//
// Saved on synchronize() and when destroyed. Readers answer what is stored whatever its
// kind (null when absent); typed setters drop a value of the wrong kind. Main thread only.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/Value.h"

namespace pf {
class UserDefaults;
}

class GADStatisticsCore {
 public:
  // The kinds typed setters accept. A number is an integer, real, decimal or boolean.
  enum class ValueClass { Number, String, Date, Array, Dictionary };

  // Over the standard user defaults (looked up at each load and save), or over `defaults`.
  static std::shared_ptr<GADStatisticsCore> create(std::string identifier,
                                                   std::shared_ptr<pf::UserDefaults> defaults = nullptr);
  ~GADStatisticsCore();
  GADStatisticsCore(const GADStatisticsCore&) = delete;
  GADStatisticsCore& operator=(const GADStatisticsCore&) = delete;

  const std::string& identifier() const { return identifier_; }
  // "diziva_stats_<identifier>"
  std::string userDefaultsKey() const;

  // Adds every saved entry (nothing when none was saved or it is no dictionary).
  void loadPersistentStatistics();
  // Stores everything under userDefaultsKey() and asks the defaults to write to disk.
  void savePersistentStatistics();
  void synchronize() { savePersistentStatistics(); }

  pf::Value objectForKey(std::string_view key) const;
  pf::Value numberForKey(std::string_view key) const { return objectForKey(key); }
  pf::Value stringForKey(std::string_view key) const { return objectForKey(key); }
  pf::Value dateForKey(std::string_view key) const { return objectForKey(key); }
  pf::Value arrayForKey(std::string_view key) const { return objectForKey(key); }
  pf::Value dictionaryForKey(std::string_view key) const { return objectForKey(key); }

  void setNumberForKey(pf::Value number, std::string key);
  void setStringForKey(pf::Value string, std::string key);
  void setDateForKey(pf::Value date, std::string key);
  void setArrayForKey(pf::Value array, std::string key);
  void setDictionaryForKey(pf::Value dictionary, std::string key);
  // Stores `value` when it is of `valueClass` and a property list can hold it (a value that
  // could not be saved would make every later save fail); otherwise nothing changes.
  void setObjectForKeyMatchingClass(pf::Value value, std::string key, ValueClass valueClass);

  // The key's integer value (0 when absent; see integerValue) plus `delta`, stored as a
  // number and returned. Stops at the ends of the 64-bit range instead of wrapping.
  int64_t addValueNumberForKey(int32_t delta, std::string key);

  void removeObjectForKey(std::string_view key);
  void removeAllObjects();

  // What the whole store holds (a dictionary).
  const pf::Value& dictionary() const { return statistics_; }

  // A stored value read as an integer: a number toward zero (a boolean as 0 or 1), text by
  // its leading optional sign and digits (0 when there are none), anything else 0.
  static int64_t integerValue(const pf::Value& value);

 private:
  GADStatisticsCore(std::string identifier, std::shared_ptr<pf::UserDefaults> defaults);
  std::shared_ptr<pf::UserDefaults> defaults() const;

  std::string identifier_;
  pf::Value statistics_ = pf::Value::dictionary();
  std::shared_ptr<pf::UserDefaults> defaults_;  // empty: the standard user defaults
};
