#pragma once
// GADStatistics: the process-wide record of what happened around earlier ads — how long the
// last request, pre-click period, click and landing page took, how many clicks and landing-
// page navigations there were, whether the user broke out to the system browser, and how
// many ads were loaded. Other parts report events here; parameters() turns the record into
// parameters of the next ad request and resets what it reported, so each event goes out
// once, with the following request.
//
//   auto stats = GADStatistics::sharedStatistics();
//   request->setCounter(stats->incrementAdRequestCount());     // at every ad load
//   params.merge(stats->parameters());                          // composing the request
//   auto out = stats->urlForClick(clickURL);                    // a click, before opening it
//
// Counters and flags live in a GADStatisticsCore ("diziva_stats_shared"), timings in a
// GADTimingManager ("diziva_timing_shared"); both are saved on synchronize() and when the
// shared instance is released. Main thread only.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Url.h"
#include "platform/base/Value.h"
#include "sdk/statistics/GADStatisticsCore.h"
#include "sdk/timing/GADTimingManager.h"

namespace pf {
class UserDefaults;
}

// Request parameters this record produces.
inline constexpr char kGADParameterSessionID[] = "session_id";
inline constexpr char kGADParameterTotalAdRequests[] = "preqs";
inline constexpr char kGADParameterPriorClickCount[] = "pcc";
inline constexpr char kGADParameterPriorLandingPageNavCount[] = "plpnc";
inline constexpr char kGADParameterPriorLandingPageSSLNavCount[] = "plpsnc";
inline constexpr char kGADParameterPriorClickBreakOut[] = "pcbo";
inline constexpr char kGADParameterPriorClickBackgroundedApp[] = "pclb";
inline constexpr char kGADParameterAppOpenInterstitialTimedOut[] = "aoi_timedout";
inline constexpr char kGADParameterAppOpenInterstitialNoFill[] = "aoi_nofill";
// Timing names (and the parameters they are reported under).
inline constexpr char kGADParameterPriorRequestLatency[] = "prl";
inline constexpr char kGADParameterPriorClickLatency[] = "pcl";
inline constexpr char kGADParameterPriorClickString[] = "pai";
inline constexpr char kGADParameterPriorPreClickLatency[] = "ppcl";
inline constexpr char kGADParameterPriorClickRedirectLatency[] = "pcrl";
inline constexpr char kGADParameterPriorLandingPageLoad[] = "plpl";
inline constexpr char kGADParameterPriorLandingPageDuration[] = "plpd";
inline constexpr char kGADParameterTimeSinceFirstRequest[] = "ptime";
// User data of the "pcl" timing besides "pai".
inline constexpr char kGADParameterPriorImpressionTicketString[] = "pit";
inline constexpr char kGADStatisticsClickDateKey[] = "date";

class GADStatistics {
 public:
  // The shared instance, made on first call.
  static std::shared_ptr<GADStatistics> sharedStatistics();
  // Forgets the shared instance (saving it when no one else holds it); the next
  // sharedStatistics() makes a new one with a new session id.
  static void releaseSharedStatistics();
  // An instance of its own, over the standard user defaults or `defaults`.
  static std::shared_ptr<GADStatistics> create(std::shared_ptr<pf::UserDefaults> defaults = nullptr);

  // "prl", "pcl", "pai", "ppcl", "pcrl", "plpl", "plpd", "ptime", in that order.
  static const std::vector<std::string>& allTimingNames();

  ~GADStatistics();
  GADStatistics(const GADStatistics&) = delete;
  GADStatistics& operator=(const GADStatistics&) = delete;

  uint32_t sessionId() const { return sessionId_; }

  // The record as request parameters: "session_id" always, each timing that exists (in
  // milliseconds, as text) with its user data, the counters and flags that are not 0. Reports
  // consume: timings but "ptime" are removed, flags removed, counters but "preqs" set to 0.
  // Nothing is saved.
  pf::Value parameters();

  // Records a click on `url` (count, click timings, click date, its "ai" value) and returns
  // the URL to open, with the ad signals module's click token appended when there is one.
  // Message URLs and "about:blank" come back unchanged and record nothing.
  pf::Url urlForClick(const pf::Url& url);
  // The same for a click that may have no URL (an overlay opened on inline HTML): without
  // one the click is recorded all the same and none is returned.
  std::optional<pf::Url> urlForClick(const std::optional<pf::Url>& url);

  // A click-tracking URL the click tracker finished following. On the ad network's domain
  // (GADConfiguration::adNetworkDomain(), the host itself or one below it) with a path of
  // five characters or more, the path less its first four characters is kept as "pit" on
  // the running click's "pcl" timing.
  void addClickTrackingURL(const pf::Url& url);

  // Replaces any timing of that name with a new, started one.
  void startTimingNamed(const std::string& name);
  void endTimingNamed(const std::string& name);
  std::shared_ptr<GADTiming> timingNamed(const std::string& name) const;
  void removeTimingNamed(const std::string& name);
  // A click's "pcl" timing exists and is still running.
  bool isTimingClick() const;

  // "preqs" + 1, returned (the ordinal of this ad load).
  int64_t incrementAdRequestCount();
  int64_t adRequestCount() const;
  void setAdRequestCount(int64_t count);

  void incrementClickCount();
  void resetClickCount();
  void incrementPageNavigationCount();
  void resetPageNavigationCount();
  void incrementSSLPageNavigationCount();
  void resetSSLPageNavigationCount();

  void setBreakOutToSafari() { setFlagWithParameterName(kGADParameterPriorClickBreakOut); }
  void resetBreakOutToSafari() { resetFlagWithParameterName(kGADParameterPriorClickBreakOut); }
  void setClickBackgroundedApp() { setFlagWithParameterName(kGADParameterPriorClickBackgroundedApp); }
  void resetClickBackgroundedApp() { resetFlagWithParameterName(kGADParameterPriorClickBackgroundedApp); }
  void setAppOpenInterstitialTimeOut() { setFlagWithParameterName(kGADParameterAppOpenInterstitialTimedOut); }
  void resetAppOpenInterstitialTimeOut() { resetFlagWithParameterName(kGADParameterAppOpenInterstitialTimedOut); }
  void setAppOpenInterstitialNoFill() { setFlagWithParameterName(kGADParameterAppOpenInterstitialNoFill); }
  void resetAppOpenInterstitialNoFill() { resetFlagWithParameterName(kGADParameterAppOpenInterstitialNoFill); }
  // A flag is the number 1 under its name; reset removes it.
  void setFlagWithParameterName(const std::string& name);
  void resetFlagWithParameterName(const std::string& name);

  // Saves the counters, then the timings.
  void synchronize();

  GADStatisticsCore& core() { return *statistics_; }
  GADTimingManager& timingManager() { return *timingMgr_; }

 private:
  explicit GADStatistics(std::shared_ptr<pf::UserDefaults> defaults);
  static uint32_t makeSessionId();
  // Counts a click and starts its timings; the running "pcl" timing.
  std::shared_ptr<GADTiming> recordClick();
  uint32_t clickAgeMilliseconds(const std::shared_ptr<GADTiming>& click) const;

  uint32_t sessionId_;
  std::shared_ptr<GADStatisticsCore> statistics_;
  std::shared_ptr<GADTimingManager> timingMgr_;
};
