#pragma once
// GADWebAppWebViewDelegate: the delegate of the web-app overlay's page. On top of the base
// delegate it removes the loading spinner once the first page has loaded, tells the page
// "onshow" once — at the appearance when the page is idle then, else at the next finished
// load — and keeps the landing-page timings. When the overlay goes it takes over the page
// area for two seconds, then blanks and releases it.
#include <memory>

#include "sdk/view/GADWebView.h"
#include "sdk/view/GADWebViewDelegate.h"

class GADWebAppViewControllerPrivate;

class GADWebAppWebViewDelegate : public GADWebViewDelegate {
 public:
  static constexpr double kPageReleaseDelay = 2.0;

  static std::shared_ptr<GADWebAppWebViewDelegate> createWithWebAppPrivate(
      const std::shared_ptr<GADWebAppViewControllerPrivate>& overlay);

  bool pendingOnShow() const { return pendingOnShow_; }
  // The overlay appeared; "onshow" goes now unless its page is loading.
  void setPendingOnShow(bool pending);
  void postOnShowEvent();

  void loadedFirstPage(const std::shared_ptr<pf::WebView>& view) override;
  void webViewDidStartLoad(const std::shared_ptr<pf::WebView>& view) override;
  void webViewDidFinishLoad(const std::shared_ptr<pf::WebView>& view) override;

  // The overlay is going: the page area stays with us for two seconds, then shows nothing
  // and goes.
  void releaseWithWebView(std::shared_ptr<GADWebView> page);

 private:
  GADWebAppWebViewDelegate() = default;
  void delayedRelease(const std::shared_ptr<GADWebView>& page);

  std::weak_ptr<GADWebAppViewControllerPrivate> webAppPrivate_;  // the overlay owns us
  bool pendingOnShow_ = false;
  bool calledOnShow_ = false;
};
