#pragma once
// GADClickTracker: pings one URL in the background — an impression, a click-tracking URL, a
// page's "click" message — following HTTP redirects, and stopping at the first redirect to a
// scheme that is not web (an app store link, say), which counts as the end of the ping.
//
//   tracker_ = GADClickTracker::create();
//   tracker_->setDelegate(weak_from_this());
//   tracker_->trackURL(url);                 // a second call abandons the first ping
//
// While a ping runs the application is kept alive: a background task where the device
// offers them (its expiry resets the tracker), otherwise the process-wide trackingCount that
// activeTrackings() reports, which the opener waits on before leaving the application. A
// finished ping on the ad network's domain is reported to the statistics. The delegate is
// not retained and hears of each ping at most once. Main thread only.
#include <memory>
#include <optional>

#include "platform/base/Url.h"
#include "platform/ui/Application.h"
#include "sdk/network/GADCachedFile.h"
#include "sdk/network/GADCachedFileDelegate.h"
#include "sdk/network/GADClickTrackerDelegate.h"

class GADClickTracker : public GADCachedFileDelegate, public std::enable_shared_from_this<GADClickTracker> {
 public:
  static std::shared_ptr<GADClickTracker> create();
  ~GADClickTracker() override;

  std::shared_ptr<GADClickTrackerDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<GADClickTrackerDelegate> d) { delegate_ = std::move(d); }
  // The ping has ended (successfully or not) and the delegate was told.
  bool hasTracked() const { return hasTracked_; }
  // The last URL the ping was sent to; none before the first ping.
  std::optional<pf::Url> trackingURL() const;

  // Starts a ping of `url` (none: nothing), abandoning any earlier one unheard.
  void trackURL(const std::optional<pf::Url>& url);
  // Stops any ping and forgets it.
  void reset();

  // Pings running on a device without background tasks.
  static bool activeTrackings() { return trackingCount_ > 0; }

  // What the ad trace calls this tracker's pings: the banner's number and "impression",
  // "click" or "message". Untraced when never set.
  void setTraceInfo(int banner, const char* kind) {
    traceBanner_ = banner;
    traceKind_ = kind;
  }

  // GADCachedFileDelegate
  void cachedFileDownloadDidEnd(GADCachedFile& file) override;
  void cachedFileDownloadDidFail(GADCachedFile& file, const std::optional<pf::Error>& error) override;
  std::optional<pf::Error> cachedFileShouldRedirectToURL(GADCachedFile& file, const pf::Url& url) override;

 private:
  GADClickTracker() = default;
  void beginBackgroundTask();
  void endBackgroundTask();
  // The ping ended: marks it, tells the statistics (on success) and the delegate.
  void succeed(const pf::Url& reached, const char* outcome);
  void trace(const char* outcome) const;

  std::weak_ptr<GADClickTrackerDelegate> delegate_;  // not retained
  std::shared_ptr<GADCachedFile> tracker_;
  std::optional<pf::Url> stoppedAt_;  // a non-web redirect target the ping stopped at
  bool hasTracked_ = false;
  pf::BackgroundTaskIdentifier backgroundTaskID_ = pf::kBackgroundTaskInvalid;
  bool counted_ = false;  // holds one of trackingCount_
  int traceBanner_ = 0;
  const char* traceKind_ = nullptr;

  static unsigned trackingCount_;
};
