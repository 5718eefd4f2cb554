#pragma once
// GADObjectPrivate: the engine behind one banner. It keeps the banner's private copy of the
// request and drives it through the states below: it makes sure the ad core script is cached
// (at most a day old), has the script build the ad URL in a hidden web view, fetches the ad
// with its "X-Vize-" headers, puts the HTML into the banner's web view, tracks impressions
// and clicks, and loads the same request again on the server's refresh interval.
//
//   auto ad = GADObjectPrivate::createWithView(banner);   // the banner's registry entry owns it
//   ad->setAdUnitID("a15c0f3e82d9b47");
//   ad->setRootViewController(page);
//   ad->loadRequest(GADRequest::request());              // 3 → (1) → 3 → 4 → 5 → 6
//
// Refresh pauses while the application is in the background or any banner shows
// full-screen content; a response that completes meanwhile records its interval but arms
// nothing, and coming back arms a full interval. A failed request ends in state 7 and, when
// an interval is known, still refreshes. Everything it does goes to the ad trace.
//
// The banner calls cancelPendingActions() before it lets go; no delegate callback and no
// delayed call happens afterwards. Main thread only.
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/base/Timer.h"
#include "platform/base/Url.h"
#include "platform/base/Value.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "sdk/delegate/GADDelegateManager.h"
#include "sdk/network/GADCachedFile.h"
#include "sdk/network/GADCachedFileDelegate.h"
#include "sdk/network/GADClickTracker.h"
#include "sdk/network/GADClickTrackerDelegate.h"
#include "sdk/request/GADRequestPrivate.h"

class GADBannerView;
class GADBannerWebViewDelegate;
class GADWebView;
class GADWebViewDelegate;

enum GADAdState : int {
  GADAdStateIdle = 0,            // created, nothing requested yet
  GADAdStateFetchingScript = 1,  // the ad core script is being fetched or revalidated
  GADAdStateScriptFailed = 2,    // the script fetch failed
  GADAdStateBuildingURL = 3,     // request accepted; the script is building the ad URL
  GADAdStateLoadingAd = 4,       // the ad response is being fetched
  GADAdStateRenderingAd = 5,     // the ad HTML is loading into the banner's web view
  GADAdStateShown = 6,           // the ad is shown
  GADAdStateFailed = 7,          // the request ended in a reported failure
};

// The ad core script's path on its host, and how long a fetched copy is used unrevalidated.
inline constexpr char kGADAdCoreScriptPath[] = "/vize/sdk-core-v40.js";
inline constexpr double kGADAdCoreScriptLifetime = 86400.0;
// The script's entry point in the build page.
inline constexpr char kGADBuildAdURLFunction[] = "VIZE_buildAdURL";

