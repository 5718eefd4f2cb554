// Clicks: the click URL rewrite and the impression ticket from click-tracking URLs.
#include <regex>

#include "ScopedEnvironment.h"
#include "StatisticsTestSupport.h"
#include "sdk/signals/GADSignalsCipher.h"
#include "sdk/utility/GADConfiguration.h"

namespace {

using GADStatisticsClickTest = StatisticsTest;

TEST_F(GADStatisticsClickTest, PageMessagesAndBlankPagesAreNoClicks) {
  for (const char* text : {"about:blank", "gmsg://mobileads.example/click?ai=x", "rodud://launch?url=http://a"})
    EXPECT_EQ(stats()->urlForClick(url(text)).absoluteString(), text);
  EXPECT_EQ(stats()->parameters().size(), 1u);  // the session alone: no click counted or timed
}

TEST_F(GADStatisticsClickTest, AClickWithoutAiIsCountedAndTimedButNotRewritten) {
  for (const char* text : {"http://127.0.0.1/aclk?adurl=http%3A%2F%2Fshop", "http://127.0.0.1/aclk?ai=&x=1"}) {
    SCOPED_TRACE(text);  // an empty "ai" is none
    stats()->startTimingNamed("ppcl");
    EXPECT_EQ(stats()->urlForClick(url(text)).absoluteString(), text);
    EXPECT_TRUE(stats()->isTimingClick());
    EXPECT_FALSE(stats()->timingNamed("ppcl")->isActive());
    EXPECT_FALSE(stats()->timingNamed("pcrl")->isActive());
    EXPECT_TRUE(stats()->timingNamed("pcl")->valueForKey("pai").isNull());
    EXPECT_TRUE(stats()->timingNamed("pcl")->valueForKey("date").isDate());
    EXPECT_EQ(stats()->parameters()["pcc"], pf::Value(1));
  }
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

// The ticket is the path less its first four characters (characters, not bytes: "/é" is two
// characters but three bytes), from a click-tracking URL on the ad network's domain (its
// configuration; whole labels, any case).
TEST_F(GADStatisticsClickTest, TheTicketIsThePathLessItsFirstFourCharactersOnTheAdNetwork) {
  const struct {
    const char* domain;  // ASHENMOOR_AD_NETWORK_DOMAIN, or none: the default
    const char* url;
    std::optional<std::string> pit;
  } kCases[] = {
      {nullptr, "http://127.0.0.1/pit/T0K3N?x=1", "/T0K3N"},
      {nullptr, "http://127.0.0.1/abcd", "d"},
      {nullptr, "http://127.0.0.1/abc", std::nullopt},
      {nullptr, "http://127.0.0.1", std::nullopt},
      {nullptr, "http://ads.other.test/pit/T0K3N", std::nullopt},
      {nullptr, "http://127.0.0.1/%C3%A9%C3%BC%C3%A4/x", "/x"},
      {nullptr, "http://127.0.0.1/%C3%A9%C3%BC%C3%A4", std::nullopt},
      {nullptr, "http://127.0.0.1/ab%C3%BC%C3%A4", "\xC3\xA4"},
      {"adnet.example", "http://127.0.0.1/pit/sandbox", std::nullopt},
      {"adnet.example", "http://evil-adnet.example/pit/forged", std::nullopt},
      {"adnet.example", "http://badadnet.example/pit/forged", std::nullopt},
      {"adnet.example", "http://track.ADNET.example/pit/one", "/one"},
      {"adnet.example", "https://adnet.example:8443/pit/two", "/two"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.url);
    ScopedEnvironment domain("ASHENMOOR_AD_NETWORK_DOMAIN", c.domain);
    stats()->urlForClick(url("http://127.0.0.1/aclk?ai=1"));  // a new click: no ticket yet
    stats()->addClickTrackingURL(url(c.url));
    EXPECT_EQ(stats()->timingNamed("pcl")->valueForKey("pit").asString(), c.pit);
  }
}

TEST_F(GADStatisticsClickTest, ATicketNeedsAClickAndIsSavedAndReportedWithIt) {
  stats()->addClickTrackingURL(url("http://127.0.0.1/pit/T0K3N"));
  EXPECT_FALSE(stats()->timingNamed("pcl"));
  stats()->urlForClick(url("http://127.0.0.1/aclk?ai=1"));
  stats()->addClickTrackingURL(url("http://127.0.0.1/ab%C3%BC%C3%A4"));  // cut between characters, it saves
  stats()->synchronize();
  auto saved = defaultsOnDisk()->dictionaryForKey("diziva_timing_shared");
  ASSERT_TRUE(saved);
  EXPECT_EQ((*saved)["pcl"]["userData"]["pit"], pf::Value("\xC3\xA4"));
  pf::Value p = stats()->parameters();
  EXPECT_EQ(p["pit"], pf::Value("\xC3\xA4"));
  EXPECT_EQ(p["pai"], pf::Value("1"));
}

}  // namespace
