// The ad object's lifecycle: accepting a request, the ad core script, building the ad URL,
// the refresh timer and the states. The response half is in GADObjectPrivateResponse.cpp.
#include "sdk/object/GADObjectPrivate.h"

#include <utility>

#include "platform/base/Clock.h"
#include "platform/base/Log.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "sdk/identifier/GADIdentifierUtilities.h"
#include "sdk/notification/GADNotificationCenter.h"
#include "sdk/signals/GADSignals.h"
#include "sdk/statistics/GADStatistics.h"
#include "sdk/statistics/GADStatisticsCore.h"
#include "sdk/timing/GADTiming.h"
#include "sdk/utility/GADAdTrace.h"
#include "sdk/utility/GADConfiguration.h"
#include "sdk/utility/GADMacros.h"
#include "sdk/utility/GADNetworkUtilities.h"
#include "sdk/view/GADBannerView.h"
#include "sdk/view/GADBannerWebViewDelegate.h"
#include "sdk/view/GADWebView.h"
#include "sdk/view/GADWebViewDelegate.h"
#include "sdk/viewcontroller/GADViewController.h"

namespace {

bool appFinishedLaunching = false;
bool classInitialised = false;
const char* const kLaunchObserver = "GADObjectPrivate.launch";

// The script's expiry date, shared by every banner of the process.
std::shared_ptr<GADStatisticsCore>& scriptStoreSlot() {
  static std::shared_ptr<GADStatisticsCore> store;
  return store;
}
GADStatisticsCore& scriptStore() {
  auto& slot = scriptStoreSlot();
  if (!slot) slot = GADStatisticsCore::create("GADObjectPrivate");
  return *slot;
}
constexpr char kExpireDateKey[] = "expireDate";

}  // namespace

// ---- class ----

void GADObjectPrivate::initializeClass() {
  if (classInitialised) return;
  classInitialised = true;
  auto& center = pf::NotificationCenter::defaultCenter();
  center.addObserver(kLaunchObserver, pf::UIApplicationDidFinishLaunchingNotification, nullptr,
                     [](const pf::Notification&) {
                       appFinishedLaunching = true;
                       pf::NotificationCenter::defaultCenter().removeObserver(kLaunchObserver);
                     });
}

bool GADObjectPrivate::didAppFinishLaunching() { return appFinishedLaunching; }

void GADObjectPrivate::resetClassForTesting() {
  pf::NotificationCenter::defaultCenter().removeObserver(kLaunchObserver);
  appFinishedLaunching = false;
  classInitialised = false;
  scriptStoreSlot().reset();
}

// ---- creation and destruction ----

std::shared_ptr<GADObjectPrivate> GADObjectPrivate::createWithFrame(const pf::Rect& frame) {
  initializeClass();
  auto ad = std::shared_ptr<GADObjectPrivate>(new GADObjectPrivate(frame));
  ad->finishCreation();
  return ad;
}

std::shared_ptr<GADObjectPrivate> GADObjectPrivate::createWithView(const std::shared_ptr<GADBannerView>& view) {
  auto ad = createWithFrame(view ? view->bounds() : pf::Rect());
  ad->adView_ = view;
  if (view) view->addSubview(ad->webView_);
  return ad;
}

GADObjectPrivate::GADObjectPrivate(const pf::Rect& frame)
    : delegateManager_(GADDelegateManager::create()),
      webView_(GADWebView::create(frame)),
      traceBanner_(GADAdTrace::nextBannerNumber()) {
  delegateManager_->setTraceBanner(traceBanner_);
  webView_->setScalesPageToFit(false);
  if (pf::Device::offers(pf::Capability::MediaPlaybackRequiresUserAction))
    webView_->setMediaPlaybackRequiresUserAction(true);
  webView_->setHidden(true);
}

