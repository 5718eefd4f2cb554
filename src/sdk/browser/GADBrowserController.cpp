#include "sdk/browser/GADBrowserController.h"

#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Device.h"
#include "sdk/browser/GADBrowserWebViewDelegate.h"
#include "sdk/browser/GADIntrinsicImages.h"
#include "sdk/identifier/GADIdentifierUtilities.h"
#include "sdk/opener/GADOpener.h"
#include "sdk/statistics/GADStatistics.h"

std::shared_ptr<GADBrowserController> GADBrowserController::create() {
  auto browser = std::shared_ptr<GADBrowserController>(new GADBrowserController());
  browser->initialize();
  browser->view()->setBackgroundColor(pf::Color::white());
  if (GADIdentifierUtilities::isOSAtLeastMajorMinorBug(4, 0, 0)) {
    std::weak_ptr<GADBrowserController> weak = browser;
    pf::NotificationCenter::defaultCenter().addObserver(browser.get(), pf::UIApplicationWillEnterForegroundNotification,
                                                        nullptr, [weak](const pf::Notification&) {
                                                          if (auto self = weak.lock()) self->appDidEnterForeground();
                                                        });
  }
  return browser;
}

GADBrowserController::~GADBrowserController() { pf::NotificationCenter::defaultCenter().removeObserver(this); }

std::shared_ptr<GADViewControllerPrivate> GADBrowserController::createPrivateData() {
  return std::make_shared<GADBrowserControllerPrivate>();
}

std::shared_ptr<GADBrowserControllerPrivate> GADBrowserController::vars() const {
  return std::static_pointer_cast<GADBrowserControllerPrivate>(privateData());
}

std::shared_ptr<GADWebView> GADBrowserController::webView() const {
  auto v = vars();
  return v ? v->webView_ : nullptr;
}

std::shared_ptr<pf::Toolbar> GADBrowserController::toolbar() const {
  auto v = vars();
  return v ? v->toolbar_ : nullptr;
}

void GADBrowserController::load(const std::optional<pf::Url>& url, const std::optional<pf::Url>& referringURL) {
  if (!url) return;
  auto v = vars();
  if (v->webView_) {
    pf::URLRequest request(*url);
    if (referringURL) request.setValueForHTTPHeaderField(referringURL->absoluteString(), "Referer");
    v->webView_->loadRequest(request);
    return;
  }
  v->urlToLoad_ = url;
  v->referringURLToLoad_ = referringURL;
}

void GADBrowserController::viewWillAppear(bool animated) {
  GADViewController::viewWillAppear(animated);
  if (!vars()->webView_) buildScreen();
}

void GADBrowserController::buildScreen() {
  auto v = vars();
  auto root = view();
  double toolbarHeight = kToolbarHeight;
  unsigned pageMask, toolbarMask;
  if (pf::Device::offers(pf::Capability::UserInterfaceIdiom) &&
      pf::Device::userInterfaceIdiom() == pf::UserInterfaceIdiom::Pad) {
    pageMask = pf::View::FlexibleWidth | pf::View::FlexibleHeight;
    toolbarMask = pf::View::FlexibleWidth | pf::View::FlexibleTopMargin | pf::View::FlexibleBottomMargin;
  } else {
    if (GADIdentifierUtilities::sharedInstance()->isOrientationLandscape()) toolbarHeight = kLandscapePhoneToolbarHeight;
    pageMask = pf::View::FlexibleWidth | pf::View::FlexibleHeight | pf::View::FlexibleBottomMargin;
    toolbarMask = pf::View::FlexibleWidth | pf::View::FlexibleTopMargin | pf::View::FlexibleHeight |
                  pf::View::FlexibleBottomMargin;
  }
  const double w = root->bounds().width(), h = root->bounds().height();

  v->webView_ = GADWebView::create({0, 0, w, h - toolbarHeight});
  v->webView_->setAutoresizingMask(pageMask);
  root->addSubview(v->webView_);
  v->webView_->setDataDetectorTypes(pf::WebView::DataDetectorAll);

  auto self = std::static_pointer_cast<GADBrowserController>(shared_from_this());
  auto delegate = GADBrowserWebViewDelegate::createWithBrowserController(self);
  delegate->setViewController(self);
  delegate->setOpeningWebView(openingWebView());
  delegate->opener()->setDelegateManager(delegateManager());
  v->webViewDelegate_ = delegate;
  v->webView_->setDelegate(delegate);

  if (v->urlToLoad_) {
    auto url = std::move(v->urlToLoad_);
    auto referrer = std::move(v->referringURLToLoad_);
    v->urlToLoad_.reset();
    v->referringURLToLoad_.reset();
    load(url, referrer);
  }

  v->toolbar_ = pf::Toolbar::create({0, h - toolbarHeight, w, toolbarHeight});
  v->toolbar_->setAutoresizingMask(toolbarMask);
  v->toolbar_->setAutoresizesSubviews(true);
  v->toolbar_->setTintColor(pf::Color::black());
  root->addSubview(v->toolbar_);
  createToolbarButtons();
  refreshToolbar();
}

