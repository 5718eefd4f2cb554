#include "app/AshenmoorPageController.h"

#include "app/AshenmoorSite.h"
#include "platform/net/URLRequest.h"
#include "sdk/request/GADRequest.h"

void AshenmoorPageController::viewDidLoad() {
  pf::ViewController::viewDidLoad();
  if (auto web = pageWebView())
    if (auto url = AshenmoorSite::pageURL(pagePath_)) web->loadRequest(pf::URLRequest(*url));

  auto& banner = bannerField();
  banner = GADBannerView::create(kBannerFrame);
  banner->setAdUnitID(AshenmoorSite::kAdUnitID);
  banner->setRootViewController(std::static_pointer_cast<pf::ViewController>(shared_from_this()));
  view()->addSubview(banner);
  banner->loadRequest(GADRequest::request());
}

void AshenmoorPageController::viewDidUnload() {
  pf::ViewController::viewDidUnload();
  if (auto& banner = bannerField()) {
    banner->removeFromSuperview();
    banner.reset();
  }
}

bool AshenmoorPageController::acceptsOrientation(pf::InterfaceOrientation o) {
  return o == pf::InterfaceOrientation::Portrait || o == pf::InterfaceOrientation::LandscapeRight ||
         o == pf::InterfaceOrientation::LandscapeLeft;
}

bool AshenmoorPageController::shouldAutorotateToInterfaceOrientation(pf::InterfaceOrientation o) {
  return acceptsOrientation(o);
}
