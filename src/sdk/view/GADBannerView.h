#pragma once
/// @file
/// GADBannerView: a banner ad, the view a publisher places.
#include <memory>
#include <string>

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "sdk/delegate/GADBannerViewDelegate.h"
#include "sdk/request/GADRequest.h"

class GADObjectPrivate;
class GADWebView;

/// What the banner logs when it is asked to load without a root view controller.
inline constexpr char kGADMissingRootViewControllerMessage[] =
    "<Diziva> Must set the rootViewController property of GADBannerView before calling loadRequest:";

/// A banner ad: the view a publisher places (320×50 points for the standard banner). Set the
/// ad unit and the controller that presents what a click opens, then load:
///
/// @code
/// auto banner = GADBannerView::create({0, 365, 320, 50});
/// banner->setAdUnitID("a15c0f3e82d9b47");
/// banner->setRootViewController(page);        // required before loadRequest
/// banner->setDelegate(pageAds);                // optional, not retained
/// page->view()->addSubview(banner);
/// banner->loadRequest(GADRequest::request());
/// @endcode
///
/// The banner then shows an ad, and a new one on the ad server's refresh interval, by itself.
/// What it does is told to its delegate (GADBannerViewDelegate) and written to the ad trace.
/// In a GTK application the banner is shown by a pf::GtkViewHost, whose controller is the
/// banner's root view controller.
///
/// Its state lives in a private companion object kept under the banner; destroying the banner
/// stops everything it started, and no callback follows. Main thread only (delegate callbacks
/// always arrive there).
class GADBannerView : public pf::View {
 public:
  /// A new banner at `frame`, showing nothing until loadRequest().
  static std::shared_ptr<GADBannerView> create(const pf::Rect& frame = {});
  ~GADBannerView() override;

  /// The ad unit the banner asks ads for (the ad server's slot name).
  const std::string& adUnitID() const;
  /// Sets the ad unit; set it before loadRequest().
  void setAdUnitID(std::string adUnitID);
  /// The controller that presents what a click opens full screen, while it lives.
  std::shared_ptr<pf::ViewController> rootViewController() const;
  /// Sets the root view controller; not retained. Required before loadRequest().
  void setRootViewController(std::weak_ptr<pf::ViewController> controller);
  /// The delegate, while it lives.
  std::shared_ptr<GADBannerViewDelegate> delegate() const;
  /// Sets the delegate; not retained: keep it alive yourself.
  void setDelegate(std::weak_ptr<GADBannerViewDelegate> delegate);
  /// Whether the last load was an automatic refresh (not the publisher's own loadRequest()).
  bool hasAutoRefreshed() const;
  /// The web view the ad is drawn in (the ad layer's; for inspection).
  std::shared_ptr<GADWebView> webView() const;

  /// Asks for an ad. `request` may be none (a fresh one is used). Without a root view
  /// controller it logs kGADMissingRootViewControllerMessage, reports an invalid request
  /// (code 0) to the delegate and fetches nothing.
  void loadRequest(const std::shared_ptr<GADRequest>& request);

  /// The banner's ad object (its private companion; the ad layer's own).
  std::shared_ptr<GADObjectPrivate> privateObject() const;

 protected:
  /// For create().
  explicit GADBannerView(const pf::Rect& frame);

 private:
  void commonInitializer();
};
