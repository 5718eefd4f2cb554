#include "platform/ui/Application.h"

#include <algorithm>

#include "platform/base/NotificationCenter.h"
#include "platform/base/ValueBlockCache.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Device.h"
#include "platform/ui/Screen.h"
#include "platform/ui/UIBackend.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace pf {
namespace {
std::shared_ptr<Application>& shared() {
  static std::shared_ptr<Application> app;
  return app;
}
}  // namespace

std::shared_ptr<Application> Application::sharedApplication() {
  auto& app = shared();
  if (!app) app = std::shared_ptr<Application>(new Application());
  return app;
}

void Application::resetSharedApplication() {
  auto old = std::move(shared());  // destroyed here, after the slot is empty
}

Application::Application() : peer_(UIBackend::current().makeApplicationPeer(*this)) {}

Application::~Application() = default;

// ---- lifecycle ----

void Application::post(const char* name) {
  NotificationCenter::defaultCenter().postNotificationName(name, shared_from_this());
}

template <typename F>
void Application::tellDelegate(F f) {
  if (auto d = delegate_.lock()) f(*d);
}

bool Application::finishLaunching(const Value& options) {
  if (launched_) return true;
  auto self = shared_from_this();
  launched_ = true;
  state_ = ApplicationState::Inactive;
  bool answer = true;
  tellDelegate([&](ApplicationDelegate& d) {
    answer = d.applicationDidFinishLaunchingWithOptions(*this, options);
  });
  post(UIApplicationDidFinishLaunchingNotification);
  becomeActive();
  return answer;
}

void Application::becomeActive() {
  if (state_ != ApplicationState::Inactive || terminated_) return;
  auto self = shared_from_this();
  state_ = ApplicationState::Active;
  tellDelegate([&](ApplicationDelegate& d) { d.applicationDidBecomeActive(*this); });
  post(UIApplicationDidBecomeActiveNotification);
}

void Application::resignActive() {
  if (state_ != ApplicationState::Active || terminated_) return;
  auto self = shared_from_this();
  tellDelegate([&](ApplicationDelegate& d) { d.applicationWillResignActive(*this); });
  post(UIApplicationWillResignActiveNotification);
  state_ = ApplicationState::Inactive;
}

void Application::enterBackground() {
  if (state_ == ApplicationState::Background || terminated_) return;
  auto self = shared_from_this();
  resignActive();
  if (!Device::isMultitaskingSupported() || !Device::systemVersionAtLeast(4, 0)) {
    terminate();  // before multitasking, leaving the application ends it
    return;
  }
  state_ = ApplicationState::Background;
  tellDelegate([&](ApplicationDelegate& d) { d.applicationDidEnterBackground(*this); });
  post(UIApplicationDidEnterBackgroundNotification);
}

void Application::enterForeground() {
  if (state_ != ApplicationState::Background || terminated_) return;
  auto self = shared_from_this();
  tellDelegate([&](ApplicationDelegate& d) { d.applicationWillEnterForeground(*this); });
  post(UIApplicationWillEnterForegroundNotification);
  state_ = ApplicationState::Inactive;
}

void Application::terminate() {
  if (terminated_) return;
  auto self = shared_from_this();
  terminated_ = true;
  tellDelegate([&](ApplicationDelegate& d) { d.applicationWillTerminate(*this); });
  post(UIApplicationWillTerminateNotification);
  tasks_.clear();
  UIBackend::current().quitMainLoop();
}

void Application::receiveMemoryWarning() {
  auto self = shared_from_this();
  tellDelegate([&](ApplicationDelegate& d) { d.applicationDidReceiveMemoryWarning(*this); });
  post(UIApplicationDidReceiveMemoryWarningNotification);
  for (auto& vc : ViewController::liveControllers()) vc->didReceiveMemoryWarning();
  ValueBlockCache::releaseCached();  // container blocks kept for reuse on this thread
}

// ---- windows ----

std::vector<std::shared_ptr<Window>> Application::windows() const {
  std::vector<std::shared_ptr<Window>> out;
  for (auto& w : windows_)
    if (auto s = w.lock()) out.push_back(s);
  return out;
}

