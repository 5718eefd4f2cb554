#pragma once
// MoreViewController: the tab with the more page ("/more.html") and its banner.
#include <memory>

#include "app/AshenmoorPageController.h"

class MoreViewController : public AshenmoorPageController {
 public:
  static std::shared_ptr<MoreViewController> create() {
    auto page = std::shared_ptr<MoreViewController>(new MoreViewController());
    registerLive(page);  // memory warnings reach it
    return page;
  }

  const std::shared_ptr<pf::WebView>& moreView() const { return moreView_; }
  void setMoreView(std::shared_ptr<pf::WebView> view) { moreView_ = std::move(view); }  // outlet
  const std::shared_ptr<GADBannerView>& banner() const { return bannerView2_; }

 protected:
  std::shared_ptr<pf::WebView> pageWebView() const override { return moreView_; }
  std::shared_ptr<GADBannerView>& bannerField() override { return bannerView2_; }

 private:
  MoreViewController() : AshenmoorPageController("/more.html") {}

  std::shared_ptr<pf::WebView> moreView_;
  std::shared_ptr<GADBannerView> bannerView2_;  // owned by the page
};
