#pragma once
/// @file
/// GADRequestError: why an ad request failed, and the ad layer's error codes.
#include <memory>
#include <string>

#include "platform/base/Error.h"

class GADRequest;

/// The error domain of every GADRequestError.
inline constexpr char kGADErrorDomain[] = "com.diziva.ads";
/// The user-info key of the failure reason (the same text as the localized description).
inline constexpr char kGADLocalizedFailureReasonKey[] = "NSLocalizedFailureReason";

/// Why a request failed: the code of a GADRequestError.
enum GADErrorCode : long {
  /// Invalid request: no root view controller, the ad server answered 400 (typically an
  /// unknown ad unit), or the ad core script found the parameters invalid or could not serve.
  kGADErrorInvalidRequest = 0,
  /// No ad to show: the ad server answered with an empty page.
  kGADErrorNoFill = 1,
  /// No usable answer: unreachable host, a cut connection or truncated body, a status below
  /// 400 other than 200/304, an ad page that failed to load, no ad core script to be had.
  kGADErrorNetworkError = 2,
  /// The ad server answered with a status above 400.
  kGADErrorServerError = 3,
  /// The device's OS is older than 3.0.
  kGADErrorOSVersionTooLow = 4,
  /// A timeout (defined; a banner does not report it).
  kGADErrorTimeout = 5,
};

/// Why an ad request failed, as the publisher's banner delegate hears it: an error in the
/// domain kGADErrorDomain ("com.diziva.ads") whose code is a GADErrorCode and whose message
/// begins "Request Error: ".
///
/// @code
/// void adViewDidFailToReceiveAdWithError(const std::shared_ptr<GADBannerView>&,
///                                        const GADRequestError& error) override {
///   if (error.code() == kGADErrorNoFill) hideTheSlot();
///   std::cerr << error.localizedDescription() << "\n";
/// }
/// @endcode
///
/// The user info holds the message under the localized description and failure reason keys;
/// an invalid-request error (code 0) also holds the request's parameters, for the publisher
/// to see what was sent.
class GADRequestError : public pf::Error {
 public:
  /// An error with `code` for `request`, which may be empty (a load without a request).
  GADRequestError(long code, const std::shared_ptr<GADRequest>& request);
  /// The same as the constructor.
  static GADRequestError errorWithCodeRequest(long code, const std::shared_ptr<GADRequest>& request) {
    return GADRequestError(code, request);
  }

  /// "Request Error: " and the code's text; a code outside 0-5 has the text of code 0.
  /// Code 4 names the device's OS version.
  static std::string localizedStringForErrorCode(long code);

 private:
  static pf::Value makeUserInfo(long code, const std::shared_ptr<GADRequest>& request);
};
