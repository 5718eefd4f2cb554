#pragma once
// GADBannerView: a banner ad, the view a publisher places (320×50 points for the standard
// banner). Set the ad unit and the controller that presents what a click opens, then load:
//
//   auto banner = GADBannerView::create({0, 365, 320, 50});
//   banner->setAdUnitID("a15c0f3e82d9b47");
//   banner->setRootViewController(page);        // required before loadRequest
//   banner->setDelegate(pageAds);                // optional, not retained
//   page->view()->addSubview(banner);
//   banner->loadRequest(GADRequest::request());
//
// The banner then shows an ad, and a new one on the ad server's refresh interval, by itself.
// Its state lives in a GADObjectPrivate kept in the private-object registry under the
// banner; destroying the banner stops everything it started, and no callback follows.
// Main thread only (delegate callbacks always arrive there).
#include <memory>
#include <string>

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "sdk/delegate/GADBannerViewDelegate.h"
#include "sdk/request/GADRequest.h"

class GADObjectPrivate;
class GADWebView;

inline constexpr char kGADMissingRootViewControllerMessage[] =
    "<Diziva> Must set the rootViewController property of GADBannerView before calling loadRequest:";

class GADBannerView : public pf::View {
 public:
  static std::shared_ptr<GADBannerView> create(const pf::Rect& frame = {});
  ~GADBannerView() override;

  const std::string& adUnitID() const;
  void setAdUnitID(std::string adUnitID);
  std::shared_ptr<pf::ViewController> rootViewController() const;
  void setRootViewController(std::weak_ptr<pf::ViewController> controller);  // not retained
  std::shared_ptr<GADBannerViewDelegate> delegate() const;
  void setDelegate(std::weak_ptr<GADBannerViewDelegate> delegate);  // not retained
  // The last load was an automatic refresh (not the publisher's own loadRequest).
  bool hasAutoRefreshed() const;
  std::shared_ptr<GADWebView> webView() const;

  // Without a root view controller: logs, reports an invalid request (code 0), fetches
  // nothing. `request` may be none (a fresh one is used).
  void loadRequest(const std::shared_ptr<GADRequest>& request);

  // The banner's ad object (its private companion).
  std::shared_ptr<GADObjectPrivate> privateObject() const;

 protected:
  explicit GADBannerView(const pf::Rect& frame);

 private:
  void commonInitializer();
};
