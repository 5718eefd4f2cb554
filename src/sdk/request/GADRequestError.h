#pragma once
// GADRequestError: why an ad request failed, as the publisher's banner delegate hears it —
// an error in the domain "com.diziva.ads" whose message begins "Request Error: ".
//
//   delegate->adViewDidFailToReceiveAdWithError(banner,
//       GADRequestError::errorWithCodeRequest(kGADErrorNetworkError, request));
//
// The user info holds the message under the localized description and failure reason keys;
// an invalid-request error (code 0) also holds the request's parameters, for the publisher
// to see what was sent.
#include <memory>
#include <string>

#include "platform/base/Error.h"

class GADRequest;

inline constexpr char kGADErrorDomain[] = "com.diziva.ads";
inline constexpr char kGADLocalizedFailureReasonKey[] = "NSLocalizedFailureReason";

enum GADErrorCode : long {
  kGADErrorInvalidRequest = 0,
  kGADErrorNoFill = 1,
  kGADErrorNetworkError = 2,
  kGADErrorServerError = 3,
  kGADErrorOSVersionTooLow = 4,
  kGADErrorTimeout = 5,
};

class GADRequestError : public pf::Error {
 public:
  // `request` may be empty (a load without a request).
  GADRequestError(long code, const std::shared_ptr<GADRequest>& request);
  static GADRequestError errorWithCodeRequest(long code, const std::shared_ptr<GADRequest>& request) {
    return GADRequestError(code, request);
  }

  // "Request Error: " and the code's text; a code outside 0-5 has the text of code 0.
  // Code 4 names the device's OS version.
  static std::string localizedStringForErrorCode(long code);

 private:
  static pf::Value makeUserInfo(long code, const std::shared_ptr<GADRequest>& request);
};
