#pragma once
// GADLocation: the user's location a publisher attaches to an ad request, either precise
// (coordinates and accuracy) or descriptive (free text: an address, a postal code), and its
// "uule" request value.
//
//   auto here = GADLocation::createWithLatitudeLongitudeAccuracy(51.5f, -0.12f, 50.0f);
//   auto town = GADLocation::createWithDescription("Whitby, North Yorkshire");
//   std::optional<std::string> uule = here->oolongRepresentation();   // "e1+…" or none
//
// The value is a short text record stamped with the creation time. A precise location's
// record is padded to whole blocks and enciphered with AES-128-CBC under the configured key
// (GADConfiguration::uuleKey()), the vector in front: "e1+" and web-safe base64. A
// descriptive one goes in clear: "a+" and web-safe base64. No "=" padding in either.
//
// Only precise coordinates and non-empty descriptions make a location: the factories give
// none otherwise. A location never changes after creation except for its timestamp.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class GADLocation {
 public:
  // None unless the result is precise (isPreciseLocation()). The timestamp is now.
  static std::shared_ptr<GADLocation> createWithLatitudeLongitudeAccuracy(float latitude, float longitude,
                                                                          float accuracy);
  // None for an empty text. Coordinates and accuracy stay 0; the timestamp is now.
  static std::shared_ptr<GADLocation> createWithDescription(std::string_view text);

  float latitude() const { return latitude_; }
  float longitude() const { return longitude_; }
  float accuracy() const { return accuracy_; }
  // Seconds since 1970.
  double timestamp() const { return timestamp_; }
  void setTimestamp(double secondsSince1970) { timestamp_ = secondsSince1970; }

  // |latitude| <= 90 and |longitude| <= 180, and neither is within the float epsilon of 0
  // (a point exactly on the equator or the prime meridian is taken for "not set"); a NaN
  // coordinate is never precise.
  static bool isPrecise(float latitude, float longitude);
  bool isPreciseLocation() const { return isPrecise(latitude_, longitude_); }

  // The descriptive text; for a precise location "lat,lng" with six decimals each.
  std::string description() const;

  // Same kind, and for coordinates each of latitude, longitude and accuracy within the float
  // epsilon, for descriptions the same text. Timestamps do not count.
  bool isEqual(const GADLocation& other) const;
  bool operator==(const GADLocation& other) const { return isEqual(other); }

  // A new location with the same contents and timestamp.
  std::shared_ptr<GADLocation> copy() const;

  // The "uule" value with the configured key; none when the key is misconfigured or the
  // encryption fails (the request then goes without it).
  std::optional<std::string> oolongRepresentation() const;
  // The same with the given 16-byte key (a descriptive location does not use it).
  std::optional<std::string> oolongRepresentationWithKey(std::string_view key) const;

  // The pieces of the value, for tools and tests.
  // The text record before padding and encryption.
  std::string record() const;
  // `text` with p = 16 - (size mod 16) characters of code p appended (1 to 16).
  static std::string padded(std::string text);
  // t, 2t, 3t, 4t of the timestamp in seconds, each a little-endian int32 (truncated toward
  // zero, saturating; NaN counts 0).
  static std::string initializationVector(double secondsSince1970);
  // A double truncated toward zero into int32, saturating at both limits; NaN gives 0.
  static int32_t saturatingInt32(double value);

 private:
  GADLocation(float latitude, float longitude, float accuracy, std::string description);

  float latitude_;
  float longitude_;
  float accuracy_;
  std::string description_;  // empty for a precise location
  double timestamp_;
};
