// The ad object's response half: fetching the ad, reading the ad server's "X-Vize-" headers
// at every redirect and at the end, showing the body or reporting the failure, and the
// impression and click trackers.
#include "platform/base/RunLoop.h"
#include "platform/base/Log.h"
#include "platform/base/UserDefaults.h"
#include "sdk/object/GADObjectPrivate.h"
#include "sdk/utility/GADAdTrace.h"
#include "sdk/utility/GADNumberUtilities.h"
#include "sdk/view/GADWebView.h"
#include "sdk/viewcontroller/GADViewController.h"

namespace {

constexpr char kTrackingUrlsHeader[] = "X-Vize-Tracking-Urls";
constexpr char kClickTrackingUrlsHeader[] = "X-Vize-Click-Tracking-Urls";
constexpr char kOrientationHeader[] = "X-Vize-Orientation";
constexpr char kInterstitialTimeoutHeader[] = "X-Vize-Interstitial-Timeout";
constexpr char kRefreshRateHeader[] = "X-Vize-Refresh-Rate";
constexpr char kApplicationTimeoutKey[] = "applicationTimeout";

std::string_view trimmed(std::string_view text, std::string_view blanks) {
  size_t start = text.find_first_not_of(blanks);
  if (start == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(blanks);
  return text.substr(start, end - start + 1);
}

}  // namespace

void GADObjectPrivate::loadHTMLFromURL(const pf::Url& url) { setAdHTML(GADCachedFile::create(weak_from_this(), url)); }

void GADObjectPrivate::setAdHTML(std::shared_ptr<GADCachedFile> file) {
  if (file == adHTML_) return;
  if (adHTML_) {
    adHTML_->setDelegate({});
    adHTML_->invalidate();  // stops its fetch and deletes the previous ad's file
  }
  adHTML_ = std::move(file);
  if (adHTML_) adHTML_->validate();
  pendingTrackingURLs_.reset();
  pendingClickURLs_.reset();
}

void GADObjectPrivate::processHTTPHeaders(GADCachedFile& file) {
  const pf::HTTPHeaderFields& headers = file.httpHeaders();
  pendingTrackingURLs_ = createOrReuseArrayOfURLsFromHeader(std::move(pendingTrackingURLs_), headers.value(kTrackingUrlsHeader));
  pendingClickURLs_ = createOrReuseArrayOfURLsFromHeader(std::move(pendingClickURLs_), headers.value(kClickTrackingUrlsHeader));
  if (auto orientation = headers.value(kOrientationHeader)) {
    if (int o = GADViewController::orientationFromString(*orientation); o != kGADOrientationNotGiven)
      supportedOrientations_ = o;
  }
  if (auto timeout = headers.value(kInterstitialTimeoutHeader); timeout && !timeout->empty()) {
    // Kept as a float, as it was stored; written to disk with the rest of the defaults.
    pf::UserDefaults::standardUserDefaults()->setObject(
        kApplicationTimeoutKey, pf::Value(static_cast<float>(GADNumberUtilities::leadingDouble(*timeout))));
  }
}

std::optional<std::vector<pf::Url>> GADObjectPrivate::createOrReuseArrayOfURLsFromHeader(
    std::optional<std::vector<pf::Url>> array, const std::optional<std::string>& header) {
  if (!header) return array;
  std::string_view rest = *header;
  while (true) {
    size_t blank = rest.find(' ');
    std::string_view piece = trimmed(rest.substr(0, blank), " \t");
    if (!piece.empty()) {
      if (auto url = pf::Url::parse(piece); url && !url->absoluteString().empty()) {
        if (!array) array.emplace();
        array->push_back(std::move(*url));
      }
    }
    if (blank == std::string_view::npos) break;
    rest.remove_prefix(blank + 1);
  }
  return array;
}

std::optional<double> GADObjectPrivate::refreshFromHeaders() const {
  if (!adHTML_) return std::nullopt;
  auto rate = adHTML_->httpHeaders().value(kRefreshRateHeader);
  if (!rate || rate->empty()) return std::nullopt;
  return GADNumberUtilities::leadingDouble(*rate);
}

void GADObjectPrivate::addReloadInformationFromHeaders() { scheduleReloadTimer(refreshFromHeaders().value_or(reloadSeconds_)); }

void GADObjectPrivate::traceResponse(const GADCachedFile& file) const {
  if (!GADAdTrace::enabled()) return;
  auto refresh = refreshFromHeaders();
  GADAdTrace::write(traceBanner_, "response",
                    {{"status", file.httpStatusCode()},
                     {"url", file.httpDestinationURL().absoluteString()},
                     {"refresh", refresh ? pf::Value(*refresh) : pf::Value()}});
}

void GADObjectPrivate::showAd() {
  auto file = adHTML_;  // the delegate may replace it
  traceResponse(*file);
  const pf::Url baseURL = file->httpDestinationURL();
  const std::optional<std::string> content = file->content();
  const std::string_view text = content ? trimmed(*content, " \t\r\n\f\v") : std::string_view();
  addReloadInformationFromHeaders();
  if (text.empty()) {
    changeState(GADAdStateFailed);
    delegateManager_->didFailToReceiveAdWithError(GADRequestError(kGADErrorNoFill, request_));
    return;
  }
  changeState(GADAdStateRenderingAd);
  webView_->loadHTMLString(std::string(text), baseURL);
}

void GADObjectPrivate::failedAdRequestWithErrorFile(const std::optional<pf::Error>&, GADCachedFile& file) {
  traceResponse(file);
  changeState(GADAdStateFailed);
  const int status = file.httpStatusCode();
  long code = kGADErrorNetworkError;  // below 400: no response, or neither 200 nor 304
  if (status == 400) {
    pf::Log::message("<Diziva> Server rejected ad parameters.  Typically this is because the ad unit ID is incorrect.");
    code = kGADErrorInvalidRequest;
  } else if (status > 400) {
    code = kGADErrorServerError;
  }
  delegateManager_->didFailToReceiveAdWithError(GADRequestError(code, request_));
  if (cancelled_) return;
  addReloadInformationFromHeaders();
}

// ---- trackers ----

void GADObjectPrivate::trackURLs(const std::vector<pf::Url>& urls, const char* traceKind) {
  for (const auto& url : urls) {
    auto tracker = GADClickTracker::create();
    tracker->setDelegate(weak_from_this());
    tracker->setTraceInfo(traceBanner_, traceKind);
    tracker->trackURL(url);
    trackers_.insert(std::move(tracker));
  }
}

void GADObjectPrivate::cleanupTrackers() {
  std::erase_if(trackers_, [](const std::shared_ptr<GADClickTracker>& t) { return t->hasTracked(); });
}

void GADObjectPrivate::trackerDidFailWithError(GADClickTracker&, const std::optional<pf::Error>&) {
  // The tracker is still running its callback: let it go on the next pass.
  pf::RunLoop::main().performAfter(this, 0.0, [weak = weak_from_this()] {
    if (auto self = weak.lock()) self->cleanupTrackers();
  });
}

void GADObjectPrivate::trackerDidRedirect(GADClickTracker&, const pf::Url&) {
  pf::RunLoop::main().performAfter(this, 0.0, [weak = weak_from_this()] {
    if (auto self = weak.lock()) self->cleanupTrackers();
  });
}