void GADObjectPrivate::finishCreation() {
  webViewDelegate_ = GADBannerWebViewDelegate::createWithObjectPrivate(shared_from_this());
  webViewDelegate_->setTraceBanner(traceBanner_);
  // Pages opened from this banner have it as their opener ("evalInOpener" has a target).
  webViewDelegate_->setOpeningWebView(webView_);
  webViewDelegate_->opener()->setOpeningWebView(webView_);

  auto& center = pf::NotificationCenter::defaultCenter();
  auto on = [weak = weak_from_this()](void (GADObjectPrivate::*handler)()) {
    return [weak, handler](const pf::Notification&) {
      if (auto self = weak.lock()) ((*self).*handler)();
    };
  };
  if (GADIdentifierUtilities::isOSAtLeastMajorMinorBug(4, 0, 0)) {
    center.addObserver(this, pf::UIApplicationDidEnterBackgroundNotification, nullptr, on(&GADObjectPrivate::appDidBackground));
    center.addObserver(this, pf::UIApplicationWillEnterForegroundNotification, nullptr, on(&GADObjectPrivate::appDidForeground));
  } else {
    center.addObserver(this, pf::UIApplicationWillResignActiveNotification, nullptr, on(&GADObjectPrivate::appDidBackground));
    center.addObserver(this, pf::UIApplicationDidBecomeActiveNotification, nullptr, on(&GADObjectPrivate::appDidForeground));
  }
  // Full-screen content from any banner pauses every banner's refresh.
  center.addObserver(this, GADViewControllerWillPresentFullScreen, nullptr, on(&GADObjectPrivate::adWillPresentFullScreen));
  center.addObserver(this, GADViewControllerDidRelinquishFullScreen, nullptr,
                     on(&GADObjectPrivate::adDidRelinquishFullScreen));
}

GADObjectPrivate::~GADObjectPrivate() {
  pf::NotificationCenter::defaultCenter().removeObserver(this);
  pf::RunLoop::main().cancelPendingCalls(this);
  if (webView_) {
    webView_->setDelegate({});
    webView_->loadHTMLString("", std::nullopt);  // stops the ad page (its media, its timers)
    webView_.reset();
  }
  webViewDelegate_.reset();
  resetBuildAdWebView();
  if (buildAdJS_) {
    buildAdJS_->setDelegate({});
    buildAdJS_.reset();
  }
  setAdHTML(nullptr);  // deletes the ad's cache file
  request_.reset();
  delegateManager_.reset();
  for (const auto& tracker : trackers_) tracker->reset();
  trackers_.clear();
}

void GADObjectPrivate::cancelPendingActions() {
  cancelled_ = true;
  pf::RunLoop::main().cancelPendingCalls(this);
  resetReloadTimer();
}

// ---- state ----

void GADObjectPrivate::changeState(int state) {
  if (state == state_) return;
  state_ = state;
  if (state == GADAdStateShown) {
    webView_->setTouched(false);
    timeLastLoaded_ = GADTiming::counter();
  }
  if (GADAdTrace::enabled()) GADAdTrace::write(traceBanner_, "state", {{"state", state}});
}

bool GADObjectPrivate::isMakingRequest() const {
  return !(state_ == GADAdStateIdle || state_ == GADAdStateScriptFailed || state_ == GADAdStateShown ||
           state_ == GADAdStateFailed);
}

bool GADObjectPrivate::isAppActive() {
  if (pf::Device::offers(pf::Capability::ApplicationState) &&
      pf::Application::sharedApplication()->applicationState() != pf::ApplicationState::Active)
    return !appFinishedLaunching;  // requests made while launching go ahead
  return true;
}

bool GADObjectPrivate::supportsMinimumRequirementsForRequest(const std::shared_ptr<GADRequestPrivate>& request) {
  if (GADRequestPrivate::deviceAtLeastMinimumOSMajorVersionMinorVersion(3, 0)) return true;
  delegateManager_->didFailToReceiveAdWithError(GADRequestError(kGADErrorOSVersionTooLow, request));
  changeState(GADAdStateFailed);
  return false;
}

// ---- requests ----

std::shared_ptr<GADRequestPrivate> GADObjectPrivate::privateRequestWithRequest(const std::shared_ptr<GADRequest>& request) {
  if (!request) return GADRequestPrivate::create();
  return std::static_pointer_cast<GADRequestPrivate>(request);  // every request is its private form
}

