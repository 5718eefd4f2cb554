#pragma once
/// @file
/// GADBannerViewDelegate: what a publisher hears about one banner.
#include <memory>

#include "sdk/request/GADRequestError.h"

class GADBannerView;

/// What a publisher hears about one banner. Every callback is optional (the defaults do
/// nothing) and arrives on the main thread, with the banner (empty when the banner is already
/// gone). The names in the ad trace are the callbacks' names in the ad layer's documentation
/// ("adViewDidReceiveAd:", …).
///
/// @code
/// class PageAds : public GADBannerViewDelegate {
///   void adViewDidReceiveAd(const std::shared_ptr<GADBannerView>&) override { show(); }
///   void adViewDidFailToReceiveAdWithError(const std::shared_ptr<GADBannerView>&,
///                                          const GADRequestError& e) override { log(e); }
/// };
/// banner->setDelegate(pageAds);          // not retained: keep it alive yourself
/// @endcode
///
/// A delegate may destroy the banner inside any callback; nothing reaches it afterwards.
class GADBannerViewDelegate {
 public:
  virtual ~GADBannerViewDelegate() = default;

  /// An ad finished loading and is shown (again at each refresh). Trace: "adViewDidReceiveAd:".
  virtual void adViewDidReceiveAd(const std::shared_ptr<GADBannerView>& /*view*/) {}
  /// A request failed; the error's code (a GADErrorCode) says why. Trace:
  /// "adView:didFailToReceiveAdWithError:".
  virtual void adViewDidFailToReceiveAdWithError(const std::shared_ptr<GADBannerView>& /*view*/,
                                                 const GADRequestError& /*error*/) {}
  /// A click is about to cover the screen (in-app browser, overlay, mail form); every
  /// banner's refresh waits until it is gone. Trace: "adViewWillPresentScreen:".
  virtual void adViewWillPresentScreen(const std::shared_ptr<GADBannerView>& /*view*/) {}
  /// The full-screen content is about to close. Trace: "adViewWillDismissScreen:".
  virtual void adViewWillDismissScreen(const std::shared_ptr<GADBannerView>& /*view*/) {}
  /// The full-screen content has closed. Trace: "adViewDidDismissScreen:".
  virtual void adViewDidDismissScreen(const std::shared_ptr<GADBannerView>& /*view*/) {}
  /// A click is about to hand over to another application. Trace:
  /// "adViewWillLeaveApplication:".
  virtual void adViewWillLeaveApplication(const std::shared_ptr<GADBannerView>& /*view*/) {}
};