class GADObjectPrivate : public GADCachedFileDelegate,
                         public GADClickTrackerDelegate,
                         public std::enable_shared_from_this<GADObjectPrivate> {
 public:
  // An ad object whose web view has `frame` (and no banner).
  static std::shared_ptr<GADObjectPrivate> createWithFrame(const pf::Rect& frame);
  // The banner's ad object: its web view fills the banner's bounds and is its subview.
  static std::shared_ptr<GADObjectPrivate> createWithView(const std::shared_ptr<GADBannerView>& view);
  ~GADObjectPrivate() override;

  // ---- properties ----
  std::shared_ptr<GADBannerView> adView() const { return adView_.lock(); }
  const std::string& adUnitID() const { return adUnitID_; }
  void setAdUnitID(std::string id) { adUnitID_ = std::move(id); }
  const std::shared_ptr<GADDelegateManager>& delegateManager() const { return delegateManager_; }
  std::shared_ptr<pf::ViewController> rootViewController() const { return rootViewController_.lock(); }
  void setRootViewController(std::weak_ptr<pf::ViewController> vc) { rootViewController_ = std::move(vc); }
  const std::shared_ptr<GADWebView>& webView() const { return webView_; }
  const std::shared_ptr<GADCachedFile>& adHTML() const { return adHTML_; }
  const std::shared_ptr<GADRequestPrivate>& request() const { return request_; }
  int state() const { return state_; }
  double timeLastLoaded() const { return timeLastLoaded_; }
  bool hasAutoRefreshed() const { return hasAutoRefreshed_; }
  int supportedOrientations() const { return supportedOrientations_; }
  std::vector<pf::Url> pendingTrackingURLs() const { return pendingTrackingURLs_.value_or(std::vector<pf::Url>{}); }
  std::vector<pf::Url> pendingClickURLs() const { return pendingClickURLs_.value_or(std::vector<pf::Url>{}); }
  const std::set<std::shared_ptr<GADClickTracker>>& pendingTrackers() const { return trackers_; }
  // The hidden build page's web view, while an ad URL is being built.
  const std::shared_ptr<pf::WebView>& buildAdWebView() const { return buildAdWebView_; }
  // The number the ad trace gives this banner.
  int traceBanner() const { return traceBanner_; }
  // The banner has let go (cancelPendingActions): nothing more is delivered.
  bool isCancelled() const { return cancelled_; }
  // Refresh: the interval last known, and whether a timer is armed (when it fires).
  double reloadSeconds() const { return reloadSeconds_; }
  std::optional<double> reloadFireTime() const { return reloadTimer_.fireTime(); }
  bool isRefreshPaused() const { return backgrounded_ || fullScreenCount_ > 0; }

  // ---- requests ----
  void loadRequest(const std::shared_ptr<GADRequest>& request);
  void loadInterstitialRequest(const std::shared_ptr<GADRequest>& request);
  // None gives a new request; any request is its private form.
  static std::shared_ptr<GADRequestPrivate> privateRequestWithRequest(const std::shared_ptr<GADRequest>& request);
  void loadPrivateRequestAutoRefresh(const std::shared_ptr<GADRequestPrivate>& request, bool autoRefresh);
  // States 1, 3, 4 and 5.
  bool isMakingRequest() const;
  // False only when the application is not active after its launch.
  static bool isAppActive();
  bool supportsMinimumRequirementsForRequest(const std::shared_ptr<GADRequestPrivate>& request);
  void cancelPendingActions();

  // ---- the script and the ad URL ----
  static std::optional<pf::Url> jsBuildAdURL();
  // The build page's base URL: the ad server, "http", no path.
  static std::optional<pf::Url> adServerBaseURL();
  void ensureSupportFiles();
  void buildAdUrl();
  void addAdditionalParameters(pf::Value& parameters) const;
  void setupBuildAdWebView();
  void resetBuildAdWebView();
  void failedToDownloadJavaScriptWithError(const std::optional<pf::Error>& error);
  // The script's answers (the message's parameters).
  void loadAdURL(const pf::Value& userInfo);
  void invalidRequest(const pf::Value& userInfo);
  void unableToServe(const pf::Value& userInfo);

  // ---- GADCachedFileDelegate (the script file and the ad file) ----
  void cachedFileDownloadDidEnd(GADCachedFile& file) override;
  void cachedFileDownloadDidFail(GADCachedFile& file, const std::optional<pf::Error>& error) override;
  std::optional<pf::Error> cachedFileShouldRedirectToURL(GADCachedFile& file, const pf::Url& url) override;

  // ---- refresh ----
  void scheduleReloadTimer(double seconds);
  void resetReloadTimer();
  void activateReloadTimer();
  void deactivateReloadTimer();
  void reloadCurrentRequest();
  void addReloadInformationFromHeaders();
  void appDidForeground();
  void appDidBackground();
  void adWillPresentFullScreen();
  void adDidRelinquishFullScreen();

  void changeState(int state);

  // ---- the ad response and tracking ----
  void loadHTMLFromURL(const pf::Url& url);
  void setAdHTML(std::shared_ptr<GADCachedFile> file);
  void processHTTPHeaders(GADCachedFile& file);
  // `array` with the URLs of a blank-separated header appended; none stays none when the
  // header gives no URL.
  static std::optional<std::vector<pf::Url>> createOrReuseArrayOfURLsFromHeader(
      std::optional<std::vector<pf::Url>> array, const std::optional<std::string>& header);
  void showAd();
  void failedAdRequestWithErrorFile(const std::optional<pf::Error>& error, GADCachedFile& file);
  // Pings each URL with a tracker of its own; `traceKind` names them in the ad trace.
  void trackURLs(const std::vector<pf::Url>& urls, const char* traceKind = "click");
  void cleanupTrackers();
  void trackerDidFailWithError(GADClickTracker& tracker, const std::optional<pf::Error>& error) override;
  void trackerDidRedirect(GADClickTracker& tracker, const pf::Url& url) override;

  // ---- class ----
  // The first ad object watches for the end of the launch.
  static void initializeClass();
  static bool didAppFinishLaunching();
  // Forgets the launch flag and the script's expiry store (between tests).
  static void resetClassForTesting();

 private:
  explicit GADObjectPrivate(const pf::Rect& frame);
  void finishCreation();
  // A request that ended in a reported failure: state 7, the error, then refresh when an
  // interval is known. Used where the script refused to build the URL.
  void failRequest(long code);
  std::optional<double> refreshFromHeaders() const;
  void traceResponse(const GADCachedFile& file) const;

  std::weak_ptr<GADBannerView> adView_;  // not retained
  std::string adUnitID_;
  std::shared_ptr<GADDelegateManager> delegateManager_;
  std::weak_ptr<pf::ViewController> rootViewController_;  // not retained
  std::shared_ptr<GADWebView> webView_;
  std::shared_ptr<pf::WebView> buildAdWebView_;
  std::shared_ptr<GADBannerWebViewDelegate> webViewDelegate_;
  std::shared_ptr<GADWebViewDelegate> buildAdWebViewDelegate_;
  std::shared_ptr<GADCachedFile> buildAdJS_;
  std::optional<std::string> scriptText_;  // the script as just read and found usable
  bool scriptFetchPending_ = false;        // a fetch of the script is under way
  std::shared_ptr<GADCachedFile> adHTML_;
  std::shared_ptr<GADRequestPrivate> request_;
  int state_ = GADAdStateIdle;
  double timeLastLoaded_ = 0;
  std::set<std::shared_ptr<GADClickTracker>> trackers_;
  std::optional<std::vector<pf::Url>> pendingTrackingURLs_;
  std::optional<std::vector<pf::Url>> pendingClickURLs_;
  pf::Timer reloadTimer_;
  double reloadSeconds_ = 0;
  bool hasAutoRefreshed_ = false;
  int supportedOrientations_ = 1;
  bool backgrounded_ = false;
  int fullScreenCount_ = 0;  // full-screen presentations (by any banner) not yet relinquished
  bool cancelled_ = false;
  int traceBanner_ = 0;
};
