#include "sdk/webapp/GADWebAppViewController.h"

#include "sdk/browser/GADIntrinsicImages.h"
#include "sdk/notification/GADNotificationCenter.h"
#include "sdk/statistics/GADStatistics.h"

std::shared_ptr<GADWebAppViewController> GADWebAppViewController::create() {
  auto overlay = std::shared_ptr<GADWebAppViewController>(new GADWebAppViewController());
  overlay->initialize();
  overlay->vars()->loadingSpinner_ = pf::ActivityIndicatorView::create(pf::ActivityIndicatorStyle::White);
  return overlay;
}

std::shared_ptr<GADViewControllerPrivate> GADWebAppViewController::createPrivateData() {
  return std::make_shared<GADWebAppViewControllerPrivate>();
}

std::shared_ptr<GADWebAppViewControllerPrivate> GADWebAppViewController::vars() const {
  return std::static_pointer_cast<GADWebAppViewControllerPrivate>(privateData());
}

std::shared_ptr<GADWebView> GADWebAppViewController::webView() const {
  auto v = vars();
  return v ? v->webView_ : nullptr;
}

std::shared_ptr<GADObjectPrivate> GADWebAppViewController::adController() const {
  auto v = vars();
  return v ? v->adController_ : nullptr;
}

void GADWebAppViewController::setAdController(std::shared_ptr<GADObjectPrivate> ad) { vars()->adController_ = std::move(ad); }

void GADWebAppViewController::load(const std::optional<pf::Url>& url) {
  if (!url) return;
  auto v = vars();
  if (v->webView_)
    v->webView_->loadRequest(pf::URLRequest(*url));
  else
    v->urlToLoad_ = url;
}

void GADWebAppViewController::loadHTML(const std::optional<std::string>& html, const std::optional<pf::Url>& baseURL) {
  if (!html) return;
  auto v = vars();
  if (v->webView_) {
    v->webView_->loadHTMLString(*html, baseURL);
  } else {
    v->htmlToLoad_ = html;
    v->htmlBaseURLToLoad_ = baseURL;
  }
}

void GADWebAppViewController::viewWillAppear(bool animated) {
  GADViewController::viewWillAppear(animated);
  if (!vars()->webView_) buildScreen();
}

void GADWebAppViewController::buildScreen() {
  auto v = vars();
  auto root = view();
  const pf::Rect bounds = root->bounds();
  v->webView_ = GADWebView::create(bounds);
  // The page follows the window when the device turns (it is told the orientation too).
  v->webView_->setAutoresizingMask(pf::View::FlexibleWidth | pf::View::FlexibleHeight);
  root->addSubview(v->webView_);

  auto self = std::static_pointer_cast<GADWebAppViewController>(shared_from_this());
  auto delegate = GADWebAppWebViewDelegate::createWithWebAppPrivate(v);
  delegate->setViewController(self);
  delegate->setOpeningWebView(openingWebView());
  delegate->opener()->setAdController(v->adController_);
  delegate->opener()->setDelegateManager(delegateManager());
  v->webViewDelegate_ = delegate;
  v->webView_->setDelegate(delegate);

  if (v->urlToLoad_) {
    v->webView_->loadRequest(pf::URLRequest(*v->urlToLoad_));
    v->urlToLoad_.reset();
  } else if (v->htmlToLoad_) {
    v->webView_->loadHTMLString(*v->htmlToLoad_, v->htmlBaseURLToLoad_);
    v->htmlToLoad_.reset();
    v->htmlBaseURLToLoad_.reset();
  }

  v->closeButton_ = pf::Button::buttonWithType(pf::ButtonType::Custom);
  v->closeButton_->setImageForState(GADIntrinsicImages::closeButton(), pf::ControlState::Normal);
  v->closeButton_->setShowsTouchWhenHighlighted(true);
  v->closeButton_->setEnabled(true);
  v->closeButton_->setFrame({0, 0, kCloseButtonSize, kCloseButtonSize});
  std::weak_ptr<GADWebAppViewController> weak = self;
  v->closeButton_->addTarget(this, [weak] {
    if (auto overlay = weak.lock()) overlay->relinquishScreen();
  }, pf::ControlEventTouchUpInside);
  root->addSubview(v->closeButton_);  // over the page

  if (auto spinner = v->loadingSpinner_) {
    spinner->setFrame({(bounds.width() - 20) * 0.5, (bounds.height() - 20) * 0.5, 20, 20});
    spinner->setAutoresizingMask(pf::View::FlexibleLeftMargin | pf::View::FlexibleRightMargin);
    spinner->startAnimating();
    v->webView_->addSubview(spinner);
  }
}

void GADWebAppViewController::viewDidAppear(bool animated) {
  GADViewController::viewDidAppear(animated);
  if (auto d = vars()->webViewDelegate_) d->setPendingOnShow(true);
}

void GADWebAppViewController::viewDidDisappear(bool animated) {
  auto stats = GADStatistics::sharedStatistics();
  stats->endTimingNamed(kGADParameterPriorLandingPageDuration);
  stats->endTimingNamed(kGADParameterPriorClickLatency);
  GADNotificationCenter::defaultCenter().postJSNotificationUserInfoWebView("onhide", std::nullopt, webView());
  GADViewController::viewDidDisappear(animated);
}

void GADWebAppViewController::didRotateFromInterfaceOrientation(pf::InterfaceOrientation from) {
  GADViewController::didRotateFromInterfaceOrientation(from);
  if (auto web = webView()) GADWebViewDelegate::notifyWebViewOfOrientationChange(web, interfaceOrientation());
}