void Application::registerWindow(const std::shared_ptr<Window>& window) {
  std::erase_if(windows_, [](const auto& w) { return w.expired(); });
  windows_.push_back(window);
}

void Application::setKeyWindow(const std::shared_ptr<Window>& window) { keyWindow_ = window; }

// ---- status bar ----

void Application::setStatusBarHiddenWithAnimation(bool hidden, StatusBarAnimation animation) {
  if (statusBarHidden_ == hidden) return;
  statusBarHidden_ = hidden;
  peer_->setStatusBarHidden(hidden, animation != StatusBarAnimation::None);
}

void Application::setStatusBarHiddenAnimated(bool hidden, bool animated) {
  setStatusBarHiddenWithAnimation(hidden, animated ? StatusBarAnimation::Slide : StatusBarAnimation::None);
}

Rect Application::statusBarFrame() const {
  if (statusBarHidden_) return Rect();
  Rect s = Screen::bounds();
  double h = Screen::kStatusBarHeight;
  switch (statusBarOrientation_) {
    case InterfaceOrientation::Portrait: return Rect(0, 0, s.width(), h);
    case InterfaceOrientation::PortraitUpsideDown: return Rect(0, s.height() - h, s.width(), h);
    case InterfaceOrientation::LandscapeRight: return Rect(0, 0, h, s.height());
    case InterfaceOrientation::LandscapeLeft: return Rect(s.width() - h, 0, h, s.height());
  }
  return Rect();
}

void Application::setStatusBarOrientation(InterfaceOrientation o, bool animated) {
  if (statusBarOrientation_ == o) return;
  statusBarOrientation_ = o;
  peer_->setStatusBarOrientation(o, animated);
}

void Application::deviceOrientationDidChange(InterfaceOrientation o) {
  auto window = keyWindow();
  if (!window) return;
  std::shared_ptr<ViewController> root = window->rootViewController();
  if (!root) {
    // A controller's view added to the window by hand: the frontmost one.
    auto subs = window->subviews();
    for (auto it = subs.rbegin(); it != subs.rend() && !root; ++it) {
      if (auto vc = (*it)->viewController()) root = vc->presentationHost();
    }
  }
  if (!root) return;
  auto top = root->topPresentedController();
  if (!top->acceptsInterfaceOrientation(o)) return;
  setStatusBarOrientation(o, true);
  top->rotateToInterfaceOrientation(o, ViewController::kTransitionDuration);
}

// ---- idle timer, URLs ----

void Application::setIdleTimerDisabled(bool disabled) {
  idleTimerDisabled_ = disabled;
  peer_->setIdleTimerDisabled(disabled);
}

bool Application::openURL(const Url& url) { return peer_->openURL(url); }
bool Application::canOpenURL(const Url& url) { return peer_->canOpenURL(url); }

// ---- background tasks ----

BackgroundTaskIdentifier Application::beginBackgroundTaskWithExpirationHandler(std::function<void()> handler) {
  if (!Device::offers(Capability::BackgroundTasks)) return kBackgroundTaskInvalid;
  BackgroundTaskIdentifier id = nextTask_++;
  tasks_[id] = std::make_shared<std::function<void()>>(std::move(handler));
  return id;
}

void Application::endBackgroundTask(BackgroundTaskIdentifier id) { tasks_.erase(id); }

void Application::expireBackgroundTasks() {
  auto self = shared_from_this();
  auto open = tasks_;  // handlers end tasks (and may begin new ones) while we go
  for (auto& [id, handler] : open) {
    if (!tasks_.count(id)) continue;  // an earlier handler ended it
    if (*handler) (*handler)();
  }
  for (auto& [id, handler] : open) tasks_.erase(id);
}

// ---- alerts ----

void Application::alertShown(const std::shared_ptr<AlertView>& alert) {
  if (std::find(alerts_.begin(), alerts_.end(), alert) == alerts_.end()) alerts_.push_back(alert);
}

void Application::alertDismissed(const AlertView& alert) {
  std::erase_if(alerts_, [&](const auto& a) { return a.get() == &alert; });
}

}  // namespace pf
