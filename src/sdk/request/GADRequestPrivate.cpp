#include "sdk/request/GADRequestPrivate.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <numeric>

#include "platform/base/Clock.h"
#include "platform/base/Log.h"
#include "platform/ui/Device.h"
#include "sdk/identifier/GADIdentifierUtilities.h"
#include "sdk/network/GADNetworkChecker.h"
#include "sdk/signals/GADSignals.h"
#include "sdk/statistics/GADStatistics.h"
#include "sdk/utility/GADLocation.h"

namespace {

// The entries in key order, a later entry replacing an earlier one with the same key, as
// ValueDictionary::fromUnsorted would leave them; here each entry moves once (an index sort),
// which for a request's forty-odd parameters is several times cheaper than sorting in place.
pf::ValueDictionary::Storage sortedLastWins(pf::ValueDictionary::Storage& entries) {
  std::vector<uint32_t> order(entries.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&entries](uint32_t a, uint32_t b) {
    int c = entries[a].first.compare(entries[b].first);
    return c < 0 || (c == 0 && a < b);
  });
  pf::ValueDictionary::Storage sorted;
  sorted.reserve(entries.size());
  for (uint32_t i : order) {
    auto& entry = entries[i];
    if (!sorted.empty() && sorted.back().first == entry.first)
      sorted.back().second = std::move(entry.second);
    else
      sorted.push_back(std::move(entry));
  }
  return sorted;
}

// A date (seconds since 2001) as whole seconds since 1970; none when time_t cannot hold it.
std::optional<time_t> toTimeT(double secondsSince2001) {
  double seconds = std::floor(pf::Clock::to1970(secondsSince2001));
  if (!std::isfinite(seconds) || std::fabs(seconds) > 1e15) return std::nullopt;
  return static_cast<time_t>(seconds);
}

pf::Value stringArray(const std::vector<std::string>& strings) {
  pf::Value array = pf::Value::array();
  for (const auto& text : strings) array.append(text);
  return array;
}

}  // namespace

std::shared_ptr<GADRequestPrivate> GADRequestPrivate::create() {
  return std::shared_ptr<GADRequestPrivate>(new GADRequestPrivate());
}

std::shared_ptr<GADRequestPrivate> GADRequestPrivate::createWithRequest(const GADRequest& source) {
  const GADRequestPrivate& from = GADRequestPrivate::from(source);
  auto request = create();
  request->testDevices_ = from.testDevices_;
  request->testing_ = from.testing_;
  request->additionalParameters_ = from.additionalParameters_;
  request->gender_ = from.gender_;
  request->birthday_ = from.birthday_;
  request->location_ = from.location_;
  request->keywords_ = from.keywords_;
  request->interstitialAd_ = from.interstitialAd_;
  return request;  // the counter is per load: not copied
}

void GADRequestPrivate::setAdditionalParameters(std::optional<pf::Value> dictionary) {
  if (dictionary && !dictionary->isDictionary()) dictionary.reset();
  additionalParameters_ = std::move(dictionary);
}

void GADRequestPrivate::setBirthdayWithMonthDayYear(int month, int day, int year) {
  birthday_.reset();
  // Parts that do not fit the calendar's fields give no birthday rather than an overflow.
  long long tmYear = static_cast<long long>(year) - 1900, tmMonth = static_cast<long long>(month) - 1;
  if (tmYear < INT_MIN || tmYear > INT_MAX || tmMonth < INT_MIN) return;
  std::tm parts{};
  parts.tm_year = static_cast<int>(tmYear);
  parts.tm_mon = static_cast<int>(tmMonth);
  parts.tm_mday = day;
  parts.tm_isdst = -1;  // whatever daylight saving says on that day
  time_t midnight = std::mktime(&parts);
  if (midnight == static_cast<time_t>(-1) && !(parts.tm_year == 69 && parts.tm_mon == 11 && parts.tm_mday == 31)) return;
  birthday_ = pf::Clock::from1970(static_cast<double>(midnight));
}

void GADRequestPrivate::setLocationWithLatitudeLongitudeAccuracy(float latitude, float longitude, float accuracy) {
  location_ = GADLocation::createWithLatitudeLongitudeAccuracy(latitude, longitude, accuracy);
}

void GADRequestPrivate::setLocationWithDescription(std::string_view text) {
  location_ = GADLocation::createWithDescription(text);
}

void GADRequestPrivate::addKeyword(std::string_view keyword) {
  if (keyword.empty()) return;
  if (!keywords_) {
    keywords_ = std::make_shared<std::vector<std::string>>(1, std::string(keyword));
    return;
  }
  keywords_->emplace_back(keyword);
}

std::optional<std::string> GADRequestPrivate::genderString() const {
  if (gender_ == 1) return "m";
  if (gender_ == 2) return "f";
  return std::nullopt;
}

