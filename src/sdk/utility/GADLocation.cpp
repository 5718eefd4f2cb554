#include "sdk/utility/GADLocation.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

#include "platform/base/Clock.h"
#include "platform/base/Crypto.h"
#include "sdk/encoding/GAD_DOZStringEncoding.h"
#include "sdk/utility/GADConfiguration.h"

namespace {

// The record the ad server reads; the roles and producers say "publisher-supplied location".
constexpr const char* kRecordHead = "role: 6 producer: 24 historical_role: 1 historical_producer: 12 timestamp: ";

std::string format(const char* fmt, auto... args) {
  int size = std::snprintf(nullptr, 0, fmt, args...);
  std::string out(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(out.data(), out.size(), fmt, args...);
  out.pop_back();
  return out;
}

std::string websafeBase64(std::string_view bytes) {
  auto encoding = GAD_DOZStringEncoding::rfc4648Base64WebsafeStringEncoding();
  encoding.setDoPad(false);
  return encoding.encode(bytes);
}

}  // namespace

GADLocation::GADLocation(float latitude, float longitude, float accuracy, std::string description)
    : latitude_(latitude),
      longitude_(longitude),
      accuracy_(accuracy),
      description_(std::move(description)),
      timestamp_(pf::Clock::nowSince1970()) {}

std::shared_ptr<GADLocation> GADLocation::createWithLatitudeLongitudeAccuracy(float latitude, float longitude,
                                                                              float accuracy) {
  if (!isPrecise(latitude, longitude)) return nullptr;
  return std::shared_ptr<GADLocation>(new GADLocation(latitude, longitude, accuracy, {}));
}

std::shared_ptr<GADLocation> GADLocation::createWithDescription(std::string_view text) {
  if (text.empty()) return nullptr;
  return std::shared_ptr<GADLocation>(new GADLocation(0, 0, 0, std::string(text)));
}

bool GADLocation::isPrecise(float latitude, float longitude) {
  // Written so that a NaN fails every comparison.
  return std::fabs(latitude) <= 90.0f && std::fabs(longitude) <= 180.0f && std::fabs(latitude) > FLT_EPSILON &&
         std::fabs(longitude) > FLT_EPSILON;
}

std::string GADLocation::description() const {
  if (!description_.empty()) return description_;
  if (isPreciseLocation()) return format("%f,%f", static_cast<double>(latitude_), static_cast<double>(longitude_));
  return "";
}

bool GADLocation::isEqual(const GADLocation& other) const {
  bool precise = isPreciseLocation();
  if (precise != other.isPreciseLocation()) return false;
  if (!precise) return description() == other.description();
  auto close = [](float a, float b) { return std::fabs(a - b) < FLT_EPSILON; };
  return close(latitude_, other.latitude_) && close(longitude_, other.longitude_) &&
         close(accuracy_, other.accuracy_);
}

std::shared_ptr<GADLocation> GADLocation::copy() const {
  auto copied = isPreciseLocation() ? createWithLatitudeLongitudeAccuracy(latitude_, longitude_, accuracy_)
                                    : createWithDescription(description());
  if (copied) copied->timestamp_ = timestamp_;
  return copied;
}

int32_t GADLocation::saturatingInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);  // truncates toward zero
}

std::string GADLocation::record() const {
  std::string micros = format("%.0f", timestamp_ * 1000000.0);
  if (!isPreciseLocation()) {
    // The text sits between double quotes in the record: a quote inside would end it early.
    std::string text = description();
    for (char& ch : text)
      if (ch == '"') ch = '\'';
    return kRecordHead + micros + " loc: \"" + text + "\"";
  }
  long latE7 = saturatingInt32(static_cast<double>(latitude_) * 10000000.0);
  long lngE7 = saturatingInt32(static_cast<double>(longitude_) * 10000000.0);
  long radius = saturatingInt32(static_cast<double>(accuracy_) * 1000.0);
  return kRecordHead + micros + format(" latlng <latitude_e7: %ld longitude_e7: %ld> radius: %ld", latE7, lngE7, radius);
}

std::string GADLocation::padded(std::string text) {
  size_t pad = 16 - text.size() % 16;
  text.append(pad, static_cast<char>(pad));
  return text;
}

std::string GADLocation::initializationVector(double secondsSince1970) {
  std::string iv;
  for (int multiple = 1; multiple <= 4; ++multiple) {
    auto word = static_cast<uint32_t>(saturatingInt32(secondsSince1970 * multiple));
    for (int byte = 0; byte < 4; ++byte) iv.push_back(static_cast<char>((word >> (8 * byte)) & 0xff));
  }
  return iv;
}

std::optional<std::string> GADLocation::oolongRepresentation() const {
  if (!isPreciseLocation()) return "a+" + websafeBase64(record());  // sent in clear: no key needed
  auto key = GADConfiguration::uuleKey();
  if (!key) return std::nullopt;
  return oolongRepresentationWithKey(*key);
}

std::optional<std::string> GADLocation::oolongRepresentationWithKey(std::string_view key) const {
  if (!isPreciseLocation()) return "a+" + websafeBase64(record());
  std::string iv = initializationVector(timestamp_);
  auto sealed = pf::Crypto::aes128CbcEncrypt(padded(record()), key, iv);
  if (!sealed) return std::nullopt;
  return "e1+" + websafeBase64(iv + *sealed);
}
