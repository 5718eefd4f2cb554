#pragma once
// GADRequestPrivate: the working form of every GADRequest. It keeps the publisher's settings
// and composes the parameter dictionary of an ad request from them, the device and app
// (GADIdentifierUtilities), the network type (GADNetworkChecker), the usage statistics
// (GADStatistics) and the request counter.
//
//   auto request = GADRequestPrivate::createWithRequest(*publisherRequest);  // the ad object's copy
//   request->setCounter(GADStatistics::sharedStatistics()->incrementAdRequestCount());
//   pf::Value params = request->parameters();    // consumes the pending statistics
//   params.set(kGADParameterAdSlotID, adUnitID);
//   std::string json = GADMacros::jsonify(params).value_or("");
//
// Object-valued settings are shared, never duplicated: a copy sees keywords added to its
// source. Main thread only.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Value.h"
#include "sdk/request/GADRequest.h"

class GADLocation;

// Request parameters this class produces.
inline constexpr char kGADParameterSDKVersion[] = "js";
inline constexpr char kGADParameterNetworkType[] = "net";
inline constexpr char kGADParameterTesting[] = "testing";
inline constexpr char kGADParameterTestMode[] = "adtest";
inline constexpr char kGADParameterExtraParams[] = "extras";
inline constexpr char kGADParameterGender[] = "cust_gender";
inline constexpr char kGADParameterBirthday[] = "cust_age";
inline constexpr char kGADParameterKeywords[] = "kw";
inline constexpr char kGADParameterLocation[] = "uule";
// Added by the ad object to a copy of parameters() before the ad URL is built, and after.
inline constexpr char kGADParameterAdSlotID[] = "slotname";
inline constexpr char kGADParameterAdFormat[] = "format";
inline constexpr char kGADParameterAdFrame[] = "ad_frame";
inline constexpr char kGADParameterAdBounds[] = "ad_bounds";
inline constexpr char kGADParameterGWhirlSeqNum[] = "seq_num";

inline constexpr char kGADTestingDeprecatedMessage[] =
    "<Diziva> \"testing\" property has been deprecated.  Use \"testDevices\" instead.";

class GADRequestPrivate final : public GADRequest {
 public:
  // Request types of a built ad URL's "type", for the ad signals module.
  enum RequestType { kRequestTypeOther = 0, kRequestTypeVidized = 1, kRequestTypeRodud = 4, kRequestTypeXfp = 5 };

  static std::shared_ptr<GADRequestPrivate> create();
  // Takes the source's settings (sharing its objects); the counter starts at 0.
  static std::shared_ptr<GADRequestPrivate> createWithRequest(const GADRequest& source);
  // Any request as its private form: every GADRequest is one.
  static const GADRequestPrivate& from(const GADRequest& request) { return static_cast<const GADRequestPrivate&>(request); }
  static GADRequestPrivate& from(GADRequest& request) { return static_cast<GADRequestPrivate&>(request); }

  std::optional<pf::Value> additionalParameters() const override { return additionalParameters_; }
  void setAdditionalParameters(std::optional<pf::Value> dictionary) override;
  std::optional<std::vector<std::string>> testDevices() const override { return testDevices_; }
  void setTestDevices(std::optional<std::vector<std::string>> identifiers) override { testDevices_ = std::move(identifiers); }
  bool isTesting() const override { return testing_; }
  void setTesting(bool testing) override { testing_ = testing; }
  int32_t gender() const override { return gender_; }
  void setGender(int32_t gender) override { gender_ = gender; }
  std::optional<double> birthday() const override { return birthday_; }
  void setBirthday(std::optional<double> secondsSince2001) override { birthday_ = secondsSince2001; }
  std::shared_ptr<std::vector<std::string>> keywords() const override { return keywords_; }
  void setKeywords(std::shared_ptr<std::vector<std::string>> keywords) override { keywords_ = std::move(keywords); }
  std::shared_ptr<GADLocation> location() const { return location_; }
  void setLocation(std::shared_ptr<GADLocation> location) { location_ = std::move(location); }
  bool isInterstitialAd() const { return interstitialAd_; }
  void setInterstitialAd(bool interstitial) { interstitialAd_ = interstitial; }
  // Ordinal of this load among all ad loads, set by the ad object; sent as "preqs".
  int32_t counter() const { return counter_; }
  void setCounter(int32_t counter) { counter_ = counter; }

  // Midnight local time of that Gregorian day (out-of-range parts roll over as a calendar
  // does: month 13 is January of the next year).
  void setBirthdayWithMonthDayYear(int month, int day, int year) override;
  // Coordinates that make no location (GADLocation::isPrecise) leave the request without one.
  void setLocationWithLatitudeLongitudeAccuracy(float latitude, float longitude, float accuracy) override;
  // An empty text leaves the request without a location.
  void setLocationWithDescription(std::string_view text) override;
  // Appends to the keyword list (made when there is none); duplicates kept; "" ignored.
  void addKeyword(std::string_view keyword) override;

  // "m", "f", or none.
  std::optional<std::string> genderString() const;
  // The birthday as "yyyyMMdd" in the local time zone; none without one.
  std::optional<std::string> birthdayString() const;

  // The ad request's parameters, later writes replacing earlier ones: the device and app,
  // then this request's own keys, then the statistics (which this consumes: each pending
  // statistic is sent once), then "preqs" = counter.
  pf::Value parameters();
  // The same without the statistics step, consuming nothing: what an error report shows.
  pf::Value parametersWithoutStatistics() const;

  // At most one extra ad URL parameter from the ad signals module (name → value).
  pf::Value spamSignals() const;
  // The entry a signals text "name=value" makes: none without an "=" or with an empty value;
  // a second "=" ends the value.
  static pf::Value signalEntryFromText(std::string_view text);

  // "GADRequest<0x…>:" and a line per setting that is present.
  std::string description() const override;

  // The device's OS is major.minor or later.
  static bool deviceAtLeastMinimumOSMajorVersionMinorVersion(int major, int minor);
  // "rodud" 4, "xfp" 5, "vidized" 1, anything else 0 (exact, case-sensitive).
  static int requestTypeFromString(std::string_view type);

 private:
  GADRequestPrivate() = default;
  // `forRequest`: the statistics are merged (and consumed) and the "testing" notice logged.
  pf::Value composeParameters(bool forRequest) const;

  std::optional<std::vector<std::string>> testDevices_;
  bool testing_ = false;
  std::optional<pf::Value> additionalParameters_;
  int32_t gender_ = 0;
  std::optional<double> birthday_;
  std::shared_ptr<GADLocation> location_;
  std::shared_ptr<std::vector<std::string>> keywords_;
  bool interstitialAd_ = false;
  int32_t counter_ = 0;
};
