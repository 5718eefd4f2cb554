// The request object: what it is made as, how copies share, how it describes itself, and
// its small class operations.
#include "sdk/request/GADRequest.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "RequestTestSupport.h"
#include "platform/base/Clock.h"
#include "sdk/request/GADRequestPrivate.h"

namespace {

using GADRequestTest = RequestTest;

TEST_F(GADRequestTest, CopySharesObjectsButNotTheCounter) {
  auto source = GADRequestPrivate::create();
  source->addKeyword("moor");
  source->setLocationWithDescription("Goathland");
  source->setTestDevices(std::vector<std::string>{"abc"});
  source->setTesting(true);
  source->setGender(1);
  source->setBirthday(100.0);
  source->setAdditionalParameters(pf::Value::dictionary({{"k", "v"}}));
  source->setInterstitialAd(true);
  source->setCounter(12);

  auto copied = GADRequestPrivate::createWithRequest(*source);
  EXPECT_EQ(copied->keywords(), source->keywords());
  EXPECT_EQ(copied->location(), source->location());
  EXPECT_EQ(copied->testDevices(), source->testDevices());
  EXPECT_TRUE(copied->isTesting());
  EXPECT_EQ(copied->gender(), 1);
  EXPECT_EQ(copied->birthday(), std::optional<double>(100.0));
  EXPECT_EQ(copied->additionalParameters(), source->additionalParameters());
  EXPECT_TRUE(copied->isInterstitialAd());
  EXPECT_EQ(copied->counter(), 0);

  // A keyword added on either side is seen on both: the list is one list.
  copied->addKeyword("fog");
  source->addKeyword("rain");
  LogCapture quiet;  // the copy is "testing": it logs the notice
  EXPECT_EQ(*source->keywords(), (std::vector<std::string>{"moor", "fog", "rain"}));
  EXPECT_EQ(copied->parameters()["kw"], pf::Value::array({"moor", "fog", "rain"}));
}



TEST_F(GADRequestTest, DescriptionNamesWhatIsSet) {
  auto request = GADRequestPrivate::create();
  char head[64];
  std::snprintf(head, sizeof head, "GADRequest<%p>: ", static_cast<const void*>(request.get()));
  EXPECT_EQ(request->description(), head);

  request->setGender(3);
  EXPECT_EQ(request->description(), head);  // a gender that is not stated adds nothing
  request->setGender(2);
  request->setBirthday(pf::Clock::from1970(315619200.0));  // 1980-01-02 00:00:00 UTC
  request->setLocationWithLatitudeLongitudeAccuracy(45.5f, -7.25f, 3);
  request->addKeyword("fog");
  request->setAdditionalParameters(pf::Value::dictionary({{"a", 1}}));
  EXPECT_EQ(request->description(), std::string(head) +
                                        "\ngender:Female"
                                        "\nbirthday:1980-01-02 00:00:00 +0000"
                                        "\nlocation:45.500000,-7.250000"
                                        "\nkeywords:" + pf::Value::array({"fog"}).description() +
                                        "\nadditionalParameters:" + pf::Value::dictionary({{"a", 1}}).description());
  request->setGender(1);
  request->setBirthday(std::nullopt);
  request->setLocation(nullptr);
  request->setKeywords(nullptr);
  request->setAdditionalParameters(std::nullopt);
  EXPECT_EQ(request->description(), std::string(head) + "\ngender:Male");
}

TEST_F(GADRequestTest, SignalTextSplitting) {
  EXPECT_EQ(GADRequestPrivate::signalEntryFromText("ms=abc"), pf::Value::dictionary({{"ms", "abc"}}));
  EXPECT_EQ(GADRequestPrivate::signalEntryFromText("ms=abc=def"), pf::Value::dictionary({{"ms", "abc"}}));
  EXPECT_EQ(GADRequestPrivate::signalEntryFromText("ms="), pf::Value::dictionary());
  EXPECT_EQ(GADRequestPrivate::signalEntryFromText("ms==x"), pf::Value::dictionary());
  EXPECT_EQ(GADRequestPrivate::signalEntryFromText("msabc"), pf::Value::dictionary());
  EXPECT_EQ(GADRequestPrivate::signalEntryFromText(""), pf::Value::dictionary());
}




TEST_F(GADRequestOldOSTest, MinimumOSComparesMajorThenMinor) {
  // 3.1.3
  EXPECT_TRUE(GADRequestPrivate::deviceAtLeastMinimumOSMajorVersionMinorVersion(3, 1));  // bug fix ignored
  EXPECT_TRUE(GADRequestPrivate::deviceAtLeastMinimumOSMajorVersionMinorVersion(2, 9));
  EXPECT_FALSE(GADRequestPrivate::deviceAtLeastMinimumOSMajorVersionMinorVersion(3, 2));
  EXPECT_FALSE(GADRequestPrivate::deviceAtLeastMinimumOSMajorVersionMinorVersion(4, 0));
}

}  // namespace
