#include "sdk/viewcontroller/GADViewController.h"

#include "platform/base/Log.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/Window.h"
#include "sdk/identifier/GADIdentifierUtilities.h"
#include "sdk/notification/GADNotificationCenter.h"
#include "sdk/statistics/GADStatistics.h"
#include "sdk/utility/GADPrivateUtilities.h"
#include "sdk/viewcontroller/GADViewControllerPrivate.h"

namespace {

constexpr double kAppearanceFallback = 0.6;  // seconds, when no window root controller presents

const void* keyOf(const GADViewController* controller) { return static_cast<const void*>(controller); }

}  // namespace

std::shared_ptr<GADViewController> GADViewController::create() {
  auto controller = std::shared_ptr<GADViewController>(new GADViewController());
  controller->initialize();
  return controller;
}

void GADViewController::initialize() {
  registerLive(shared_from_this());
  GADPrivateUtilities::setPrivateObjectForKey(createPrivateData(), keyOf(this));
  setSupportedOrientations(kGADOrientationAny);
  auto root = view();
  root->setAutoresizingMask(pf::View::FlexibleWidth | pf::View::FlexibleHeight);
  root->setOpaque(true);
  root->setBackgroundColor(pf::Color::black());
  root->setClipsToBounds(true);
  setModalTransitionStyle(ModalTransitionStyle::CoverVertical);
  // Page messages name the web view that sent them: "settings" counts only from our own page.
  auto weak = std::weak_ptr<GADViewController>(std::static_pointer_cast<GADViewController>(shared_from_this()));
  GADNotificationCenter::defaultCenter().addObserver(this, "settings", nullptr, [weak](const pf::Notification& n) {
    auto self = weak.lock();
    if (!self) return;
    auto page = self->pageWebView();
    if (page && n.sender() == static_cast<const void*>(page.get())) self->settingsChanged(n.userInfo());
  });
}

std::shared_ptr<GADViewControllerPrivate> GADViewController::createPrivateData() {
  return std::make_shared<GADViewControllerPrivate>();
}

GADViewController::~GADViewController() {
  auto data = privateData();
  // Only the screen that told the delegate it would present tells it that it has gone.
  if (presentedAsFirst_ && data && data->delegateManager_) data->delegateManager_->didDismissScreen();
  GADNotificationCenter::defaultCenter().removeObserver(this);
  pf::NotificationCenter::defaultCenter().removeObserver(this);
  pf::RunLoop::main().cancelPendingCalls(this);
  GADPrivateUtilities::removePrivateObjectForKey(keyOf(this));
}

// ---- state ----

std::shared_ptr<GADViewControllerPrivate> GADViewController::privateData() const {
  return GADPrivateUtilities::privateObjectForKey<GADViewControllerPrivate>(keyOf(this));
}

std::shared_ptr<GADDelegateManager> GADViewController::delegateManager() const {
  auto data = privateData();
  if (!data) return nullptr;
  if (!data->delegateManager_) data->delegateManager_ = GADDelegateManager::create();
  return data->delegateManager_;
}

void GADViewController::setDelegateManager(std::shared_ptr<GADDelegateManager> manager) {
  if (auto data = privateData()) data->delegateManager_ = std::move(manager);
}

int GADViewController::supportedOrientations() const {
  auto data = privateData();
  return data ? data->supportedOrientations_ : kGADOrientationAny;
}

void GADViewController::setSupportedOrientations(int orientations) {
  if (orientations == kGADOrientationNotGiven) return;
  if (auto data = privateData()) data->supportedOrientations_ = orientations;
}

std::shared_ptr<pf::WebView> GADViewController::openingWebView() const {
  auto data = privateData();
  return data ? data->openingWebView_.lock() : nullptr;
}

void GADViewController::setOpeningWebView(std::weak_ptr<pf::WebView> view) {
  if (auto data = privateData()) data->openingWebView_ = std::move(view);
}

bool GADViewController::statusBarWasHidden() const {
  auto data = privateData();
  return data && data->statusBarWasHidden_;
}

bool GADViewController::isFirstGADViewController() const {
  return !std::dynamic_pointer_cast<GADViewController>(parentViewController());
}

// ---- presenting and giving back ----