void GADObjectPrivate::loadRequest(const std::shared_ptr<GADRequest>& request) {
  loadPrivateRequestAutoRefresh(privateRequestWithRequest(request), false);
}

void GADObjectPrivate::loadInterstitialRequest(const std::shared_ptr<GADRequest>& request) {
  auto privateRequest = privateRequestWithRequest(request);
  privateRequest->setInterstitialAd(true);
  loadPrivateRequestAutoRefresh(privateRequest, false);
}

void GADObjectPrivate::loadPrivateRequestAutoRefresh(const std::shared_ptr<GADRequestPrivate>& request,
                                                      bool autoRefresh) {
  if (cancelled_ || isMakingRequest() || !isAppActive()) return;
  if (!supportsMinimumRequirementsForRequest(request)) return;
  // An accepted automatic refresh is what hasAutoRefreshed reports; a publisher's load clears it.
  hasAutoRefreshed_ = autoRefresh;
  if (request != request_) request_ = request ? GADRequestPrivate::createWithRequest(*request) : GADRequestPrivate::create();

  auto stats = GADStatistics::sharedStatistics();
  if (!stats->timingNamed(kGADParameterTimeSinceFirstRequest)) stats->startTimingNamed(kGADParameterTimeSinceFirstRequest);
  request_->setCounter(static_cast<int32_t>(stats->incrementAdRequestCount()));

  changeState(GADAdStateBuildingURL);
  ensureSupportFiles();
}

// ---- the ad core script ----

std::optional<pf::Url> GADObjectPrivate::jsBuildAdURL() {
  return pf::Url::parse("http://" + GADConfiguration::scriptHost() + kGADAdCoreScriptPath);
}

std::optional<pf::Url> GADObjectPrivate::adServerBaseURL() {
  return pf::Url::parse("http://" + GADConfiguration::adHost());
}

void GADObjectPrivate::ensureSupportFiles() {
  if (!buildAdJS_) {
    auto url = jsBuildAdURL();
    if (!url) {  // a host setting that makes no URL: as if the script could not be fetched
      pf::Log::message("<Diziva> ASHENMOOR_SCRIPT_HOST does not make a URL: " + GADConfiguration::scriptHost());
      failedToDownloadJavaScriptWithError(std::nullopt);
      return;
    }
    changeState(GADAdStateFetchingScript);
    buildAdJS_ = GADCachedFile::create(weak_from_this(), *url);
  }
  auto& store = scriptStore();
  const pf::Value expires = store.dateForKey(kExpireDateKey);
  if (expires.isDate() && *expires.asDate() >= pf::Clock::now()) {
    if (auto script = buildAdJS_->content(); script && !script->empty()) {
      if (GADAdTrace::enabled()) GADAdTrace::write(traceBanner_, "script", {{"outcome", "cached"}});
      scriptText_ = std::move(*script);  // read once per load: the build step takes it from here
      cachedFileDownloadDidEnd(*buildAdJS_);
      return;
    }
  }
  store.setDateForKey(pf::Value::date(pf::Clock::now() + kGADAdCoreScriptLifetime), kExpireDateKey);
  store.synchronize();
  changeState(GADAdStateFetchingScript);
  scriptFetchPending_ = true;  // its outcome is traced when it comes
  buildAdJS_->validate();
}

void GADObjectPrivate::failedToDownloadJavaScriptWithError(const std::optional<pf::Error>&) {
  changeState(GADAdStateScriptFailed);
  if (buildAdJS_) {
    if (auto script = buildAdJS_->content(); script && !script->empty()) {
      buildAdUrl();  // the copy we have still builds URLs
      return;
    }
  }
  delegateManager_->didFailToReceiveAdWithError(GADRequestError(kGADErrorNetworkError, nullptr));
}

// ---- building the ad URL ----

