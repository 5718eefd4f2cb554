#pragma once
/// @file
/// GADRequest: what a publisher says about one ad request.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Value.h"

class GADRequestPrivate;

/// What a publisher says about one ad request — targeting (gender, birthday, location,
/// keywords), test devices and extra parameters for the ad server.
///
/// @code
/// auto request = GADRequest::request();
/// request->setTestDevices(std::vector<std::string>{"a1b2c3…"});
/// request->addKeyword("moors");
/// request->setLocationWithDescription("Whitby");
/// banner->loadRequest(request);
/// @endcode
///
/// Every request is in fact the ad layer's private working form, which turns it into ad
/// request parameters: request() and copy() are the only ways to make one, and the targeting
/// setters do their work there.
class GADRequest {
 public:
  virtual ~GADRequest() = default;
  GADRequest(const GADRequest&) = delete;
  GADRequest& operator=(const GADRequest&) = delete;

  /// A new, empty request.
  static std::shared_ptr<GADRequest> request();
  /// A new request with the same settings; object-valued settings (keywords, location…) are
  /// shared with this one, not duplicated.
  std::shared_ptr<GADRequest> copy() const;

  /// The SDK's version string, "vize-sdk-i-v4.1.1" (the numbers are GADVersion.h's): made
  /// once; every call answers the same string object.
  static const std::string& sdkVersion();

  /// The publisher's extra parameters, sent whole as "extras"; a dictionary (anything else
  /// is taken for none).
  virtual std::optional<pf::Value> additionalParameters() const = 0;
  /// Sets the extra parameters (see additionalParameters()).
  virtual void setAdditionalParameters(std::optional<pf::Value> dictionary) = 0;
  /// Raw device identifiers (as the platform reports them) that should get test ads.
  virtual std::optional<std::vector<std::string>> testDevices() const = 0;
  /// Sets the test devices (see testDevices()).
  virtual void setTestDevices(std::optional<std::vector<std::string>> identifiers) = 0;
  /// The deprecated test switch: prefer testDevices().
  virtual bool isTesting() const = 0;
  /// Sets the deprecated test switch.
  virtual void setTesting(bool testing) = 0;
  /// The user's gender: 1 male, 2 female, anything else not stated.
  virtual int32_t gender() const = 0;
  /// Sets the gender (see gender()).
  virtual void setGender(int32_t gender) = 0;
  /// The user's birthday, in seconds since 1 January 2001.
  virtual std::optional<double> birthday() const = 0;
  /// Sets the birthday (see birthday()).
  virtual void setBirthday(std::optional<double> secondsSince2001) = 0;
  /// The keyword list; shared, so keywords added to a copy show here too.
  virtual std::shared_ptr<std::vector<std::string>> keywords() const = 0;
  /// Replaces the keyword list.
  virtual void setKeywords(std::shared_ptr<std::vector<std::string>> keywords) = 0;

  /// Sets the birthday from a calendar date (month 1–12).
  virtual void setBirthdayWithMonthDayYear(int /*month*/, int /*day*/, int /*year*/) {}
  /// Sets the user's location from coordinates and their accuracy.
  virtual void setLocationWithLatitudeLongitudeAccuracy(float /*latitude*/, float /*longitude*/,
                                                        float /*accuracy*/) {}
  /// Sets the user's location as text (a town, a postcode).
  virtual void setLocationWithDescription(std::string_view /*text*/) {}
  /// Adds one keyword to the list.
  virtual void addKeyword(std::string_view /*keyword*/) {}

  /// A readable description of the request's settings (for logs).
  virtual std::string description() const = 0;

 private:
  GADRequest() = default;
  friend class GADRequestPrivate;  // the one subclass
};