void GADViewController::presentFromViewController(const std::shared_ptr<pf::ViewController>& presenter) {
  if (!presenter) {
    pf::Log::message(kGADNoViewControllerMessage);
    return;
  }
  view()->setUserInteractionEnabled(false);  // until the first appearance
  self_ = std::static_pointer_cast<GADViewController>(shared_from_this());
  pf::NotificationCenter::defaultCenter().postNotificationName(GADViewControllerWillPresentFullScreen,
                                                               static_cast<const void*>(this));
  if (std::dynamic_pointer_cast<GADViewController>(presenter)) {  // nested
    presenter->presentModalViewController(self_, true);
    return;
  }
  presentedAsFirst_ = true;
  delegateManager()->willPresentScreen();
  auto app = pf::Application::sharedApplication();
  auto data = privateData();
  if (GADIdentifierUtilities::isOSAtLeastMajorMinorBug(3, 2, 0)) {
    if (modalPresentationStyle() == ModalPresentationStyle::FullScreen) {
      data->statusBarWasHidden_ = app->isStatusBarHidden();
      if (!data->statusBarWasHidden_) app->setStatusBarHiddenWithAnimation(true, pf::StatusBarAnimation::None);
    }
  } else {
    data->statusBarWasHidden_ = app->isStatusBarHidden();
    if (!data->statusBarWasHidden_) app->setStatusBarHiddenAnimated(true, false);
  }
  data->publisherIdleTimerDisabled_ = app->isIdleTimerDisabled();
  app->setIdleTimerDisabled(true);
  presentSelfFrom(presenter);
}

void GADViewController::presentSelfFrom(const std::shared_ptr<pf::ViewController>& presenter) {
  auto self = std::static_pointer_cast<GADViewController>(shared_from_this());
  if (pf::Device::offers(pf::Capability::WindowRootViewController)) {
    if (auto key = pf::Application::sharedApplication()->keyWindow()) {
      if (auto root = key->rootViewController()) {
        root->presentModalViewController(self, true);
        return;
      }
    }
  }
  presenter->presentModalViewController(self, true);
  // Presented from a controller the window does not know of, the appearance may never be
  // reported: a late call ends the presentation latch either way (it keeps us alive).
  pf::RunLoop::main().performAfter(this, kAppearanceFallback, [self] { self->viewDidAppear(false); });
}

void GADViewController::viewDidAppear(bool animated) {
  auto root = view();
  if (root->isUserInteractionEnabled()) return;  // appeared already: the latch is open
  pf::ViewController::viewDidAppear(animated);
  root->setUserInteractionEnabled(true);
}

void GADViewController::relinquishScreen() {
  view()->setUserInteractionEnabled(false);  // no more taps while it goes
  auto self = std::move(self_);
  if (self) pf::RunLoop::main().autorelease(self);
  auto presenter = pf::Device::offers(pf::Capability::PresentingViewController) ? presentingViewController()
                                                                                 : parentViewController();
  if (isFirstGADViewController() && presentedAsFirst_) {
    delegateManager()->willDismissScreen();
    auto app = pf::Application::sharedApplication();
    auto data = privateData();
    if (GADIdentifierUtilities::isOSAtLeastMajorMinorBug(3, 2, 0)) {
      if (modalPresentationStyle() == ModalPresentationStyle::FullScreen && !data->statusBarWasHidden_)
        app->setStatusBarHiddenWithAnimation(false, pf::StatusBarAnimation::None);
    } else if (!data->statusBarWasHidden_) {
      app->setStatusBarHiddenAnimated(false, false);
    }
    app->setIdleTimerDisabled(data->publisherIdleTimerDisabled_);
  }
  if (presenter) presenter->dismissModalViewControllerAnimated(true);
  pf::NotificationCenter::defaultCenter().postNotificationName(GADViewControllerDidRelinquishFullScreen,
                                                               static_cast<const void*>(this));
}

void GADViewController::viewDidDisappear(bool animated) {
  pf::ViewController::viewDidDisappear(animated);
  auto stats = GADStatistics::sharedStatistics();
  stats->endTimingNamed(kGADParameterPriorLandingPageDuration);
  stats->endTimingNamed(kGADParameterPriorClickLatency);
}

// ---- rotation and the page's settings ----

bool GADViewController::shouldAutorotateToInterfaceOrientation(pf::InterfaceOrientation o) {
  switch (supportedOrientations()) {
    case kGADOrientationPortrait: return pf::isPortrait(o);
    case kGADOrientationLandscape: return pf::isLandscape(o);
    default: return true;
  }
}

void GADViewController::settingsChanged(const pf::Value& userInfo) {
  setSupportedOrientations(orientationFromString(userInfo[kGADSupportedOrientationsKey].stringRef()));
}
