// The parameter dictionary of a request: what goes in, in which order, and what it uses up.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "RequestTestSupport.h"
#include "platform/base/Clock.h"
#include "platform/net/ReachabilityFlags.h"
#include "platform/sim/SimReachability.h"
#include "platform/sim/SimUIEnvironment.h"
#include "platform/ui/Device.h"
#include "sdk/request/GADRequestPrivate.h"
#include "sdk/utility/GADLocation.h"
#include "sdk/utility/GADMacros.h"

namespace {

class GADRequestParametersTest : public RequestTest {
 protected:
  std::shared_ptr<GADRequestPrivate> request_ = GADRequestPrivate::create();
  static std::shared_ptr<GADStatistics> stats() { return GADStatistics::sharedStatistics(); }
};

// TZ for the scope (the C library reads it at tzset()).
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) { env_.emplace("TZ", zone); tzset(); }
  ~ScopedTimeZone() {
    env_.reset();  // TZ as it was, then read again
    tzset();
  }

 private:
  std::optional<ScopedEnvironment> env_;
};

TEST_F(GADRequestParametersTest, BareRequestHasIdentityVersionStatisticsAndCounter) {
  settleNetwork();
  pf::Value params = request_->parameters();

  pf::Value identity = GADIdentifierUtilities::sharedInstance()->parameters();
  ASSERT_GT(identity.size(), 5u);
  for (const auto& [key, value] : *identity.asDictionary()) EXPECT_EQ(params[key], value) << key;
  EXPECT_EQ(params["js"], pf::Value("vize-sdk-i-v4.1.1"));
  EXPECT_EQ(params["net"], pf::Value("wi"));
  EXPECT_EQ(params["session_id"], pf::Value(stats()->sessionId()));
  EXPECT_EQ(params["preqs"], pf::Value(0));
  for (const char* key : {"testing", "adtest", "extras", "cust_gender", "cust_age", "kw", "uule", "pcc", "pcbo"})
    EXPECT_FALSE(params.contains(key)) << key;
  // Nothing else sneaks in.
  EXPECT_EQ(params.size(), identity.size() + 4);
}

// The statistics would send their stored count (GADStatisticsTest); the request's counter
// replaces it, 0 included, and leaves the stored count alone.
TEST_F(GADRequestParametersTest, CounterAlwaysReplacesTheStatisticsCountAndTheShownParametersConsumeNothing) {
  stats()->setAdRequestCount(7);
  EXPECT_EQ(request_->parameters()["preqs"], pf::Value(0));
  stats()->incrementClickCount();
  request_->setCounter(9);
  pf::Value shown = request_->parametersWithoutStatistics();
  EXPECT_FALSE(shown.contains("pcc"));
  EXPECT_FALSE(shown.contains("session_id"));
  EXPECT_EQ(shown["preqs"], pf::Value(9));
  pf::Value sent = request_->parameters();
  EXPECT_EQ(sent["preqs"], pf::Value(9));
  EXPECT_EQ(sent["pcc"], pf::Value(1));
  EXPECT_EQ(stats()->adRequestCount(), 7);
}

// The checker's text when it has one (which flags give which: GADNetworkCheckerTest).
TEST_F(GADRequestParametersTest, NetworkTypeOnlyWhenReachable) {
  EXPECT_FALSE(request_->parameters().contains("net"));  // no report yet
  sim.reachability().setFlags(pf::ReachabilityFlags::notReachable());
  sim.clock().runUntilIdle();
  EXPECT_FALSE(request_->parameters().contains("net"));
}

TEST_F(GADRequestParametersTest, TestingLogsAtEveryCallAndGoesWithAdtest) {
  request_->setTesting(true);
  request_->setTestDevices(std::vector<std::string>{"someone-else", pf::Device::uniqueIdentifier()});
  LogCapture log;
  pf::Value first = request_->parameters();
  pf::Value second = request_->parameters();
  EXPECT_EQ(first["testing"], pf::Value("1"));
  EXPECT_EQ(first["adtest"], pf::Value("on"));
  EXPECT_EQ(second["testing"], pf::Value("1"));
  EXPECT_EQ(log.countEndingWith("<Diziva> \"testing\" property has been deprecated.  Use \"testDevices\" instead."), 2u);
}

