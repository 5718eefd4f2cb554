#pragma once
// GADBrowserController: the in-app browser a click opens — the advertiser's page over the
// whole screen and, under it, a toolbar: back, forward, reload (a spinner while loading),
// "open outside" and Done.
//
//   auto browser = GADBrowserController::create();
//   browser->load(clickURL, bannerPageURL);    // the banner's page as "Referer"
//   browser->presentFromViewController(rootViewController);
//
// The screen is built on its first appearance; what was asked to load before waits for it.
// Coming back to the application before any page finished loading closes the browser.
#include <memory>
#include <optional>

#include "platform/base/Url.h"
#include "platform/ui/Toolbar.h"
#include "sdk/browser/GADBrowserControllerPrivate.h"
#include "sdk/view/GADWebView.h"
#include "sdk/viewcontroller/GADViewController.h"

class GADBrowserController : public GADViewController {
 public:
  static std::shared_ptr<GADBrowserController> create();
  ~GADBrowserController() override;

  std::shared_ptr<GADBrowserControllerPrivate> vars() const;
  std::shared_ptr<GADWebView> webView() const;
  std::shared_ptr<pf::Toolbar> toolbar() const;
  std::shared_ptr<pf::WebView> pageWebView() const override { return webView(); }

  // None is ignored; with a referring URL the first request carries it as "Referer".
  void load(const std::optional<pf::Url>& url, const std::optional<pf::Url>& referringURL = std::nullopt);

  void viewWillAppear(bool animated) override;
  void didRotateFromInterfaceOrientation(pf::InterfaceOrientation from) override;

  void refreshToolbar();
  void back();
  void forward();
  void reload();
  void stop();
  // The current page in the desktop's browser; the in-app browser stays.
  void openInSafari();
  // Back in the foreground before the first page loaded: the browser goes.
  void appDidEnterForeground();

  static constexpr double kToolbarHeight = 44;
  static constexpr double kLandscapePhoneToolbarHeight = 30;

 protected:
  GADBrowserController() = default;
  std::shared_ptr<GADViewControllerPrivate> createPrivateData() override;

 private:
  void buildScreen();
  void createToolbarButtons();
  std::shared_ptr<pf::BarButtonItem> buttonWithImage(std::shared_ptr<const pf::Image> image, const char* name,
                                                     double width, bool enabled, void (GADBrowserController::*action)());
};
