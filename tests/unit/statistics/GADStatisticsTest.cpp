#include "sdk/statistics/GADStatistics.h"

#include "StatisticsTestSupport.h"

namespace {

using GADStatisticsTest = StatisticsTest;

TEST_F(GADStatisticsTest, AFreshInstallSendsOnlyTheSessionThenTheRequestCount) {
  EXPECT_EQ(stats()->parameters(), pf::Value::dictionary({{"session_id", stats()->sessionId()}}));
  EXPECT_EQ(stats()->incrementAdRequestCount(), 1);
  EXPECT_EQ(stats()->incrementAdRequestCount(), 2);
  pf::Value second = stats()->parameters();
  EXPECT_EQ(second["preqs"], pf::Value(2));
  EXPECT_EQ(second.size(), 2u);
  // "preqs" is never reset by reporting.
  EXPECT_EQ(stats()->parameters()["preqs"], pf::Value(2));
}

TEST_F(GADStatisticsTest, CountersAreReportedOnceThenStartAgain) {
  stats()->urlForClick(url("http://127.0.0.1/aclk?x=1"));
  stats()->incrementPageNavigationCount();
  stats()->incrementPageNavigationCount();
  stats()->incrementSSLPageNavigationCount();
  pf::Value p = stats()->parameters();
  EXPECT_EQ(p["pcc"], pf::Value(1));
  EXPECT_EQ(p["plpnc"], pf::Value(2));
  EXPECT_EQ(p["plpsnc"], pf::Value(1));
  pf::Value next = stats()->parameters();
  for (const char* counter : {"pcc", "plpnc", "plpsnc"}) EXPECT_FALSE(next.contains(counter)) << counter;
  // Reset means 0 stored, not removed.
  EXPECT_EQ(stats()->core().numberForKey("pcc"), pf::Value(0));
  stats()->incrementClickCount();
  EXPECT_EQ(stats()->parameters()["pcc"], pf::Value(1));
}

TEST_F(GADStatisticsTest, FlagsAreReportedOnceThenRemoved) {
  stats()->setBreakOutToSafari();
  stats()->setAppOpenInterstitialTimeOut();
  stats()->setAppOpenInterstitialNoFill();
  stats()->setClickBackgroundedApp();
  pf::Value p = stats()->parameters();
  for (const char* flag : {"pcbo", "aoi_timedout", "aoi_nofill", "pclb"}) EXPECT_EQ(p[flag], pf::Value(1)) << flag;
  pf::Value next = stats()->parameters();
  for (const char* flag : {"pcbo", "aoi_timedout", "aoi_nofill", "pclb"}) {
    EXPECT_FALSE(next.contains(flag)) << flag;
    EXPECT_FALSE(stats()->core().dictionary().contains(flag)) << flag;
  }
  stats()->setBreakOutToSafari();
  stats()->resetBreakOutToSafari();
  EXPECT_FALSE(stats()->parameters().contains("pcbo"));
}

TEST_F(GADStatisticsTest, APreClickPeriodIsReportedOnlyWhenAClickEndedIt) {
  stats()->startTimingNamed("ppcl");
  clock_.advance(2);
  EXPECT_FALSE(stats()->parameters().contains("ppcl"));
  EXPECT_FALSE(stats()->timingNamed("ppcl"));

  stats()->startTimingNamed("ppcl");
  clock_.advance(2.5);
  stats()->urlForClick(url("http://127.0.0.1/aclk?ai=XYZ"));
  clock_.advance(1);
  pf::Value p = stats()->parameters();
  EXPECT_EQ(p["ppcl"], pf::Value("2500"));  // ended at the click
  EXPECT_EQ(p["pcrl"], pf::Value("0"));
  EXPECT_EQ(p["pcl"], pf::Value("1000"));   // still running: time so far
  EXPECT_EQ(p["pai"], pf::Value("XYZ"));
  EXPECT_FALSE(p.contains("date")) << "the click's date is used up, backgrounded or not";
  for (const char* name : {"ppcl", "pcrl", "pcl"}) EXPECT_FALSE(stats()->timingNamed(name)) << name;
}

TEST_F(GADStatisticsTest, EveryTimingButPtimeIsReportedOnce) {
  stats()->startTimingNamed("ptime");
  stats()->startTimingNamed("prl");
  clock_.advance(0.25);
  stats()->endTimingNamed("prl");
  stats()->startTimingNamed("plpl");
  clock_.advance(0.5);
  stats()->endTimingNamed("plpl");
  stats()->startTimingNamed("plpd");
  pf::Value p = stats()->parameters();
  EXPECT_EQ(p["prl"], pf::Value("250"));
  EXPECT_EQ(p["plpl"], pf::Value("500"));
  EXPECT_EQ(p["plpd"], pf::Value("0"));
  EXPECT_EQ(p["ptime"], pf::Value("750"));
  clock_.advance(10);
  pf::Value next = stats()->parameters();
  EXPECT_EQ(next["ptime"], pf::Value("10750"));  // keeps growing, request after request
  for (const char* name : {"prl", "plpl", "plpd"}) EXPECT_FALSE(next.contains(name)) << name;
}

TEST_F(GADStatisticsTest, AClickThatLeftTheAppReportsTheTimeSinceTheClickSaturated) {
  stats()->urlForClick(url("http://127.0.0.1/aclk?ai=A1"));
  stats()->setClickBackgroundedApp();
  clock_.advance(5.5);
  pf::Value p = stats()->parameters();
  EXPECT_EQ(p["pcl"], pf::Value(5500u));  // a number, not the timing's text
  EXPECT_EQ(p["pclb"], pf::Value(1));
  EXPECT_FALSE(p.contains("date"));
  stats()->urlForClick(url("http://127.0.0.1/aclk?ai=A1"));
  stats()->timingNamed("pcl")->setValueForKey(pf::Value::date(-2e9), "date");
  stats()->setClickBackgroundedApp();
  EXPECT_EQ(stats()->parameters()["pcl"], pf::Value(4294967295u));
}

TEST_F(GADStatisticsTest, ReportingSavesNothing) {
  stats()->incrementAdRequestCount();
  stats()->parameters();
  EXPECT_FALSE(defaultsOnDisk()->dictionaryForKey("diziva_stats_shared"));
}

TEST_F(GADStatisticsTest, CountersFlagsAndTimingsOutliveTheInstance) {
  stats()->setAdRequestCount(41);
  stats()->incrementAdRequestCount();
  stats()->incrementClickCount();
  stats()->setBreakOutToSafari();
  stats()->startTimingNamed("ptime");
  uint32_t firstSession = stats()->sessionId();
  GADStatistics::releaseSharedStatistics();  // saves
  clock_.advance(3);
  pf::UserDefaults::resetStandardUserDefaults();  // as a new process: from the file
  auto again = stats();
  EXPECT_NE(again->sessionId(), firstSession) << "a new process draws its own session";
  pf::Value p = again->parameters();
  EXPECT_EQ(p["preqs"], pf::Value(42));
  EXPECT_EQ(p["pcc"], pf::Value(1));
  EXPECT_EQ(p["pcbo"], pf::Value(1));
  EXPECT_EQ(p["ptime"], pf::Value("3000"));
}

TEST_F(GADStatisticsTest, SessionIdIsFixedForTheInstanceAndFollowsTheSecond) {
  auto a = stats();
  uint32_t id = a->sessionId();
  a->parameters();
  EXPECT_EQ(a->sessionId(), id);
  // Made in the same wall-clock second: the same seed, the same id.
  EXPECT_EQ(GADStatistics::create()->sessionId(), id);
  clock_.advance(1);
  EXPECT_NE(GADStatistics::create()->sessionId(), id);
}

TEST_F(GADStatisticsTest, TimingOperations) {
  EXPECT_FALSE(stats()->isTimingClick());
  stats()->endTimingNamed("pcl");  // nothing to end
  EXPECT_FALSE(stats()->timingNamed("pcl"));
  stats()->startTimingNamed("pcl");
  EXPECT_TRUE(stats()->isTimingClick());
  clock_.advance(1);
  auto before = stats()->timingNamed("pcl");
  stats()->startTimingNamed("pcl");  // replaced by a new one
  EXPECT_NE(stats()->timingNamed("pcl"), before);
  stats()->endTimingNamed("pcl");
  EXPECT_FALSE(stats()->isTimingClick());
}

TEST_F(GADStatisticsTest, ADamagedStoreStillReportsIntegers) {
  stats()->core().setStringForKey("3", "pcc");
  stats()->core().setStringForKey("0", "plpnc");
  pf::Value p = stats()->parameters();
  EXPECT_EQ(p["pcc"], pf::Value(3));
  EXPECT_FALSE(p.contains("plpnc"));
}

}  // namespace