void GADObjectPrivate::buildAdUrl() {
  std::optional<std::string> script = std::move(scriptText_);
  scriptText_.reset();
  if (!script) script = buildAdJS_ ? buildAdJS_->content() : std::nullopt;
  if (!script || script->empty()) {
    failedToDownloadJavaScriptWithError(std::nullopt);
    return;
  }
  changeState(GADAdStateBuildingURL);
  pf::Value parameters = request_->parameters();
  addAdditionalParameters(parameters);
  const std::string json = GADMacros::jsonify(parameters).value_or("");
  setupBuildAdWebView();

  std::string page;
  page.reserve(script->size() + json.size() + 96);
  page += "<html><head><script>";
  page += *script;
  page += "</script><script>";
  page += kGADBuildAdURLFunction;
  page += "(";
  page += json;
  page += ");</script></head><body></body></html>";
  buildAdWebView_->loadHTMLString(page, adServerBaseURL());
}

void GADObjectPrivate::addAdditionalParameters(pf::Value& parameters) const {
  if (!adUnitID_.empty()) parameters.set(kGADParameterAdSlotID, adUnitID_);
  if (request_ && request_->isInterstitialAd()) {
    parameters.set(kGADParameterAdFormat, "interstitial_mb");
    return;
  }
  std::shared_ptr<pf::View> view = adView_.lock();
  if (!view) view = webView_;
  auto rect = [](const pf::Rect& r) {
    return pf::Value::dictionary({{"x", pf::Value(r.origin.x)},
                                  {"y", pf::Value(r.origin.y)},
                                  {"w", pf::Value(r.size.width)},
                                  {"h", pf::Value(r.size.height)}});
  };
  parameters.set(kGADParameterAdFrame, rect(view->frame()));
  parameters.set(kGADParameterAdBounds, rect(view->bounds()));
}

void GADObjectPrivate::setupBuildAdWebView() {
  resetBuildAdWebView();
  buildAdWebViewDelegate_ = GADWebViewDelegate::create();
  buildAdWebViewDelegate_->setTraceBanner(traceBanner_);
  buildAdWebView_ = pf::WebView::create(pf::Rect(0, 0, 1, 1));
  buildAdWebView_->setHidden(true);
  buildAdWebView_->setDelegate(buildAdWebViewDelegate_);

  // The script's answer comes from this web view only.
  auto& center = GADNotificationCenter::defaultCenter();
  const pf::WebView* sender = buildAdWebView_.get();
  auto on = [weak = weak_from_this()](void (GADObjectPrivate::*handler)(const pf::Value&)) {
    return [weak, handler](const pf::Notification& n) {
      if (auto self = weak.lock()) ((*self).*handler)(n.userInfo());
    };
  };
  center.addObserver(this, "loadAdURL", sender, on(&GADObjectPrivate::loadAdURL));
  center.addObserver(this, "invalidRequest", sender, on(&GADObjectPrivate::invalidRequest));
  center.addObserver(this, "unableToServe", sender, on(&GADObjectPrivate::unableToServe));
}

void GADObjectPrivate::resetBuildAdWebView() {
  GADNotificationCenter::defaultCenter().removeObserver(this);
  if (buildAdWebView_) {
    buildAdWebView_->setDelegate({});
    buildAdWebView_->stopLoading();
  }
  buildAdWebView_.reset();
  buildAdWebViewDelegate_.reset();
}

void GADObjectPrivate::failRequest(long code) {
  changeState(GADAdStateFailed);
  delegateManager_->didFailToReceiveAdWithError(GADRequestError(code, request_));
  if (cancelled_) return;
  scheduleReloadTimer(reloadSeconds_);  // nothing when no interval is known yet
}

