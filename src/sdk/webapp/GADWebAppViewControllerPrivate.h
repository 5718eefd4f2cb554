#pragma once
// GADWebAppViewControllerPrivate: the web-app overlay's state — what waits to be loaded until
// the screen is built, the page area and its delegate, the close button and the spinner shown
// until the first page has loaded. Going away, it hands the page area to its delegate, which
// keeps it two seconds more (a page closing itself finishes what it was doing).
#include <memory>
#include <optional>
#include <string>

#include "platform/base/Url.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "sdk/view/GADWebView.h"
#include "sdk/viewcontroller/GADViewControllerPrivate.h"
#include "sdk/webapp/GADWebAppWebViewDelegate.h"

class GADObjectPrivate;

class GADWebAppViewControllerPrivate : public GADViewControllerPrivate {
 public:
  ~GADWebAppViewControllerPrivate() override {
    if (webViewDelegate_) webViewDelegate_->releaseWithWebView(std::move(webView_));
  }

  std::optional<pf::Url> urlToLoad_;
  std::optional<std::string> htmlToLoad_;
  std::optional<pf::Url> htmlBaseURLToLoad_;
  std::shared_ptr<GADWebAppWebViewDelegate> webViewDelegate_;
  std::shared_ptr<GADWebView> webView_;
  std::shared_ptr<pf::Button> closeButton_;
  std::shared_ptr<pf::ActivityIndicatorView> loadingSpinner_;
  std::shared_ptr<GADObjectPrivate> adController_;
};
