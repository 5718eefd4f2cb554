#include "platform/ui/ViewController.h"

#include <algorithm>

#include "platform/base/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/ViewSlide.h"
#include "platform/ui/Window.h"

namespace pf {
namespace {
// Every live controller, for memory warnings; weak, oldest first.
std::vector<std::weak_ptr<ViewController>>& registry() {
  static std::vector<std::weak_ptr<ViewController>> all;
  return all;
}
}  // namespace

std::shared_ptr<ViewController> ViewController::create() {
  auto vc = std::shared_ptr<ViewController>(new ViewController());
  registerLive(vc);
  return vc;
}

void ViewController::registerLive(const std::shared_ptr<ViewController>& controller) {
  auto& all = registry();
  if (std::none_of(all.begin(), all.end(), [&](const auto& w) { return w.lock() == controller; }))
    all.push_back(controller);
}

ViewController::ViewController() = default;

ViewController::~ViewController() {
  RunLoop::main().cancelPendingCalls(this);
  if (view_) view_->viewController_.reset();
}

std::vector<std::shared_ptr<ViewController>> ViewController::liveControllers() {
  auto& all = registry();
  std::vector<std::shared_ptr<ViewController>> live;
  std::erase_if(all, [](const auto& w) { return w.expired(); });
  for (auto& w : all)
    if (auto vc = w.lock()) live.push_back(vc);
  return live;
}

// ---- the view ----

std::shared_ptr<View> ViewController::view() {
  if (!view_) {
    auto self = weak_from_this().lock();  // viewDidLoad may drop the last outside reference
    loadView();
    if (!view_) setView(View::create(Screen::applicationFrame()));
    // A subclass whose create() did not register still hears memory warnings once loaded.
    if (self) registerLive(self);
    viewDidLoad();
  }
  return view_;
}

void ViewController::setView(std::shared_ptr<View> view) {
  if (view_ == view) return;
  if (view_) view_->viewController_.reset();
  view_ = std::move(view);
  if (view_) view_->viewController_ = weak_from_this();
}

void ViewController::loadView() {
  if (viewBuilder_) {
    if (auto v = viewBuilder_(*this)) {
      setView(v);
      return;
    }
  }
  auto v = View::create(Screen::applicationFrame());
  v->setAutoresizingMask(View::FlexibleWidth | View::FlexibleHeight);
  setView(v);
}

void ViewController::didReceiveMemoryWarning() {
  if (view_ && !view_->window()) unloadView();
}

void ViewController::unloadView() {
  auto keep = view_;
  if (keep->superview()) keep->removeFromSuperview();
  setView(nullptr);
  viewDidUnload();
}

// ---- appearance ----

bool ViewController::selfManagedAppearance() const {
  return !containerParent_.lock() && !presenting_.lock() && !modal_ && !inTransition_;
}

void ViewController::beginAppearanceTransition(bool appearing, bool animated) {
  auto self = weak_from_this().lock();
  if (appearing) {
    if (appearance_ == Appearance::Appearing || appearance_ == Appearance::Appeared) return;
    view();
    appearance_ = Appearance::Appearing;
    appearanceAnimated_ = animated;
    viewWillAppear(animated);
  } else {
    if (appearance_ == Appearance::Disappearing || appearance_ == Appearance::Disappeared) return;
    appearance_ = Appearance::Disappearing;
    appearanceAnimated_ = animated;
    viewWillDisappear(animated);
  }
  for (auto& child : appearanceChildren()) child->beginAppearanceTransition(appearing, animated);
}

void ViewController::endAppearanceTransition() {
  auto self = weak_from_this().lock();
  if (appearance_ == Appearance::Appearing) {
    appearance_ = Appearance::Appeared;
    viewDidAppear(appearanceAnimated_);
  } else if (appearance_ == Appearance::Disappearing) {
    appearance_ = Appearance::Disappeared;
    viewDidDisappear(appearanceAnimated_);
  } else {
    return;
  }
  for (auto& child : appearanceChildren()) child->endAppearanceTransition();
}

void ViewController::rootViewWillMoveToWindow(Window* newWindow) {
  if (!selfManagedAppearance()) return;
  if (newWindow && newWindow->isVisible()) {
    pendingWindowAppear_ = true;
    beginAppearanceTransition(true, false);
  } else if (appearance_ == Appearance::Appeared || appearance_ == Appearance::Appearing) {
    pendingWindowDisappear_ = true;
    beginAppearanceTransition(false, false);
  }
}

void ViewController::rootViewDidMoveToWindow() {
  if (!pendingWindowAppear_ && !pendingWindowDisappear_) return;
  pendingWindowAppear_ = pendingWindowDisappear_ = false;
  endAppearanceTransition();
}

void ViewController::windowVisibilityWillChange(bool visible) {
  if (!selfManagedAppearance()) return;
  if (visible)
    pendingWindowAppear_ = true;
  else if (appearance_ == Appearance::Appeared || appearance_ == Appearance::Appearing)
    pendingWindowDisappear_ = true;
  else
    return;
  beginAppearanceTransition(visible, false);
}

void ViewController::windowVisibilityDidChange() { rootViewDidMoveToWindow(); }

// ---- rotation ----

bool ViewController::shouldAutorotateToInterfaceOrientation(InterfaceOrientation o) {
  return o == InterfaceOrientation::Portrait;
}

bool ViewController::acceptsInterfaceOrientation(InterfaceOrientation o) {
  return shouldAutorotateToInterfaceOrientation(o);
}

void ViewController::setInterfaceOrientationQuietly(InterfaceOrientation o) {
  interfaceOrientation_ = o;
  for (auto& child : appearanceChildren()) child->setInterfaceOrientationQuietly(o);
  if (auto tabs = dynamic_cast<TabBarController*>(this))
    for (auto& child : tabs->viewControllers()) child->interfaceOrientation_ = o;
}

void ViewController::rotateToInterfaceOrientation(InterfaceOrientation o, double duration) {
  auto self = weak_from_this().lock();
  InterfaceOrientation from = interfaceOrientation_;
  if (from == o) return;
  auto everyone = appearanceChildren();
  everyone.insert(everyone.begin(), self);
  for (auto& vc : everyone) vc->willRotateToInterfaceOrientation(o, duration);
  setInterfaceOrientationQuietly(o);
  if (auto window = view_ ? view_->window() : nullptr) {
    // No transforms here: the window takes the rotated screen's size (what else it holds
    // follows its autoresizing masks), and the root view the rotated application frame in it.
    window->followInterfaceOrientation(o);
    Rect screen = Screen::bounds();
    double bar = Application::sharedApplication()->isStatusBarHidden() ? 0 : Screen::kStatusBarHeight;
    double w = isLandscape(o) ? screen.height() : screen.width();
    double h = isLandscape(o) ? screen.width() : screen.height();
    view_->setFrame(Rect(0, bar, w, h - bar));
  }
  for (auto& vc : everyone) vc->didRotateFromInterfaceOrientation(from);
}

// ---- titles ----

void ViewController::setTitle(std::string title) {
  title_ = std::move(title);
  if (auto tabs = tabBarController()) tabs->childTabBarItemChanged();
}

void ViewController::setTabBarItem(TabBarItem item) {
  tabBarItem_ = std::move(item);
  if (auto tabs = tabBarController()) tabs->childTabBarItemChanged();
}

// ---- relations ----

std::shared_ptr<ViewController> ViewController::parentViewController() const {
  if (auto p = containerParent_.lock()) return p;
  return presenting_.lock();
}

std::shared_ptr<TabBarController> ViewController::tabBarController() const {
  for (auto p = containerParent_.lock(); p; p = p->containerParent_.lock())
    if (auto tabs = std::dynamic_pointer_cast<TabBarController>(p)) return tabs;
  return nullptr;
}

std::shared_ptr<ViewController> ViewController::presentationHost() {
  auto host = shared_from_this();
  while (auto up = host->containerParent_.lock()) host = up;
  return host;
}

std::shared_ptr<ViewController> ViewController::modalViewController() const {
  auto host = const_cast<ViewController*>(this)->presentationHost();
  return host->modal_;
}

std::shared_ptr<ViewController> ViewController::topPresentedController() {
  auto top = presentationHost();
  while (top->modal_) top = top->modal_;
  return top;
}

// ---- modal presentation ----

void ViewController::finishPendingTransition() {
  auto completion = pendingCompletion_.lock();
  if (!completion) return;
  pendingCompletion_.reset();
  RunLoop::main().cancel(pendingCallId_);
  (*completion)();
}

namespace {
// Where `vc`'s presentations show: its window's presentation window (an embedded window
// names another), else the key window's.
std::shared_ptr<Window> windowFor(const std::shared_ptr<ViewController>& vc) {
  if (vc->isViewLoaded())
    if (auto w = vc->view()->window()) return w->presentationWindow();
  auto key = Application::sharedApplication()->keyWindow();
  return key ? key->presentationWindow() : nullptr;
}

// The full-screen frame of a presented controller, in window coordinates.
Rect presentedFrame(const std::shared_ptr<Window>& window) {
  Rect app = Screen::applicationFrame();
  if (!window) return app;
  return Rect(app.origin.x - window->frame().origin.x, app.origin.y - window->frame().origin.y,
              app.width(), app.height());
}
}  // namespace

void ViewController::presentModalViewController(const std::shared_ptr<ViewController>& controller,
                                                bool animated) {
  if (!controller) return;
  auto host = presentationHost();
  host->finishPendingTransition();
  if (host->modal_ || controller->presenting_.lock() || controller->containerParent_.lock() ||
      controller == host) {
    // The phone toolkit refuses these too; the caller's state stays as it was.
    return;
  }
  auto window = windowFor(host);
  host->modal_ = controller;
  controller->presenting_ = host;
  host->inTransition_ = controller->inTransition_ = true;

  host->beginAppearanceTransition(false, animated);
  // The presented view has its full-screen size before it hears viewWillAppear, so what it
  // builds then is built at that size.
  auto shown = controller->view();
  shown->setFrame(presentedFrame(window));
  controller->beginAppearanceTransition(true, animated);
  if (window) window->addSubview(shown);
  // The default transition: the screen slides up from the bottom of the window.
  std::shared_ptr<ViewSlide> slide;
  if (animated && window && controller->modalTransitionStyle() == ModalTransitionStyle::CoverVertical) {
    const double finalY = shown->frame().origin.y;
    slide = ViewSlide::start(shown, window->bounds().height(), finalY, kTransitionDuration, ViewSlide::Easing::Out);
  }

  auto completion = std::make_shared<std::function<void()>>([host, controller, window, slide] {
    if (slide) slide->finish();
    host->pendingCompletion_.reset();
    if (host->isViewLoaded() && window && host->view()->window() == window)
      host->view()->removeFromSuperview();  // the covered screen leaves the window
    host->endAppearanceTransition();
    controller->endAppearanceTransition();
    host->inTransition_ = controller->inTransition_ = false;
  });
  if (!animated) {
    (*completion)();
    return;
  }
  host->pendingCompletion_ = completion;
  host->pendingCallId_ = RunLoop::main().performAfter(host.get(), kTransitionDuration, [completion] {
    (*completion)();  // keeps both controllers alive until the animation ends
  });
}

void ViewController::dismissModalViewControllerAnimated(bool animated) {
  auto host = presentationHost();
  host->finishPendingTransition();
  if (!host->modal_) {
    // A presented controller asks its presenter, as on the phone.
    if (auto presenter = host->presenting_.lock()) presenter->dismissModalViewControllerAnimated(animated);
    return;
  }
  std::vector<std::shared_ptr<ViewController>> chain;  // bottom to top
  for (auto c = host->modal_; c; c = c->modal_) {
    c->finishPendingTransition();
    chain.push_back(c);
  }
  auto top = chain.back();
  auto window = windowFor(top);
  for (auto& c : chain) c->inTransition_ = true;
  host->inTransition_ = true;

  top->beginAppearanceTransition(false, animated);
  host->beginAppearanceTransition(true, animated);
  if (window) {
    auto hostView = host->view();
    if (!hostView->window()) {
      hostView->setFrame(presentedFrame(window));
      if (top->isViewLoaded() && top->view()->superview() == window)
        window->insertSubviewBelow(hostView, top->view());
      else
        window->addSubview(hostView);
    }
  }

  // And back down, the reverse of the presentation.
  std::shared_ptr<ViewSlide> slide;
  if (animated && window && top->isViewLoaded() && top->view()->superview() == window &&
      top->modalTransitionStyle() == ModalTransitionStyle::CoverVertical) {
    auto shown = top->view();
    slide = ViewSlide::start(shown, shown->frame().origin.y, window->bounds().height(), kTransitionDuration,
                             ViewSlide::Easing::In);
  }

  auto completion = std::make_shared<std::function<void()>>([host, chain, window, slide] {
    if (slide) slide->finish();
    host->pendingCompletion_.reset();
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
      if ((*it)->isViewLoaded() && (*it)->view()->superview()) (*it)->view()->removeFromSuperview();
    chain.back()->endAppearanceTransition();
    host->endAppearanceTransition();
    // Unlink from the top down; the last references go when this call is dropped.
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      auto c = *it;
      c->inTransition_ = false;
      if (auto p = c->presenting_.lock()) p->modal_.reset();
      c->presenting_.reset();
    }
    host->inTransition_ = false;
    // The revealed controller may have been rotated away from: follow the status bar.
    auto app = Application::sharedApplication();
    InterfaceOrientation now = app->statusBarOrientation();
    if (host->interfaceOrientation() != now && host->acceptsInterfaceOrientation(now))
      host->rotateToInterfaceOrientation(now, 0);
  });
  if (!animated) {
    (*completion)();
    return;
  }
  host->pendingCompletion_ = completion;
  host->pendingCallId_ = RunLoop::main().performAfter(host.get(), kTransitionDuration, [completion] {
    (*completion)();
  });
}

}  // namespace pf
