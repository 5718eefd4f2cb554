#pragma once
// GADBannerWebViewDelegate: the delegate of a banner's web view. On top of the base delegate
// it knows the banner's ad object and decides:
//
//   - display: the ad's HTML finished loading (state 5) → state 6, the view is shown, the
//     publisher hears adViewDidReceiveAd, the impressions are pinged;
//   - failure: the load failed before display → state 7 and a network error (code 2);
//   - clicks: a navigation is a click when the ad is shown, at least 0.15 s have passed since
//     it was, it is not back/forward or reload, and the user touched the view. A click is
//     counted, and its destination opens full screen (the overlay when the ad has click
//     tracking, else the in-app browser) or goes to the mail form or another application;
//     the banner itself never leaves its ad;
//   - tap safety: what would take the user away from the banner — an "open" message (or the
//     older "rodud" launch), "mailto" and every other scheme that is not web — is carried out
//     only when the ad is shown, 0.15 s on, and touched. Otherwise it is refused: an ad cannot
//     present full-screen content or leave the application on its own. A refusal is logged
//     once per ad and traced ("refused").
//
// Owned by the ad object, which it does not retain.
#include <memory>

#include "sdk/view/GADWebViewDelegate.h"

class GADCachedFile;
class GADObjectPrivate;

class GADBannerWebViewDelegate : public GADWebViewDelegate {
 public:
  // Becomes the delegate of the ad object's web view.
  static std::shared_ptr<GADBannerWebViewDelegate> createWithObjectPrivate(const std::shared_ptr<GADObjectPrivate>& ad);

  static constexpr double kMinimumSecondsBeforeClick = 0.15;
  bool isClick(pf::WebViewNavigationType type) const;
  // The user acted on the ad: shown, 0.15 s on, touched (the click test without its
  // navigation type).
  bool userActedOnAd() const;
  // Would this navigation take the user away from the banner (full screen, mail, another app)?
  static bool leavesTheBanner(const pf::Url& url);

  bool webViewShouldStartLoadWithRequest(const std::shared_ptr<pf::WebView>& view, const pf::URLRequest& request,
                                         pf::WebViewNavigationType type) override;
  void webViewDidFinishLoad(const std::shared_ptr<pf::WebView>& view) override;
  void webViewDidFailLoadWithError(const std::shared_ptr<pf::WebView>& view, const pf::Error& error) override;

 private:
  GADBannerWebViewDelegate() = default;

  void refuse(const GADObjectPrivate& ad, const pf::Url& url);

  std::weak_ptr<GADObjectPrivate> private_;  // the ad object owns us
  std::weak_ptr<GADCachedFile> refusalLoggedFor_;  // the ad whose refusal was logged
};
