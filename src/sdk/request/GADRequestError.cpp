#include "sdk/request/GADRequestError.h"

#include <cstdio>

#include "sdk/identifier/GADIdentifierUtilities.h"
#include "sdk/request/GADRequestPrivate.h"

namespace {
constexpr const char* kInvalidRequestText = "Invalid ad request parameter(s).  Check the Xcode console for details.";
}

GADRequestError::GADRequestError(long code, const std::shared_ptr<GADRequest>& request)
    : pf::Error(kGADErrorDomain, code, makeUserInfo(code, request)) {}

std::string GADRequestError::localizedStringForErrorCode(long code) {
  std::string text;
  switch (code) {
    case kGADErrorNoFill: text = "No ad to show."; break;
    case kGADErrorNetworkError: text = "A network error occurred."; break;
    case kGADErrorServerError: text = "Server error processing the request."; break;
    case kGADErrorOSVersionTooLow: {
      int major = 0, minor = 0, bugFix = 0;
      GADIdentifierUtilities::getOSMajorMinorBugFix(&major, &minor, &bugFix);
      char buffer[160];
      std::snprintf(buffer, sizeof buffer, "This device's OS is %i.%i.%i.  It is below the minimum of %i.%i.", major,
                    minor, bugFix, 3, 0);
      text = buffer;
      break;
    }
    case kGADErrorTimeout: text = "The Diziva Ad request was unable to be fulfilled before a timeout occurred."; break;
    default: text = kInvalidRequestText; break;
  }
  return "Request Error: " + text;
}

pf::Value GADRequestError::makeUserInfo(long code, const std::shared_ptr<GADRequest>& request) {
  pf::Value info = pf::Value::dictionary();
  // What was asked for, for the publisher's debugging. Composed without the statistics:
  // reporting a failure must not use up what the next request is to send.
  if (code == kGADErrorInvalidRequest && request) {
    pf::Value params = GADRequestPrivate::from(*request).parametersWithoutStatistics();
    for (const auto& [key, value] : *params.asDictionary()) info.set(key, value);
  }
  std::string message = localizedStringForErrorCode(code);
  info.set(pf::kLocalizedDescriptionKey, message);
  info.set(kGADLocalizedFailureReasonKey, message);
  return info;
}
