#include "sdk/timing/GADTiming.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/base/Clock.h"

double GADTiming::counter() { return pf::Clock::monotonic(); }

std::shared_ptr<GADTiming> GADTiming::create(std::string category) {
  return std::shared_ptr<GADTiming>(new GADTiming(std::move(category)));
}

std::shared_ptr<GADTiming> GADTiming::createWithDictionaryRepresentation(const pf::Value& dictionary) {
  auto timing = create(dictionary[kGADTimingCategoryKey].asString().value_or(""));
  timing->startSeconds_ = dictionary[kGADTimingStartKey].asReal().value_or(0);
  timing->endSeconds_ = dictionary[kGADTimingEndKey].asReal().value_or(0);
  const pf::Value& userData = dictionary[kGADTimingKeyUserDataKey];
  if (userData.isDictionary()) timing->userData_ = userData;
  return timing;
}

pf::Value GADTiming::dictionaryRepresentation() const {
  pf::Value d = pf::Value::dictionary({{kGADTimingCategoryKey, category_},
                                       {kGADTimingStartKey, startSeconds_},
                                       {kGADTimingEndKey, endSeconds_}});
  if (userData_.isDictionary()) d.set(kGADTimingKeyUserDataKey, userData_);
  return d;
}

std::shared_ptr<GADTiming> GADTiming::copy() const {
  return createWithDictionaryRepresentation(dictionaryRepresentation());
}

void GADTiming::start() {
  startSeconds_ = counter();
  endSeconds_ = 0;
}

void GADTiming::end() {
  if (startSeconds_ > 0) endSeconds_ = counter();
}

void GADTiming::reset() { startSeconds_ = endSeconds_ = 0; }

uint32_t GADTiming::elapsedMilliseconds() const {
  double e = endSeconds_ < startSeconds_ ? counter() : endSeconds_;
  double ms = (e - startSeconds_) * 1000.0;
  // Truncation, but not of the binary rounding of the subtraction: 100.35 − 100.1 is
  // 0.24999999999999 and must still read 250.
  ms = std::floor(ms + 1e-6);
  if (!(ms > 0)) return 0;  // negative, or not a number
  if (ms >= static_cast<double>(std::numeric_limits<uint32_t>::max()))
    return std::numeric_limits<uint32_t>::max();
  return static_cast<uint32_t>(ms);
}

std::string GADTiming::elapsedMillisecondsString() const {
  // Unsigned: a long interval must not come out as a negative number.
  return std::to_string(elapsedMilliseconds());
}

void GADTiming::setValueForKey(pf::Value value, std::string key) {
  if (!userData_.isDictionary()) userData_ = pf::Value::dictionary();
  if (value.isNull()) return;
  userData_.set(std::move(key), std::move(value));
}

pf::Value GADTiming::valueForKey(std::string_view key) const { return userData_[key]; }

void GADTiming::removeValueForKey(std::string_view key) { userData_.remove(key); }

pf::Value GADTiming::keysAndValues() const {
  return userData_.isDictionary() ? userData_ : pf::Value::dictionary();
}

std::string GADTiming::description() const {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
  return std::string("GADTiming (") + address + "): " + dictionaryRepresentation().description();
}
