#pragma once
// GADWebAppViewController: the web-app overlay — an ad's full-screen page with no browser
// chrome, only a close button in the top-left corner, and a spinner until the page has
// loaded. The page hears "onshow" once, when it is first seen, and "onhide" each time it
// stops being seen.
//
//   auto overlay = GADWebAppViewController::create();
//   overlay->load(clickURL);                   // or loadHTML(html, std::nullopt)
//   overlay->presentFromViewController(rootViewController);
//
// The page area follows the window's size when the device turns.
#include <memory>
#include <optional>
#include <string>

#include "platform/base/Url.h"
#include "sdk/view/GADWebView.h"
#include "sdk/viewcontroller/GADViewController.h"
#include "sdk/webapp/GADWebAppViewControllerPrivate.h"

class GADObjectPrivate;

class GADWebAppViewController : public GADViewController {
 public:
  static std::shared_ptr<GADWebAppViewController> create();

  std::shared_ptr<GADWebAppViewControllerPrivate> vars() const;
  std::shared_ptr<GADWebView> webView() const;
  std::shared_ptr<pf::WebView> pageWebView() const override { return webView(); }
  std::shared_ptr<GADObjectPrivate> adController() const;
  void setAdController(std::shared_ptr<GADObjectPrivate> ad);

  // None is ignored. A URL given before the screen is built wins over HTML.
  void load(const std::optional<pf::Url>& url);
  void loadHTML(const std::optional<std::string>& html, const std::optional<pf::Url>& baseURL);

  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  void didRotateFromInterfaceOrientation(pf::InterfaceOrientation from) override;

  static constexpr double kCloseButtonSize = 32;

 protected:
  GADWebAppViewController() = default;
  std::shared_ptr<GADViewControllerPrivate> createPrivateData() override;

 private:
  void buildScreen();
};
