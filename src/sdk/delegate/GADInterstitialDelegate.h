#pragma once
// GADInterstitialDelegate: the callbacks of a full-screen ad. This system shows banners only:
// no GADInterstitial exists and nothing fills the delegate manager's interstitial slots, so
// these callbacks are never made. They keep the delegate manager's fan-out complete.
#include <memory>

#include "sdk/request/GADRequestError.h"

class GADInterstitial;  // a slot only: no implementation in this system

class GADInterstitialDelegate {
 public:
  virtual ~GADInterstitialDelegate() = default;
  virtual void interstitialDidReceiveAd(const std::shared_ptr<GADInterstitial>& /*ad*/) {}
  virtual void interstitialDidFailToReceiveAdWithError(const std::shared_ptr<GADInterstitial>& /*ad*/,
                                                       const GADRequestError& /*error*/) {}
  virtual void interstitialWillPresentScreen(const std::shared_ptr<GADInterstitial>& /*ad*/) {}
  virtual void interstitialWillDismissScreen(const std::shared_ptr<GADInterstitial>& /*ad*/) {}
  virtual void interstitialDidDismissScreen(const std::shared_ptr<GADInterstitial>& /*ad*/) {}
  virtual void interstitialWillLeaveApplication(const std::shared_ptr<GADInterstitial>& /*ad*/) {}
};
