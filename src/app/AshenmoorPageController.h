#pragma once
// AshenmoorPageController: what the three site pages have in common. Each shows one page of
// the site in its web view (an outlet of the interface description) and one banner under
// it, at (0, 365, 320, 50) of its own view; each rotates to portrait and both landscapes,
// never upside down. The page owns its banner from viewDidLoad until its view is unloaded.
//
// The subclasses name their page, web view outlet and banner field.
#include <memory>
#include <string>

#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "sdk/view/GADBannerView.h"

class AshenmoorPageController : public pf::ViewController {
 public:
  static inline const pf::Rect kBannerFrame{0, 365, 320, 50};

  void viewDidLoad() override;
  void viewDidUnload() override;
  bool shouldAutorotateToInterfaceOrientation(pf::InterfaceOrientation o) override;

  // Portrait and both landscapes; upside down is refused (shared by every page).
  static bool acceptsOrientation(pf::InterfaceOrientation o);

 protected:
  explicit AshenmoorPageController(std::string pagePath) : pagePath_(std::move(pagePath)) {}
  // The page's web view and banner field, as the subclass names them.
  virtual std::shared_ptr<pf::WebView> pageWebView() const = 0;
  virtual std::shared_ptr<GADBannerView>& bannerField() = 0;

 private:
  std::string pagePath_;
};
