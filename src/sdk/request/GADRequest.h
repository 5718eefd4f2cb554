#pragma once
// GADRequest: what a publisher says about one ad request — targeting (gender, birthday,
// location, keywords), test devices and extra parameters for the ad server.
//
//   auto request = GADRequest::request();
//   request->setTestDevices(std::vector<std::string>{"a1b2c3…"});
//   request->addKeyword("moors");
//   request->setLocationWithDescription("Whitby");
//   banner->loadRequest(request);
//
// Every request is in fact a GADRequestPrivate, the working form that turns it into ad
// request parameters: the constructor is reachable only from there, so request() and copy()
// are the only ways to make one and code in the ad layer may treat any GADRequest as its
// private form (GADRequestPrivate::from). The targeting setters do their work there.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Value.h"

class GADRequestPrivate;

class GADRequest {
 public:
  virtual ~GADRequest() = default;
  GADRequest(const GADRequest&) = delete;
  GADRequest& operator=(const GADRequest&) = delete;

  // A new, empty request.
  static std::shared_ptr<GADRequest> request();
  // A new request with the same settings; object-valued settings (keywords, location…) are
  // shared with this one, not duplicated.
  std::shared_ptr<GADRequest> copy() const;

  // "vize-sdk-i-v4.1.1": made once; every call answers the same string object.
  static const std::string& sdkVersion();

  // The publisher's extra parameters, sent whole as "extras"; a dictionary (anything else
  // is taken for none).
  virtual std::optional<pf::Value> additionalParameters() const = 0;
  virtual void setAdditionalParameters(std::optional<pf::Value> dictionary) = 0;
  // Raw device identifiers (as the platform reports them) that should get test ads.
  virtual std::optional<std::vector<std::string>> testDevices() const = 0;
  virtual void setTestDevices(std::optional<std::vector<std::string>> identifiers) = 0;
  // The deprecated test switch: prefer testDevices.
  virtual bool isTesting() const = 0;
  virtual void setTesting(bool testing) = 0;
  // 1 male, 2 female, anything else not stated.
  virtual int32_t gender() const = 0;
  virtual void setGender(int32_t gender) = 0;
  // Seconds since 1 January 2001.
  virtual std::optional<double> birthday() const = 0;
  virtual void setBirthday(std::optional<double> secondsSince2001) = 0;
  // The keyword list; shared, so keywords added to a copy show here too.
  virtual std::shared_ptr<std::vector<std::string>> keywords() const = 0;
  virtual void setKeywords(std::shared_ptr<std::vector<std::string>> keywords) = 0;

  // Done by the private form; nothing at this level.
  virtual void setBirthdayWithMonthDayYear(int /*month*/, int /*day*/, int /*year*/) {}
  virtual void setLocationWithLatitudeLongitudeAccuracy(float /*latitude*/, float /*longitude*/,
                                                        float /*accuracy*/) {}
  virtual void setLocationWithDescription(std::string_view /*text*/) {}
  virtual void addKeyword(std::string_view /*keyword*/) {}

  virtual std::string description() const = 0;

 private:
  GADRequest() = default;
  friend class GADRequestPrivate;  // the one subclass
};
