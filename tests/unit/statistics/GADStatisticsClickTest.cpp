// Clicks: the click URL rewrite and the impression ticket from click-tracking URLs.
#include <regex>

#include "ScopedEnvironment.h"
#include "StatisticsTestSupport.h"
#include "sdk/signals/GADSignalsCipher.h"
#include "sdk/utility/GADConfiguration.h"

namespace {

using GADStatisticsClickTest = StatisticsTest;

pf::Url url(const std::string& text) {
  auto u = pf::Url::parse(text);
  EXPECT_TRUE(u) << text;
  return u ? *u : *pf::Url::parse("about:blank");
}

TEST_F(GADStatisticsClickTest, PageMessagesAndBlankPagesAreNoClicks) {
  for (const char* text : {"about:blank", "gmsg://mobileads.example/click?ai=x", "rodud://launch?url=http://a"}) {
    EXPECT_EQ(stats()->urlForClick(url(text)).absoluteString(), text);
  }
  EXPECT_FALSE(stats()->timingNamed("pcl"));
  EXPECT_FALSE(stats()->timingNamed("pcrl"));
  EXPECT_EQ(stats()->parameters().size(), 1u);  // the session alone
}

TEST_F(GADStatisticsClickTest, AClickWithoutAiIsCountedAndTimedButNotRewritten) {
  stats()->startTimingNamed("ppcl");
  pf::Url out = stats()->urlForClick(url("http://127.0.0.1/aclk?adurl=http%3A%2F%2Fshop"));
  EXPECT_EQ(out.absoluteString(), "http://127.0.0.1/aclk?adurl=http%3A%2F%2Fshop");
  EXPECT_TRUE(stats()->isTimingClick());
  EXPECT_FALSE(stats()->timingNamed("ppcl")->isActive());
  EXPECT_FALSE(stats()->timingNamed("pcrl")->isActive());
  EXPECT_TRUE(stats()->timingNamed("pcl")->valueForKey("pai").isNull());
  EXPECT_TRUE(stats()->timingNamed("pcl")->valueForKey("date").isDate());
  EXPECT_EQ(stats()->parameters()["pcc"], pf::Value(1));
}

TEST_F(GADStatisticsClickTest, AClickWithAiGetsTheClickTokenAsABareQueryName) {
  pf::Url out = stats()->urlForClick(url("http://127.0.0.1/aclk?ai=AbC%2Fd&num=1"));
  const std::string& text = out.absoluteString();
  std::smatch m;
  ASSERT_TRUE(std::regex_match(text, m, std::regex(R"(http://127\.0\.0\.1/aclk\?ai=AbC%2Fd&num=1&([A-Za-z0-9_-]+))")))
      << text;
  auto token = GADSignalsCipher::open(m[1].str(), *GADConfiguration::signalsKey());
  ASSERT_TRUE(token.record) << GADSignalsCipher::describe(token.failure);
  EXPECT_EQ(token.record->kind, GADSignalsRecord::Kind::Click);
  EXPECT_EQ(token.record->ai, "AbC%2Fd");
  EXPECT_EQ(stats()->timingNamed("pcl")->valueForKey("pai"), pf::Value("AbC%2Fd"));  // raw, as in the URL
  // "ai" must be a query parameter: one in the path is not read.
  EXPECT_EQ(stats()->urlForClick(url("http://127.0.0.1/aclk;ai=1")).absoluteString(), "http://127.0.0.1/aclk;ai=1");
}

TEST_F(GADStatisticsClickTest, AnEmptyAiIsNoAi) {
  pf::Url out = stats()->urlForClick(url("http://127.0.0.1/aclk?ai=&x=1"));
  EXPECT_EQ(out.absoluteString(), "http://127.0.0.1/aclk?ai=&x=1");
  EXPECT_TRUE(stats()->timingNamed("pcl")->valueForKey("pai").isNull());
}

TEST_F(GADStatisticsClickTest, TheTicketIsThePathLessItsFirstFourCharacters) {
  stats()->urlForClick(url("http://127.0.0.1/aclk?ai=1"));
  stats()->addClickTrackingURL(url("http://127.0.0.1/pit/T0K3N?x=1"));
  EXPECT_EQ(stats()->timingNamed("pcl")->valueForKey("pit"), pf::Value("/T0K3N"));
  pf::Value p = stats()->parameters();
  EXPECT_EQ(p["pit"], pf::Value("/T0K3N"));
  EXPECT_EQ(p["pai"], pf::Value("1"));
}

TEST_F(GADStatisticsClickTest, ShortPathsOtherDomainsAndNoClickStoreNothing) {
  stats()->addClickTrackingURL(url("http://127.0.0.1/pit/T0K3N"));  // no click yet
  EXPECT_FALSE(stats()->timingNamed("pcl"));
  stats()->urlForClick(url("http://127.0.0.1/aclk?ai=1"));
  stats()->addClickTrackingURL(url("http://127.0.0.1/abc"));   // four characters
  stats()->addClickTrackingURL(url("http://127.0.0.1"));
  stats()->addClickTrackingURL(url("http://ads.other.test/pit/T0K3N"));
  EXPECT_TRUE(stats()->timingNamed("pcl")->valueForKey("pit").isNull());
  stats()->addClickTrackingURL(url("http://127.0.0.1/abcd"));  // five: "d"
  EXPECT_EQ(stats()->timingNamed("pcl")->valueForKey("pit"), pf::Value("d"));
}

TEST_F(GADStatisticsClickTest, TheDomainIsConfigurationAndMatchesWholeLabels) {
  ScopedEnvironment domain("ASHENMOOR_AD_NETWORK_DOMAIN", "adnet.example");
  stats()->urlForClick(url("http://127.0.0.1/aclk?ai=1"));
  auto click = stats()->timingNamed("pcl");
  stats()->addClickTrackingURL(url("http://127.0.0.1/pit/sandbox"));  // no longer the ad network
  stats()->addClickTrackingURL(url("http://evil-adnet.example/pit/forged"));
  stats()->addClickTrackingURL(url("http://badadnet.example/pit/forged"));
  EXPECT_TRUE(click->valueForKey("pit").isNull());
  stats()->addClickTrackingURL(url("http://track.ADNET.example/pit/one"));
  EXPECT_EQ(click->valueForKey("pit"), pf::Value("/one"));
  stats()->addClickTrackingURL(url("https://adnet.example:8443/pit/two"));
  EXPECT_EQ(click->valueForKey("pit"), pf::Value("/two"));
}

TEST_F(GADStatisticsClickTest, ATicketWithNonAsciiTextIsCutBetweenCharactersAndSaves) {
  stats()->urlForClick(url("http://127.0.0.1/aclk?ai=1"));
  // "/é" is two characters but three bytes: cutting four bytes would split "ü".
  stats()->addClickTrackingURL(url("http://127.0.0.1/%C3%A9%C3%BC%C3%A4/x"));
  EXPECT_EQ(stats()->timingNamed("pcl")->valueForKey("pit"), pf::Value("/x"));
  stats()->addClickTrackingURL(url("http://127.0.0.1/%C3%A9%C3%BC%C3%A4"));  // four characters
  EXPECT_EQ(stats()->timingNamed("pcl")->valueForKey("pit"), pf::Value("/x"));
  stats()->addClickTrackingURL(url("http://127.0.0.1/ab%C3%BC%C3%A4"));
  EXPECT_EQ(stats()->timingNamed("pcl")->valueForKey("pit"), pf::Value("\xC3\xA4"));
  stats()->synchronize();
  auto saved = defaultsOnDisk()->dictionaryForKey("diziva_timing_shared");
  ASSERT_TRUE(saved);
  EXPECT_EQ((*saved)["pcl"]["userData"]["pit"], pf::Value("\xC3\xA4"));
}

}  // namespace
