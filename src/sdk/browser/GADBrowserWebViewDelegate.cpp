#include "sdk/browser/GADBrowserWebViewDelegate.h"

#include <algorithm>
#include <cctype>

#include "sdk/browser/GADBrowserController.h"
#include "sdk/statistics/GADStatistics.h"

std::shared_ptr<GADBrowserWebViewDelegate> GADBrowserWebViewDelegate::createWithBrowserController(
    const std::shared_ptr<GADBrowserController>& browser) {
  auto d = std::shared_ptr<GADBrowserWebViewDelegate>(new GADBrowserWebViewDelegate());
  d->browserController_ = browser;
  return d;
}

void GADBrowserWebViewDelegate::refresh() {
  if (auto browser = browserController_.lock()) browser->refreshToolbar();
}

bool GADBrowserWebViewDelegate::webViewShouldStartLoadWithRequest(const std::shared_ptr<pf::WebView>& view,
                                                                  const pf::URLRequest& request,
                                                                  pf::WebViewNavigationType type) {
  if (type == pf::WebViewNavigationType::LinkClicked || type == pf::WebViewNavigationType::FormSubmitted) {
    std::string scheme = request.url().scheme();
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    auto stats = GADStatistics::sharedStatistics();
    if (scheme == "http") stats->incrementPageNavigationCount();
    if (scheme == "https") stats->incrementSSLPageNavigationCount();
  }
  return GADWebViewDelegate::webViewShouldStartLoadWithRequest(view, request, type);
}

void GADBrowserWebViewDelegate::webViewDidStartLoad(const std::shared_ptr<pf::WebView>& view) {
  auto stats = GADStatistics::sharedStatistics();
  if (!stats->timingNamed(kGADParameterPriorLandingPageLoad)) stats->startTimingNamed(kGADParameterPriorLandingPageLoad);
  GADWebViewDelegate::webViewDidStartLoad(view);
  refresh();
}

void GADBrowserWebViewDelegate::webViewDidFinishLoad(const std::shared_ptr<pf::WebView>& view) {
  auto stats = GADStatistics::sharedStatistics();
  if (!stats->timingNamed(kGADParameterPriorLandingPageDuration)) {
    stats->endTimingNamed(kGADParameterPriorLandingPageLoad);
    stats->startTimingNamed(kGADParameterPriorLandingPageDuration);
  }
  GADWebViewDelegate::webViewDidFinishLoad(view);
  refresh();
}

void GADBrowserWebViewDelegate::webViewDidFailLoadWithError(const std::shared_ptr<pf::WebView>& view,
                                                            const pf::Error& error) {
  GADWebViewDelegate::webViewDidFailLoadWithError(view, error);
  refresh();
}
