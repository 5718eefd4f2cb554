#pragma once
// GADBrowserControllerPrivate: the in-app browser's state — the URL waiting for the screen to
// be built, and the page area, its delegate and the toolbar with its items.
#include <memory>
#include <optional>

#include "platform/base/Url.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Toolbar.h"
#include "sdk/view/GADWebView.h"
#include "sdk/view/GADWebViewDelegate.h"
#include "sdk/viewcontroller/GADViewControllerPrivate.h"

class GADBrowserControllerPrivate : public GADViewControllerPrivate {
 public:
  // The page goes first: the view lets go of its delegate, then shows nothing.
  ~GADBrowserControllerPrivate() override {
    if (webView_) webView_->setDelegate({});
    webViewDelegate_.reset();
    if (webView_) webView_->loadHTMLString("", std::nullopt);
  }

  std::optional<pf::Url> urlToLoad_;
  std::optional<pf::Url> referringURLToLoad_;
  std::shared_ptr<GADWebViewDelegate> webViewDelegate_;
  std::shared_ptr<GADWebView> webView_;
  std::shared_ptr<pf::Toolbar> toolbar_;
  std::shared_ptr<pf::BarButtonItem> flexibleSpaceButton_;
  std::shared_ptr<pf::BarButtonItem> backButton_;
  std::shared_ptr<pf::BarButtonItem> forwardButton_;
  std::shared_ptr<pf::BarButtonItem> reloadButton_;
  std::shared_ptr<pf::BarButtonItem> safariButton_;
  std::shared_ptr<pf::BarButtonItem> doneButton_;
  std::shared_ptr<pf::BarButtonItem> spinnerContainingButton_;
  std::shared_ptr<pf::ActivityIndicatorView> spinner_;
};
