#pragma once
// GADBannerViewDelegate: what a publisher hears about one banner. Every callback is optional
// (the defaults do nothing) and arrives on the main thread, with the banner (empty when the
// banner is already gone).
//
//   class PageAds : public GADBannerViewDelegate {
//     void adViewDidReceiveAd(const std::shared_ptr<GADBannerView>&) override { show(); }
//     void adViewDidFailToReceiveAdWithError(const std::shared_ptr<GADBannerView>&,
//                                            const GADRequestError& e) override { log(e); }
//   };
//   banner->setDelegate(pageAds);          // not retained: keep it alive yourself
//
// A delegate may destroy the banner inside any callback; nothing reaches it afterwards.
#include <memory>

#include "sdk/request/GADRequestError.h"

class GADBannerView;

class GADBannerViewDelegate {
 public:
  virtual ~GADBannerViewDelegate() = default;

  // An ad finished loading and is shown.
  virtual void adViewDidReceiveAd(const std::shared_ptr<GADBannerView>& /*view*/) {}
  // A request failed; the error says why (GADErrorCode).
  virtual void adViewDidFailToReceiveAdWithError(const std::shared_ptr<GADBannerView>& /*view*/,
                                                 const GADRequestError& /*error*/) {}
  // A click is about to cover the screen (in-app browser, overlay, mail form).
  virtual void adViewWillPresentScreen(const std::shared_ptr<GADBannerView>& /*view*/) {}
  virtual void adViewWillDismissScreen(const std::shared_ptr<GADBannerView>& /*view*/) {}
  virtual void adViewDidDismissScreen(const std::shared_ptr<GADBannerView>& /*view*/) {}
  // A click is about to hand over to another application.
  virtual void adViewWillLeaveApplication(const std::shared_ptr<GADBannerView>& /*view*/) {}
};
