#pragma once
// AmrViewController: the tab with the episode guide ("/classiclist.html") and its banner.
#include <memory>

#include "app/AshenmoorPageController.h"

class AmrViewController : public AshenmoorPageController {
 public:
  static std::shared_ptr<AmrViewController> create() {
    auto page = std::shared_ptr<AmrViewController>(new AmrViewController());
    registerLive(page);  // memory warnings reach it
    return page;
  }

  const std::shared_ptr<pf::WebView>& amrView() const { return amrView_; }
  void setAmrView(std::shared_ptr<pf::WebView> view) { amrView_ = std::move(view); }  // outlet
  const std::shared_ptr<GADBannerView>& banner() const { return bannerView_; }

 protected:
  std::shared_ptr<pf::WebView> pageWebView() const override { return amrView_; }
  std::shared_ptr<GADBannerView>& bannerField() override { return bannerView_; }

 private:
  AmrViewController() : AshenmoorPageController("/classiclist.html") {}

  std::shared_ptr<pf::WebView> amrView_;
  std::shared_ptr<GADBannerView> bannerView_;  // owned by the page
};
