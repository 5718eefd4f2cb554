#include "sdk/network/GADClickTracker.h"

#include <algorithm>
#include <cctype>

#include "platform/ui/Device.h"
#include "sdk/request/GADRequestError.h"
#include "sdk/statistics/GADStatistics.h"
#include "sdk/utility/GADAdTrace.h"

unsigned GADClickTracker::trackingCount_ = 0;

std::shared_ptr<GADClickTracker> GADClickTracker::create() {
  return std::shared_ptr<GADClickTracker>(new GADClickTracker());
}

GADClickTracker::~GADClickTracker() { reset(); }

std::optional<pf::Url> GADClickTracker::trackingURL() const {
  if (stoppedAt_) return stoppedAt_;
  if (tracker_) return tracker_->httpDestinationURL();
  return std::nullopt;
}

void GADClickTracker::trackURL(const std::optional<pf::Url>& url) {
  if (!url) return;
  reset();
  beginBackgroundTask();
  tracker_ = GADCachedFile::create(weak_from_this(), *url);
  // A ping's answer is never read: writing it to the caches only to delete it would cost the
  // main thread a file creation and removal at every impression and click.
  tracker_->setStoresBody(false);
  tracker_->validate();
}

void GADClickTracker::reset() {
  hasTracked_ = false;
  stoppedAt_.reset();
  if (tracker_) {
    tracker_->setDelegate({});
    tracker_->invalidate();
    tracker_.reset();
  }
  endBackgroundTask();
}

void GADClickTracker::beginBackgroundTask() {
  if (pf::Device::offers(pf::Capability::BackgroundTasks)) {
    // The expiry handler keeps the tracker alive until the task ends, as the system would.
    auto self = shared_from_this();
    backgroundTaskID_ = pf::Application::sharedApplication()->beginBackgroundTaskWithExpirationHandler(
        [self] { self->reset(); });
  } else {
    ++trackingCount_;
    counted_ = true;
  }
}

void GADClickTracker::endBackgroundTask() {
  if (backgroundTaskID_ != pf::kBackgroundTaskInvalid) {
    auto id = backgroundTaskID_;
    backgroundTaskID_ = pf::kBackgroundTaskInvalid;
    pf::Application::sharedApplication()->endBackgroundTask(id);
  } else if (counted_) {
    counted_ = false;
    if (trackingCount_ > 0) --trackingCount_;
  }
}

void GADClickTracker::trace(const char* outcome) const {
  if (!traceKind_ || !GADAdTrace::enabled() || !tracker_) return;
  GADAdTrace::write(traceBanner_, "ping",
                    {{"kind", traceKind_}, {"url", tracker_->sourceURL().absoluteString()}, {"outcome", outcome}});
}

void GADClickTracker::succeed(const pf::Url& reached, const char* outcome) {
  hasTracked_ = true;
  trace(outcome);
  GADStatistics::sharedStatistics()->addClickTrackingURL(tracker_->sourceURL());
  auto keep = shared_from_this();  // the delegate may drop us
  if (auto d = delegate()) d->trackerDidRedirect(*this, reached);
  endBackgroundTask();
}

void GADClickTracker::cachedFileDownloadDidEnd(GADCachedFile& file) {
  if (hasTracked_) return;
  succeed(file.httpDestinationURL(), "ok");
}

void GADClickTracker::cachedFileDownloadDidFail(GADCachedFile&, const std::optional<pf::Error>& error) {
  if (hasTracked_) return;  // a refused redirect ended the ping already
  hasTracked_ = true;
  trace("failed");
  auto keep = shared_from_this();
  if (auto d = delegate()) d->trackerDidFailWithError(*this, error);
  endBackgroundTask();
}

std::optional<pf::Error> GADClickTracker::cachedFileShouldRedirectToURL(GADCachedFile&, const pf::Url& url) {
  std::string scheme = url.scheme();
  std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
  if (scheme.rfind("http", 0) == 0) return std::nullopt;
  // A store or app link: the ping has done its work; no further fetch.
  if (!hasTracked_) {
    stoppedAt_ = url;
    succeed(url, "stopped");
  }
  return pf::Error(kGADErrorDomain, 0);
}
