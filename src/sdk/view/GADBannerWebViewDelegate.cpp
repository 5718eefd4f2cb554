#include "sdk/view/GADBannerWebViewDelegate.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/base/Log.h"
#include "sdk/notification/GADNotification.h"
#include "sdk/object/GADObjectPrivate.h"
#include "sdk/utility/GADAdTrace.h"
#include "sdk/request/GADRequestError.h"
#include "sdk/statistics/GADStatistics.h"
#include "sdk/timing/GADTiming.h"
#include "sdk/view/GADWebView.h"

std::shared_ptr<GADBannerWebViewDelegate> GADBannerWebViewDelegate::createWithObjectPrivate(
    const std::shared_ptr<GADObjectPrivate>& ad) {
  auto d = std::shared_ptr<GADBannerWebViewDelegate>(new GADBannerWebViewDelegate());
  d->private_ = ad;
  if (auto web = ad->webView()) web->setDelegate(d);  // held weakly: nothing reaches us once gone
  d->opener()->setAdController(ad);
  return d;
}

bool GADBannerWebViewDelegate::userActedOnAd() const {
  auto ad = private_.lock();
  if (!ad || ad->state() != GADAdStateShown) return false;
  const double elapsed = GADTiming::counter() - ad->timeLastLoaded();
  if (!(elapsed >= kMinimumSecondsBeforeClick)) return false;  // NaN compares false too
  auto web = ad->webView();
  return web && web->touched();
}

bool GADBannerWebViewDelegate::isClick(pf::WebViewNavigationType type) const {
  if (type == pf::WebViewNavigationType::BackForward || type == pf::WebViewNavigationType::Reload) return false;
  return userActedOnAd();
}

bool GADBannerWebViewDelegate::leavesTheBanner(const pf::Url& url) {
  if (GADNotification::isNotificationURL(url)) {
    auto message = GADNotification::notificationFromURL(url);
    return message && message->name() == "open";
  }
  std::string scheme = url.scheme();
  std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
  return !(scheme == "http" || scheme == "https" || scheme == "about" || scheme == "file");
}

void GADBannerWebViewDelegate::refuse(const GADObjectPrivate& ad, const pf::Url& url) {
  if (GADAdTrace::enabled()) GADAdTrace::write(ad.traceBanner(), "refused", {{"url", url.absoluteString()}});
  if (refusalLoggedFor_.lock() == ad.adHTML() && ad.adHTML()) return;
  refusalLoggedFor_ = ad.adHTML();
  pf::Log::message("<Diziva> The ad tried to take the user away without a tap; refused: " + url.absoluteString());
}

bool GADBannerWebViewDelegate::webViewShouldStartLoadWithRequest(const std::shared_ptr<pf::WebView>& view,
                                                                 const pf::URLRequest& request,
                                                                 pf::WebViewNavigationType type) {
  auto ad = private_.lock();
  if (!ad) return GADWebViewDelegate::webViewShouldStartLoadWithRequest(view, request, type);
  setViewController(ad->rootViewController());
  opener()->setDelegateManager(ad->delegateManager());
  opener()->setViewController(ad->rootViewController());

  if (!isClick(type)) {
    if (!userActedOnAd() && leavesTheBanner(request.url())) {
      refuse(*ad, request.url());
      return false;
    }
    return GADWebViewDelegate::webViewShouldStartLoadWithRequest(view, request, type);
  }

  const pf::Url clickURL = GADStatistics::sharedStatistics()->urlForClick(request.url());
  if (!GADWebViewDelegate::webViewShouldStartLoadWithRequest(view, request, type)) return false;
  // An "about", "http" or "https" destination: never inside the banner, full screen instead.
  if (view && view->request()) opener()->setReferringURL(view->request()->url());
  std::string scheme = clickURL.scheme();
  std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
  if (scheme.rfind("http", 0) == 0) {
    auto opener = this->opener();  // the opening may end with this delegate
    if (!ad->pendingClickURLs().empty())
      opener->openWebAppSupportedOrientations(clickURL, ad->supportedOrientations());
    else
      opener->openBrowserToURLSupportedOrientations(clickURL, ad->supportedOrientations());
  }
  return false;
}

void GADBannerWebViewDelegate::webViewDidFinishLoad(const std::shared_ptr<pf::WebView>& view) {
  GADWebViewDelegate::webViewDidFinishLoad(view);
  auto ad = private_.lock();
  if (!ad || ad->state() != GADAdStateRenderingAd) return;
  ad->changeState(GADAdStateShown);
  auto web = ad->webView();
  if (web) {
    web->setHidden(false);
    if (auto scroller = web->scrollView()) scroller->setScrollsToTop(false);
  }
  ad->delegateManager()->didReceiveAd();
  if (ad->isCancelled()) return;  // the publisher let the banner go in its callback
  ad->trackURLs(ad->pendingTrackingURLs(), "impression");
  auto stats = GADStatistics::sharedStatistics();
  stats->endTimingNamed(kGADParameterPriorRequestLatency);
  stats->startTimingNamed(kGADParameterPriorPreClickLatency);
}

void GADBannerWebViewDelegate::webViewDidFailLoadWithError(const std::shared_ptr<pf::WebView>& view,
                                                           const pf::Error& error) {
  GADWebViewDelegate::webViewDidFailLoadWithError(view, error);
  auto ad = private_.lock();
  if (!ad || ad->state() == GADAdStateShown) return;
  ad->changeState(GADAdStateFailed);
  ad->delegateManager()->didFailToReceiveAdWithError(GADRequestError(kGADErrorNetworkError, ad->request()));
}
