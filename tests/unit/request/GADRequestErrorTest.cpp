#include "sdk/request/GADRequestError.h"

#include <gtest/gtest.h>

#include "RequestTestSupport.h"
#include "sdk/request/GADRequestPrivate.h"

namespace {

using GADRequestErrorTest = RequestTest;

constexpr const char* kInvalid =
    "Request Error: Invalid ad request parameter(s).  Check the Xcode console for details.";

TEST_F(GADRequestOldOSTest, OSVersionMessageNamesTheDevice) {
  EXPECT_EQ(GADRequestError::localizedStringForErrorCode(kGADErrorOSVersionTooLow),
            "Request Error: This device's OS is 3.1.3.  It is below the minimum of 3.0.");
}

TEST_F(GADRequestErrorTest, InvalidRequestHoldsTheRequestParametersButNotItsStatistics) {
  GADStatistics::sharedStatistics()->incrementClickCount();
  auto request = GADRequest::request();
  request->addKeyword("fog");
  GADRequestPrivate::from(*request).setCounter(5);
  pf::Error error = GADRequestError::errorWithCodeRequest(kGADErrorInvalidRequest, request);
  const pf::Value& info = error.userInfo();
  EXPECT_EQ(info["NSLocalizedDescription"], pf::Value(kInvalid));
  EXPECT_EQ(info["NSLocalizedFailureReason"], pf::Value(kInvalid));
  EXPECT_EQ(info["kw"], pf::Value::array({"fog"}));
  EXPECT_EQ(info["js"], pf::Value("vize-sdk-i-v4.1.1"));
  EXPECT_EQ(info["preqs"], pf::Value(5));
  EXPECT_TRUE(info.contains("isu"));
  EXPECT_FALSE(info.contains("pcc"));
  EXPECT_EQ(GADRequestPrivate::from(*request).parameters()["pcc"], pf::Value(1)) << "left for the next request";

  // Without a request, or for another code (one outside the table reads as invalid request):
  // the message alone.
  EXPECT_EQ(GADRequestError(kGADErrorInvalidRequest, nullptr).userInfo().size(), 2u);
  EXPECT_EQ(GADRequestError(kGADErrorNetworkError, request).userInfo().size(), 2u);
  EXPECT_EQ(GADRequestError(9, request).userInfo().size(), 2u);
}

}  // namespace