std::shared_ptr<pf::BarButtonItem> GADBrowserController::buttonWithImage(std::shared_ptr<const pf::Image> image,
                                                                         const char* name, double width, bool enabled,
                                                                         void (GADBrowserController::*action)()) {
  std::weak_ptr<GADBrowserController> weak = std::static_pointer_cast<GADBrowserController>(shared_from_this());
  auto item = pf::BarButtonItem::withImage(std::move(image), pf::BarButtonItemStyle::Plain, [weak, action] {
    if (auto self = weak.lock()) ((*self).*action)();
  });
  item->setWidth(width);
  item->setEnabled(enabled);
  item->setIsAccessibilityElement(true);
  item->setAccessibilityLabel(name);
  return item;
}

void GADBrowserController::createToolbarButtons() {
  auto v = vars();
  std::weak_ptr<GADBrowserController> weak = std::static_pointer_cast<GADBrowserController>(shared_from_this());
  auto on = [weak](void (GADBrowserController::*action)()) {
    return [weak, action] {
      if (auto self = weak.lock()) ((*self).*action)();
    };
  };
  auto label = [](const std::shared_ptr<pf::BarButtonItem>& item, const char* name) {
    item->setIsAccessibilityElement(true);
    item->setAccessibilityLabel(name);
  };
  v->flexibleSpaceButton_ = pf::BarButtonItem::withSystemItem(pf::BarButtonSystemItem::FlexibleSpace);
  v->flexibleSpaceButton_->setIsAccessibilityElement(true);
  v->backButton_ = buttonWithImage(GADIntrinsicImages::browserBackButton(), "Back", 27, false, &GADBrowserController::back);
  v->forwardButton_ =
      buttonWithImage(GADIntrinsicImages::browserForwardButton(), "Forward", 27, false, &GADBrowserController::forward);

  v->spinner_ = pf::ActivityIndicatorView::create(pf::ActivityIndicatorStyle::White);
  v->spinner_->setAutoresizingMask(pf::View::FlexibleLeftMargin | pf::View::FlexibleRightMargin);
  v->spinner_->setFrame({0, 0, 20, 20});
  v->spinnerContainingButton_ = pf::BarButtonItem::withCustomView(v->spinner_);
  v->spinnerContainingButton_->setWidth(20);
  label(v->spinnerContainingButton_, "Spinner");

  v->reloadButton_ = pf::BarButtonItem::withSystemItem(pf::BarButtonSystemItem::Refresh, on(&GADBrowserController::reload));
  v->reloadButton_->setWidth(27);
  label(v->reloadButton_, "Reload");

  v->safariButton_ =
      pf::BarButtonItem::withSystemItem(pf::BarButtonSystemItem::Action, on(&GADBrowserController::openInSafari));
  v->safariButton_->setWidth(27);
  v->safariButton_->setEnabled(false);
  label(v->safariButton_, "View in Safari");

  v->doneButton_ =
      pf::BarButtonItem::withSystemItem(pf::BarButtonSystemItem::Done, on(&GADBrowserController::relinquishScreen));
  v->doneButton_->setStyle(pf::BarButtonItemStyle::Done);
  label(v->doneButton_, "Done");
}

void GADBrowserController::refreshToolbar() {
  auto v = vars();
  if (!v->webView_ || !v->toolbar_) return;
  v->backButton_->setEnabled(v->webView_->canGoBack());
  v->forwardButton_->setEnabled(v->webView_->canGoForward());
  const bool loading = v->webView_->isLoading();
  auto middle = loading ? v->spinnerContainingButton_ : v->reloadButton_;
  if (loading)
    v->spinner_->startAnimating();
  else
    v->spinner_->stopAnimating();
  v->safariButton_->setEnabled(!loading);
  auto space = v->flexibleSpaceButton_;
  v->toolbar_->setItems({v->backButton_, space, v->forwardButton_, space, middle, space, v->safariButton_, space,
                         v->doneButton_});
}

void GADBrowserController::back() {
  if (auto web = webView(); web && web->canGoBack()) web->goBack();
}

void GADBrowserController::forward() {
  if (auto web = webView(); web && web->canGoForward()) web->goForward();
}

void GADBrowserController::reload() {
  if (auto web = webView()) web->reload();
}

void GADBrowserController::stop() {
  if (auto web = webView()) web->stopLoading();
}

void GADBrowserController::openInSafari() {
  auto web = webView();
  std::optional<pf::Url> url;
  if (web && web->request()) url = web->request()->url();
  auto opener = GADOpener::create();
  opener->setDelegateManager(delegateManager());
  opener->openApp(url);
  GADStatistics::sharedStatistics()->setBreakOutToSafari();
}

void GADBrowserController::appDidEnterForeground() {
  auto v = vars();
  if (!v) return;
  if (v->webViewDelegate_ && v->webViewDelegate_->hasLoadedAtLeastOnce()) return;
  // Keeps the browser for the call, as a delayed message kept its target.
  auto self = std::static_pointer_cast<GADBrowserController>(shared_from_this());
  pf::RunLoop::main().performAfter(this, 0.0, [self] { self->relinquishScreen(); });
}

void GADBrowserController::didRotateFromInterfaceOrientation(pf::InterfaceOrientation from) {
  GADViewController::didRotateFromInterfaceOrientation(from);
  if (auto web = webView()) GADWebViewDelegate::notifyWebViewOfOrientationChange(web, interfaceOrientation());
}