std::optional<std::string> GADRequestPrivate::birthdayString() const {
  if (!birthday_) return std::nullopt;
  auto seconds = toTimeT(*birthday_);
  std::tm local{};
  if (!seconds || !localtime_r(&*seconds, &local)) return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  return std::string(text);
}

pf::Value GADRequestPrivate::parameters() { return composeParameters(true); }

pf::Value GADRequestPrivate::parametersWithoutStatistics() const { return composeParameters(false); }

pf::Value GADRequestPrivate::composeParameters(bool forRequest) const {
  // Entries in merge order, sorted once at the end, a later key replacing an earlier one.
  pf::ValueDictionary::Storage entries;
  entries.reserve(48);
  GADIdentifierUtilities::sharedInstance()->appendParameters(entries);
  struct {
    pf::ValueDictionary::Storage& entries;
    void set(const char* key, pf::Value value) { entries.emplace_back(key, std::move(value)); }
  } params{entries};

  params.set(kGADParameterSDKVersion, sdkVersion());
  if (auto net = GADNetworkChecker::sharedChecker()->networkTypeString()) params.set(kGADParameterNetworkType, *net);
  if (testing_) {
    if (forRequest) pf::Log::message(kGADTestingDeprecatedMessage);
    params.set(kGADParameterTesting, "1");
  }
  // The raw identifier, as the publisher copies it from the console; a device that reports
  // none is never a test device.
  std::string device = pf::Device::uniqueIdentifier();
  if (testDevices_ && !device.empty() && std::find(testDevices_->begin(), testDevices_->end(), device) != testDevices_->end())
    params.set(kGADParameterTestMode, "on");
  if (additionalParameters_) params.set(kGADParameterExtraParams, *additionalParameters_);
  if (auto gender = genderString()) params.set(kGADParameterGender, *gender);
  if (auto birthday = birthdayString()) params.set(kGADParameterBirthday, *birthday);
  if (keywords_) params.set(kGADParameterKeywords, stringArray(*keywords_));
  if (location_) {
    if (auto uule = location_->oolongRepresentation()) params.set(kGADParameterLocation, *uule);
  }

  if (forRequest) {
    pf::Value statistics = GADStatistics::sharedStatistics()->parameters();
    if (const auto* reported = statistics.asDictionary())
      for (const auto& [key, value] : *reported) entries.emplace_back(key, value);
  }
  // The counter always wins over the statistics' own "preqs".
  params.set(kGADParameterTotalAdRequests, pf::Value(counter_));
  return pf::Value(pf::ValueDictionary::fromUnsorted(sortedLastWins(entries)));
}

pf::Value GADRequestPrivate::signalEntryFromText(std::string_view text) {
  pf::Value entry = pf::Value::dictionary();
  size_t equals = text.find('=');
  if (equals == std::string_view::npos) return entry;
  std::string_view value = text.substr(equals + 1);
  value = value.substr(0, value.find('='));
  if (value.empty()) return entry;
  entry.set(std::string(text.substr(0, equals)), std::string(value));
  return entry;
}

pf::Value GADRequestPrivate::spamSignals() const {
  std::string text;
  if (!gad_gmrs(text)) return pf::Value::dictionary();
  return signalEntryFromText(text);
}

std::string GADRequestPrivate::description() const {
  char head[64];
  std::snprintf(head, sizeof head, "GADRequest<%p>: ", static_cast<const void*>(this));
  std::string text = head;
  if (gender_ == 1) text += "\ngender:Male";
  if (gender_ == 2) text += "\ngender:Female";
  if (birthday_) {
    // As a date describes itself: UTC, "1980-01-02 00:00:00 +0000".
    std::tm utc{};
    auto seconds = toTimeT(*birthday_);
    char date[64];
    if (seconds && gmtime_r(&*seconds, &utc)) {
      std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S +0000", &utc);
    } else {
      std::snprintf(date, sizeof date, "%.3f", *birthday_);
    }
    text += std::string("\nbirthday:") + date;
  }
  if (location_) text += "\nlocation:" + location_->description();
  if (keywords_) text += "\nkeywords:" + stringArray(*keywords_).description();
  if (additionalParameters_) text += "\nadditionalParameters:" + additionalParameters_->description();
  return text;
}

bool GADRequestPrivate::deviceAtLeastMinimumOSMajorVersionMinorVersion(int major, int minor) {
  int osMajor = 0, osMinor = 0;
  GADIdentifierUtilities::getOSMajorMinorBugFix(&osMajor, &osMinor, nullptr);
  return osMajor > major || (osMajor == major && osMinor >= minor);
}

int GADRequestPrivate::requestTypeFromString(std::string_view type) {
  if (type == "rodud") return kRequestTypeRodud;
  if (type == "xfp") return kRequestTypeXfp;
  if (type == "vidized") return kRequestTypeVidized;
  return kRequestTypeOther;
}
