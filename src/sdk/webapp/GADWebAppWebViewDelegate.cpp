#include "sdk/webapp/GADWebAppWebViewDelegate.h"

#include "platform/base/RunLoop.h"
#include "sdk/identifier/GADIdentifierUtilities.h"
#include "sdk/notification/GADNotificationCenter.h"
#include "sdk/request/GADRequest.h"
#include "sdk/statistics/GADStatistics.h"
#include "sdk/webapp/GADWebAppViewControllerPrivate.h"

std::shared_ptr<GADWebAppWebViewDelegate> GADWebAppWebViewDelegate::createWithWebAppPrivate(
    const std::shared_ptr<GADWebAppViewControllerPrivate>& overlay) {
  auto d = std::shared_ptr<GADWebAppWebViewDelegate>(new GADWebAppWebViewDelegate());
  d->webAppPrivate_ = overlay;
  return d;
}

void GADWebAppWebViewDelegate::setPendingOnShow(bool pending) {
  pendingOnShow_ = pending;
  auto overlay = webAppPrivate_.lock();
  if (overlay && overlay->webView_ && !overlay->webView_->isLoading()) postOnShowEvent();
}

void GADWebAppWebViewDelegate::postOnShowEvent() {
  if (!pendingOnShow_ || calledOnShow_) return;
  auto overlay = webAppPrivate_.lock();
  if (!overlay || !overlay->webView_) return;
  pf::Value info = pf::Value::dictionary({{"version", GADRequest::sdkVersion()},
                                          {"device", GADIdentifierUtilities::sharedInstance()->deviceSubmodel()}});
  GADNotificationCenter::defaultCenter().postJSNotificationUserInfoWebView("onshow", info, overlay->webView_);
  pendingOnShow_ = false;
  calledOnShow_ = true;
}

void GADWebAppWebViewDelegate::loadedFirstPage(const std::shared_ptr<pf::WebView>&) {
  auto overlay = webAppPrivate_.lock();
  if (!overlay || !overlay->loadingSpinner_) return;
  overlay->loadingSpinner_->removeFromSuperview();
  overlay->loadingSpinner_.reset();
}

void GADWebAppWebViewDelegate::webViewDidStartLoad(const std::shared_ptr<pf::WebView>& view) {
  auto stats = GADStatistics::sharedStatistics();
  if (!stats->timingNamed(kGADParameterPriorLandingPageLoad)) stats->startTimingNamed(kGADParameterPriorLandingPageLoad);
  GADWebViewDelegate::webViewDidStartLoad(view);
}

void GADWebAppWebViewDelegate::webViewDidFinishLoad(const std::shared_ptr<pf::WebView>& view) {
  auto stats = GADStatistics::sharedStatistics();
  if (!stats->timingNamed(kGADParameterPriorLandingPageDuration)) {
    stats->endTimingNamed(kGADParameterPriorLandingPageLoad);
    stats->startTimingNamed(kGADParameterPriorLandingPageDuration);
  }
  GADWebViewDelegate::webViewDidFinishLoad(view);
  postOnShowEvent();
}

void GADWebAppWebViewDelegate::releaseWithWebView(std::shared_ptr<GADWebView> page) {
  setViewController({});
  webAppPrivate_.reset();
  // The call keeps us and the page until it runs.
  auto self = std::static_pointer_cast<GADWebAppWebViewDelegate>(shared_from_this());
  pf::RunLoop::main().performAfter(this, kPageReleaseDelay, [self, page = std::move(page)] { self->delayedRelease(page); });
}

void GADWebAppWebViewDelegate::delayedRelease(const std::shared_ptr<GADWebView>& page) {
  if (page) {
    page->setDelegate({});
    page->loadHTMLString("", std::nullopt);
  }
  pf::RunLoop::main().autorelease(shared_from_this());
}
