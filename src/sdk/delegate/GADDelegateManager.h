#pragma once
// GADDelegateManager: delivers a banner's six lifecycle events to the publisher's delegate,
// then to the interstitial observers (empty slots in this system), always on the main thread.
//
//   manager->didReceiveAd();                       // from any thread
//   manager->didFailToReceiveAdWithError(GADRequestError(kGADErrorNoFill, request));
//
// From another thread an event hops to the main thread and the call waits until it has been
// delivered. The manager keeps itself and each delegate it calls alive until the end of the
// run-loop pass, so a delegate may destroy the banner (and with it this manager) inside its
// callback. Every event is written to the ad trace ("delegate"), delegate or not.
//
// None of the slots is retained.
#include <functional>
#include <memory>

#include "sdk/delegate/GADBannerViewDelegate.h"
#include "sdk/delegate/GADInterstitialDelegate.h"
#include "sdk/request/GADRequestError.h"

class GADDelegateManager : public std::enable_shared_from_this<GADDelegateManager> {
 public:
  static std::shared_ptr<GADDelegateManager> create();
  GADDelegateManager(const GADDelegateManager&) = delete;
  GADDelegateManager& operator=(const GADDelegateManager&) = delete;

  std::shared_ptr<GADBannerViewDelegate> bannerDelegate() const { return bannerDelegate_.lock(); }
  void setBannerDelegate(std::weak_ptr<GADBannerViewDelegate> d) { bannerDelegate_ = std::move(d); }
  std::shared_ptr<GADBannerView> adView() const { return adView_.lock(); }
  void setAdView(std::weak_ptr<GADBannerView> view) { adView_ = std::move(view); }
  std::shared_ptr<GADInterstitialDelegate> interstitialDelegate() const { return interstitialDelegate_.lock(); }
  void setInterstitialDelegate(std::weak_ptr<GADInterstitialDelegate> d) { interstitialDelegate_ = std::move(d); }
  std::shared_ptr<GADInterstitial> interstitial() const { return interstitial_.lock(); }
  void setInterstitial(std::weak_ptr<GADInterstitial> ad) { interstitial_ = std::move(ad); }
  std::shared_ptr<GADInterstitialDelegate> sdkInterstitialDelegate() const { return sdkInterstitialDelegate_.lock(); }
  void setSdkInterstitialDelegate(std::weak_ptr<GADInterstitialDelegate> d) { sdkInterstitialDelegate_ = std::move(d); }

  // The banner number the ad trace names (0: none).
  void setTraceBanner(int banner) { traceBanner_ = banner; }

  // The six events.
  void didReceiveAd();
  void didFailToReceiveAdWithError(const GADRequestError& error);
  void willPresentScreen();
  void willDismissScreen();
  void didDismissScreen();
  void willLeaveApplication();

  // Whether the slot holds a delegate (which then lives until the end of the run-loop pass).
  template <typename D>
  static bool didYouNilOutYourDelegate(const std::shared_ptr<D>& delegate);

 private:
  GADDelegateManager() = default;

  using BannerCall = std::function<void(GADBannerViewDelegate&, const std::shared_ptr<GADBannerView>&)>;
  using InterstitialCall = std::function<void(GADInterstitialDelegate&, const std::shared_ptr<GADInterstitial>&)>;
  // One event: the hop, the trace line, then banner, internal observer, interstitial.
  void deliver(const char* bannerCallback, const GADRequestError* error, const BannerCall& banner,
               const InterstitialCall& interstitial);

  std::weak_ptr<GADBannerViewDelegate> bannerDelegate_;
  std::weak_ptr<GADBannerView> adView_;
  std::weak_ptr<GADInterstitialDelegate> interstitialDelegate_;
  std::weak_ptr<GADInterstitial> interstitial_;
  std::weak_ptr<GADInterstitialDelegate> sdkInterstitialDelegate_;
  int traceBanner_ = 0;
};