TEST_F(GADRequestParametersTest, AdtestNeedsTheRawIdentifierExactly) {
  std::string raw = pf::Device::uniqueIdentifier();
  ASSERT_FALSE(raw.empty());
  std::string hashed = GADIdentifierUtilities::sharedInstance()->deviceIdentifier().value();
  std::string upper = raw;
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  ASSERT_NE(upper, raw);

  request_->setTestDevices(std::vector<std::string>{hashed, upper});
  EXPECT_FALSE(request_->parameters().contains("adtest"));
  request_->setTestDevices(std::vector<std::string>{});
  EXPECT_FALSE(request_->parameters().contains("adtest"));
  request_->setTestDevices(std::vector<std::string>{raw});
  EXPECT_EQ(request_->parameters()["adtest"], pf::Value("on"));
  EXPECT_FALSE(request_->parameters().contains("testing"));

  // A device that reports no identifier is nobody's test device, an empty entry or not.
  pf::DeviceProfile anonymous = pf::Device::profile();
  anonymous.uniqueIdentifier.clear();
  sim.ui().setProfile(anonymous);
  request_->setTestDevices(std::vector<std::string>{""});
  EXPECT_FALSE(request_->parameters().contains("adtest"));
}

TEST_F(GADRequestParametersTest, TargetingKeys) {
  request_->setAdditionalParameters(pf::Value::dictionary({{"color_bg", "2f3e46"}}));
  request_->addKeyword("moor & fog");
  request_->addKeyword("moor & fog");
  request_->setLocationWithDescription("Whitby");
  pf::Value params = request_->parameters();
  EXPECT_EQ(params["extras"], pf::Value::dictionary({{"color_bg", "2f3e46"}}));
  EXPECT_EQ(params["kw"], pf::Value::array({"moor & fog", "moor & fog"}));
  EXPECT_EQ(params["uule"], pf::Value(*request_->location()->oolongRepresentation()));
  EXPECT_FALSE(GADMacros::jsonify(params).value_or("").empty());

  // Empty containers are still sent; "" is no keyword.
  request_->setAdditionalParameters(pf::Value::dictionary());
  request_->setKeywords(std::make_shared<std::vector<std::string>>());
  request_->addKeyword("");
  params = request_->parameters();
  EXPECT_EQ(params["extras"], pf::Value::dictionary());
  EXPECT_EQ(params["kw"], pf::Value::array());
}


TEST_F(GADRequestParametersTest, GenderIsStatedOnlyForOneOrTwo) {
  for (auto [gender, stated] : {std::pair{1, "m"}, {2, "f"}, {0, ""}, {3, ""}, {-1, ""}}) {
    request_->setGender(gender);
    pf::Value params = request_->parameters();
    EXPECT_EQ(params.contains("cust_gender") ? params["cust_gender"].stringRef() : "", stated) << gender;
  }
}

TEST_F(GADRequestParametersTest, BirthdayIsTheCalendarDayInAnyTimeZone) {
  for (const char* zone : {"UTC", "Pacific/Kiritimati", "Pacific/Pago_Pago", "America/Sao_Paulo", "Asia/Kathmandu"}) {
    ScopedTimeZone tz(zone);
    auto request = GADRequestPrivate::create();
    request->setBirthdayWithMonthDayYear(1, 2, 1980);
    EXPECT_EQ(request->parameters()["cust_age"], pf::Value("19800102")) << zone;
  }
  ScopedTimeZone tz("UTC");
  request_->setBirthdayWithMonthDayYear(1, 2, 1980);
  EXPECT_DOUBLE_EQ(*request_->birthday(), pf::Clock::from1970(315619200.0));  // 1980-01-02T00:00:00Z
  // Days and months past their end roll over as a calendar does.
  request_->setBirthdayWithMonthDayYear(13, 32, 1999);
  EXPECT_EQ(request_->birthdayString(), std::optional<std::string>("20000201"));
  // A date the calendar cannot hold sends no birthday.
  request_->setBirthday(1e300);
  EXPECT_FALSE(request_->parameters().contains("cust_age"));
}

TEST_F(GADRequestParametersTest, LocationThatIsNotPreciseReplacesAnEarlierOneWithNone) {
  request_->setLocationWithLatitudeLongitudeAccuracy(54.48f, -0.62f, 25);
  EXPECT_EQ(request_->parameters()["uule"].stringRef().rfind("e1+", 0), 0u);
  request_->setLocationWithLatitudeLongitudeAccuracy(0, -0.62f, 25);
  EXPECT_FALSE(request_->location());
  EXPECT_FALSE(request_->parameters().contains("uule"));
  request_->setLocationWithDescription("Whitby");
  request_->setLocationWithDescription("");
  EXPECT_FALSE(request_->parameters().contains("uule"));
}


}  // namespace
