#include "sdk/request/GADRequestError.h"

#include <gtest/gtest.h>

#include "RequestTestSupport.h"
#include "sdk/request/GADRequestPrivate.h"

namespace {

using GADRequestErrorTest = RequestTest;

class GADRequestErrorOldOSTest : public RequestTest {
 protected:
  GADRequestErrorOldOSTest() : RequestTest("phone-3.1.3") {}
};

constexpr const char* kInvalid =
    "Request Error: Invalid ad request parameter(s).  Check the Xcode console for details.";

TEST_F(GADRequestErrorOldOSTest, OSVersionMessageNamesTheDevice) {
  EXPECT_EQ(GADRequestError::localizedStringForErrorCode(kGADErrorOSVersionTooLow),
            "Request Error: This device's OS is 3.1.3.  It is below the minimum of 3.0.");
}

TEST_F(GADRequestErrorTest, NetworkErrorHoldsOnlyTheMessage) {
  auto request = GADRequest::request();
  request->addKeyword("fog");
  GADRequestError error(kGADErrorNetworkError, request);
  EXPECT_EQ(error.domain(), "com.diziva.ads");
  EXPECT_EQ(error.code(), 2);
  EXPECT_EQ(error.localizedDescription(), "Request Error: A network error occurred.");
  EXPECT_EQ(error.userInfo(), pf::Value::dictionary({{"NSLocalizedDescription", "Request Error: A network error occurred."},
                                                     {"NSLocalizedFailureReason", "Request Error: A network error occurred."}}));
}

TEST_F(GADRequestErrorTest, InvalidRequestHoldsTheRequestParameters) {
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

  // Without a request: the message alone. A code outside the table reads as code 0 but
  // carries no parameters.
  EXPECT_EQ(GADRequestError(kGADErrorInvalidRequest, nullptr).userInfo().size(), 2u);
  EXPECT_EQ(GADRequestError(9, request).userInfo().size(), 2u);
}

TEST_F(GADRequestErrorTest, ReportingAFailureLeavesTheStatisticsForTheNextRequest) {
  GADStatistics::sharedStatistics()->incrementClickCount();
  GADStatistics::sharedStatistics()->setBreakOutToSafari();
  auto request = GADRequest::request();
  GADRequestError error(kGADErrorInvalidRequest, request);
  EXPECT_FALSE(error.userInfo().contains("pcc"));

  pf::Value next = GADRequestPrivate::from(*request).parameters();
  EXPECT_EQ(next["pcc"], pf::Value(1));
  EXPECT_EQ(next["pcbo"], pf::Value(1));
}

}  // namespace