void GADObjectPrivate::loadAdURL(const pf::Value& userInfo) {
  resetBuildAdWebView();
  if (userInfo.contains("errors")) {
    failRequest(kGADErrorInvalidRequest);
    return;
  }
  changeState(GADAdStateLoadingAd);
  std::optional<pf::Url> url = pf::Url::parse(userInfo["url"].stringRef());
  if (!userInfo["url"].isString() || !url || url->absoluteString().empty()) {
    failRequest(kGADErrorNetworkError);  // as a fetch that got no response
    return;
  }
  const std::string& type = userInfo["type"].stringRef();
  gad_gig(GADRequestPrivate::requestTypeFromString(type), GADRequest::sdkVersion());
  if (pf::Value spam = request_->spamSignals(); spam.isDictionary() && spam.size() > 0) {
    if (auto signed_ = GADNetworkUtilities::appendQueryParametersToURL(spam, *url)) url = signed_;
  }
  if (type == "gwhirl") {
    if (auto numbered = GADNetworkUtilities::appendQueryParametersToURL(
            pf::Value::dictionary({{kGADParameterGWhirlSeqNum, "1"}}), *url))
      url = numbered;
  }
  GADStatistics::sharedStatistics()->startTimingNamed(kGADParameterPriorRequestLatency);
  loadHTMLFromURL(*url);
}

void GADObjectPrivate::invalidRequest(const pf::Value& userInfo) {
  resetBuildAdWebView();
  pf::Log::message("<Diziva> Invalid Request: " + userInfo.description());
  failRequest(kGADErrorInvalidRequest);
}

void GADObjectPrivate::unableToServe(const pf::Value& userInfo) {
  resetBuildAdWebView();
  pf::Log::message("<Diziva> Unable to serve: " + userInfo.description());
  failRequest(kGADErrorInvalidRequest);
}

// ---- the cached files ----

void GADObjectPrivate::cachedFileDownloadDidEnd(GADCachedFile& file) {
  if (&file == buildAdJS_.get()) {
    if (std::exchange(scriptFetchPending_, false) && GADAdTrace::enabled())
      GADAdTrace::write(traceBanner_, "script", {{"outcome", std::to_string(file.httpStatusCode())}});
    buildAdUrl();
    return;
  }
  processHTTPHeaders(file);
  showAd();
}

void GADObjectPrivate::cachedFileDownloadDidFail(GADCachedFile& file, const std::optional<pf::Error>& error) {
  if (&file == buildAdJS_.get()) {
    scriptFetchPending_ = false;
    if (GADAdTrace::enabled()) GADAdTrace::write(traceBanner_, "script", {{"outcome", "failed"}});
    failedToDownloadJavaScriptWithError(error);
    return;
  }
  failedAdRequestWithErrorFile(error, file);
}

std::optional<pf::Error> GADObjectPrivate::cachedFileShouldRedirectToURL(GADCachedFile& file, const pf::Url&) {
  processHTTPHeaders(file);  // every redirect's tracking headers count
  return std::nullopt;
}

// ---- refresh ----

void GADObjectPrivate::scheduleReloadTimer(double seconds) {
  resetReloadTimer();
  if (seconds == 0) return;
  reloadSeconds_ = seconds;
  // Paused (background, full screen): the interval is kept for when refresh resumes.
  if (isRefreshPaused()) return;
  reloadTimer_.schedule(seconds, [weak = weak_from_this()] {
    if (auto self = weak.lock()) self->reloadCurrentRequest();
  });
}

void GADObjectPrivate::resetReloadTimer() { reloadTimer_.invalidate(); }

void GADObjectPrivate::activateReloadTimer() { scheduleReloadTimer(reloadSeconds_); }

void GADObjectPrivate::deactivateReloadTimer() { resetReloadTimer(); }

void GADObjectPrivate::reloadCurrentRequest() { loadPrivateRequestAutoRefresh(request_, true); }

void GADObjectPrivate::appDidBackground() {
  backgrounded_ = true;
  deactivateReloadTimer();
}

void GADObjectPrivate::appDidForeground() {
  backgrounded_ = false;
  activateReloadTimer();
}

void GADObjectPrivate::adWillPresentFullScreen() {
  ++fullScreenCount_;
  deactivateReloadTimer();
}

void GADObjectPrivate::adDidRelinquishFullScreen() {
  if (fullScreenCount_ > 0) --fullScreenCount_;
  activateReloadTimer();
}
