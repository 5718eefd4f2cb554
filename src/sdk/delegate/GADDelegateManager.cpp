#include "sdk/delegate/GADDelegateManager.h"

#include "platform/base/RunLoop.h"
#include "sdk/utility/GADAdTrace.h"

std::shared_ptr<GADDelegateManager> GADDelegateManager::create() {
  return std::shared_ptr<GADDelegateManager>(new GADDelegateManager());
}

template <typename D>
bool GADDelegateManager::didYouNilOutYourDelegate(const std::shared_ptr<D>& delegate) {
  if (!delegate) return false;
  pf::RunLoop::main().autorelease(delegate);
  return true;
}
template bool GADDelegateManager::didYouNilOutYourDelegate(const std::shared_ptr<GADBannerViewDelegate>&);
template bool GADDelegateManager::didYouNilOutYourDelegate(const std::shared_ptr<GADInterstitialDelegate>&);

void GADDelegateManager::deliver(const char* bannerCallback, const GADRequestError* error, const BannerCall& banner,
                                 const InterstitialCall& interstitial) {
  auto& loop = pf::RunLoop::main();
  auto self = shared_from_this();
  if (!loop.isMainThread()) {
    // The error lives on this thread's stack until the wait is over.
    loop.performOnMainThread([self, bannerCallback, error, banner, interstitial] {
      self->deliver(bannerCallback, error, banner, interstitial);
    }, true);
    return;
  }
  loop.autorelease(self);  // a delegate may release the banner, and us with it
  if (GADAdTrace::enabled()) {
    if (error)
      GADAdTrace::write(traceBanner_, "delegate", {{"callback", bannerCallback}, {"code", error->code()}});
    else
      GADAdTrace::write(traceBanner_, "delegate", {{"callback", bannerCallback}});
  }
  if (auto d = bannerDelegate(); didYouNilOutYourDelegate(d)) banner(*d, adView());
  if (auto d = sdkInterstitialDelegate(); didYouNilOutYourDelegate(d)) interstitial(*d, this->interstitial());
  if (auto d = interstitialDelegate(); didYouNilOutYourDelegate(d)) interstitial(*d, this->interstitial());
}

void GADDelegateManager::didReceiveAd() {
  deliver("adViewDidReceiveAd:", nullptr,
          [](GADBannerViewDelegate& d, const std::shared_ptr<GADBannerView>& v) { d.adViewDidReceiveAd(v); },
          [](GADInterstitialDelegate& d, const std::shared_ptr<GADInterstitial>& i) { d.interstitialDidReceiveAd(i); });
}

void GADDelegateManager::didFailToReceiveAdWithError(const GADRequestError& error) {
  deliver("adView:didFailToReceiveAdWithError:", &error,
          [&error](GADBannerViewDelegate& d, const std::shared_ptr<GADBannerView>& v) {
            d.adViewDidFailToReceiveAdWithError(v, error);
          },
          [&error](GADInterstitialDelegate& d, const std::shared_ptr<GADInterstitial>& i) {
            d.interstitialDidFailToReceiveAdWithError(i, error);
          });
}

void GADDelegateManager::willPresentScreen() {
  deliver("adViewWillPresentScreen:", nullptr,
          [](GADBannerViewDelegate& d, const std::shared_ptr<GADBannerView>& v) { d.adViewWillPresentScreen(v); },
          [](GADInterstitialDelegate& d, const std::shared_ptr<GADInterstitial>& i) {
            d.interstitialWillPresentScreen(i);
          });
}

void GADDelegateManager::willDismissScreen() {
  deliver("adViewWillDismissScreen:", nullptr,
          [](GADBannerViewDelegate& d, const std::shared_ptr<GADBannerView>& v) { d.adViewWillDismissScreen(v); },
          [](GADInterstitialDelegate& d, const std::shared_ptr<GADInterstitial>& i) {
            d.interstitialWillDismissScreen(i);
          });
}

void GADDelegateManager::didDismissScreen() {
  deliver("adViewDidDismissScreen:", nullptr,
          [](GADBannerViewDelegate& d, const std::shared_ptr<GADBannerView>& v) { d.adViewDidDismissScreen(v); },
          [](GADInterstitialDelegate& d, const std::shared_ptr<GADInterstitial>& i) {
            d.interstitialDidDismissScreen(i);
          });
}

void GADDelegateManager::willLeaveApplication() {
  deliver("adViewWillLeaveApplication:", nullptr,
          [](GADBannerViewDelegate& d, const std::shared_ptr<GADBannerView>& v) { d.adViewWillLeaveApplication(v); },
          [](GADInterstitialDelegate& d, const std::shared_ptr<GADInterstitial>& i) {
            d.interstitialWillLeaveApplication(i);
          });
}
