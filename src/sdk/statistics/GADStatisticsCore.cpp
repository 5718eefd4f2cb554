#include "sdk/statistics/GADStatisticsCore.h"

#include <cctype>
#include <cmath>
#include <limits>

#include "platform/base/PropertyList.h"
#include "platform/base/UserDefaults.h"

namespace {

bool matches(const pf::Value& value, GADStatisticsCore::ValueClass valueClass) {
  switch (valueClass) {
    case GADStatisticsCore::ValueClass::Number: return value.isNumber() || value.isBoolean();
    case GADStatisticsCore::ValueClass::String: return value.isString();
    case GADStatisticsCore::ValueClass::Date: return value.isDate();
    case GADStatisticsCore::ValueClass::Array: return value.isArray();
    case GADStatisticsCore::ValueClass::Dictionary: return value.isDictionary();
  }
  return false;
}

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

}  // namespace

std::shared_ptr<GADStatisticsCore> GADStatisticsCore::create(std::string identifier,
                                                             std::shared_ptr<pf::UserDefaults> defaults) {
  auto core = std::shared_ptr<GADStatisticsCore>(new GADStatisticsCore(std::move(identifier), std::move(defaults)));
  core->loadPersistentStatistics();
  return core;
}

GADStatisticsCore::GADStatisticsCore(std::string identifier, std::shared_ptr<pf::UserDefaults> defaults)
    : identifier_(std::move(identifier)), defaults_(std::move(defaults)) {}

GADStatisticsCore::~GADStatisticsCore() { savePersistentStatistics(); }

std::shared_ptr<pf::UserDefaults> GADStatisticsCore::defaults() const {
  return defaults_ ? defaults_ : pf::UserDefaults::standardUserDefaults();
}

std::string GADStatisticsCore::userDefaultsKey() const { return "diziva_stats_" + identifier_; }

void GADStatisticsCore::loadPersistentStatistics() {
  auto saved = defaults()->dictionaryForKey(userDefaultsKey());
  if (!saved) return;
  for (const auto& [key, value] : *saved->asDictionary()) statistics_.set(key, value);
}

void GADStatisticsCore::savePersistentStatistics() {
  auto store = defaults();
  store->setObject(userDefaultsKey(), statistics_);
  store->synchronize();
}

pf::Value GADStatisticsCore::objectForKey(std::string_view key) const { return statistics_[key]; }

void GADStatisticsCore::setNumberForKey(pf::Value number, std::string key) {
  setObjectForKeyMatchingClass(std::move(number), std::move(key), ValueClass::Number);
}
void GADStatisticsCore::setStringForKey(pf::Value string, std::string key) {
  setObjectForKeyMatchingClass(std::move(string), std::move(key), ValueClass::String);
}
void GADStatisticsCore::setDateForKey(pf::Value date, std::string key) {
  setObjectForKeyMatchingClass(std::move(date), std::move(key), ValueClass::Date);
}
void GADStatisticsCore::setArrayForKey(pf::Value array, std::string key) {
  setObjectForKeyMatchingClass(std::move(array), std::move(key), ValueClass::Array);
}
void GADStatisticsCore::setDictionaryForKey(pf::Value dictionary, std::string key) {
  setObjectForKeyMatchingClass(std::move(dictionary), std::move(key), ValueClass::Dictionary);
}

void GADStatisticsCore::setObjectForKeyMatchingClass(pf::Value value, std::string key, ValueClass valueClass) {
  if (!matches(value, valueClass)) return;
  // Checked with its key: a key that is not UTF-8 would block the save as surely.
  if (!pf::PropertyList::storable(pf::Value::dictionary({{key, value}}))) return;
  statistics_.set(std::move(key), std::move(value));
}

int64_t GADStatisticsCore::addValueNumberForKey(int32_t delta, std::string key) {
  int64_t current = integerValue(statistics_[key]);
  int64_t sum = delta > 0 && current > kMax - delta   ? kMax
                : delta < 0 && current < kMin - delta ? kMin
                                                      : current + delta;
  statistics_.set(std::move(key), pf::Value(static_cast<long long>(sum)));
  return sum;
}

void GADStatisticsCore::removeObjectForKey(std::string_view key) { statistics_.remove(key); }

void GADStatisticsCore::removeAllObjects() { statistics_ = pf::Value::dictionary(); }

int64_t GADStatisticsCore::integerValue(const pf::Value& value) {
  if (auto b = value.asBoolean()) return *b ? 1 : 0;
  if (value.isInteger()) return *value.asInteger();
  if (auto d = value.asReal()) {
    if (std::isnan(*d)) return 0;
    if (*d >= 9223372036854775807.0) return kMax;  // the cast would be undefined past the range
    if (*d <= -9223372036854775808.0) return kMin;
    return static_cast<int64_t>(*d);
  }
  if (!value.isString()) return 0;
  const std::string& text = value.stringRef();
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t n = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    int digit = text[i] - '0';
    if (n > (kMax - digit) / 10) return negative ? kMin : kMax;
    n = n * 10 + digit;
  }
  return negative ? -n : n;
}
