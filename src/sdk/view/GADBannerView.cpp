#include "sdk/view/GADBannerView.h"

#include "platform/base/Log.h"
#include "platform/base/NotificationCenter.h"
#include "sdk/object/GADObjectPrivate.h"
#include "sdk/utility/GADPrivateUtilities.h"
#include "sdk/view/GADWebView.h"

std::shared_ptr<GADBannerView> GADBannerView::create(const pf::Rect& frame) {
  auto banner = std::shared_ptr<GADBannerView>(new GADBannerView(frame));
  banner->commonInitializer();
  return banner;
}

GADBannerView::GADBannerView(const pf::Rect& frame) : pf::View(frame) {}

void GADBannerView::commonInitializer() {
  setBackgroundColor(pf::Color::clear());
  auto self = std::static_pointer_cast<GADBannerView>(shared_from_this());
  // The registry holds the only strong reference to the ad object.
  GADPrivateUtilities::setPrivateObjectForKey(GADObjectPrivate::createWithView(self), static_cast<const void*>(this));
}

GADBannerView::~GADBannerView() {
  if (auto ad = privateObject()) ad->cancelPendingActions();
  pf::NotificationCenter::defaultCenter().removeObserver(this);
  GADPrivateUtilities::removePrivateObjectForKey(static_cast<const void*>(this));
}

std::shared_ptr<GADObjectPrivate> GADBannerView::privateObject() const {
  return GADPrivateUtilities::privateObjectForKey<GADObjectPrivate>(static_cast<const void*>(this));
}

const std::string& GADBannerView::adUnitID() const {
  static const std::string none;
  auto ad = privateObject();
  return ad ? ad->adUnitID() : none;
}

void GADBannerView::setAdUnitID(std::string adUnitID) {
  if (auto ad = privateObject()) ad->setAdUnitID(std::move(adUnitID));
}

std::shared_ptr<pf::ViewController> GADBannerView::rootViewController() const {
  auto ad = privateObject();
  return ad ? ad->rootViewController() : nullptr;
}

void GADBannerView::setRootViewController(std::weak_ptr<pf::ViewController> controller) {
  if (auto ad = privateObject()) ad->setRootViewController(std::move(controller));
}

std::shared_ptr<GADBannerViewDelegate> GADBannerView::delegate() const {
  auto ad = privateObject();
  return ad ? ad->delegateManager()->bannerDelegate() : nullptr;
}

void GADBannerView::setDelegate(std::weak_ptr<GADBannerViewDelegate> delegate) {
  auto ad = privateObject();
  if (!ad) return;
  ad->delegateManager()->setBannerDelegate(std::move(delegate));
  ad->delegateManager()->setAdView(std::static_pointer_cast<GADBannerView>(shared_from_this()));
}

bool GADBannerView::hasAutoRefreshed() const {
  auto ad = privateObject();
  return ad && ad->hasAutoRefreshed();
}

std::shared_ptr<GADWebView> GADBannerView::webView() const {
  auto ad = privateObject();
  return ad ? ad->webView() : nullptr;
}

void GADBannerView::loadRequest(const std::shared_ptr<GADRequest>& request) {
  auto ad = privateObject();
  if (!ad) return;
  if (!ad->rootViewController()) {
    pf::Log::message(kGADMissingRootViewControllerMessage);
    ad->delegateManager()->didFailToReceiveAdWithError(GADRequestError(kGADErrorInvalidRequest, request));
    return;
  }
  ad->loadRequest(request);
}
