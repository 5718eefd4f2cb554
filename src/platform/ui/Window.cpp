#include "platform/ui/Window.h"

#include "platform/ui/Application.h"
#include "platform/ui/Control.h"
#include "platform/ui/Screen.h"
#include "platform/ui/UIBackend.h"
#include "platform/ui/ViewController.h"

namespace pf {

std::shared_ptr<Window> Window::create(const Rect& frame, WindowPlacement placement) {
  auto w = std::shared_ptr<Window>(new Window(frame.isEmpty() ? Screen::bounds() : frame, placement));
  Application::sharedApplication()->registerWindow(w);
  return w;
}

Window::Window(const Rect& frame, WindowPlacement placement)
    : View(frame, UIBackend::current().makeWindowPeer(*this, placement)), placement_(placement) {
  windowPeer_ = static_cast<WindowPeer*>(&peer());
  setHidden(true);  // windows start hidden, as on the phone
}

Window::~Window() = default;

std::shared_ptr<Window> Window::window() {
  return std::static_pointer_cast<Window>(shared_from_this());
}

std::shared_ptr<Window> Window::presentationWindow() {
  if (auto w = presentationWindow_.lock()) return w;
  return std::static_pointer_cast<Window>(shared_from_this());
}

void Window::makeKeyAndVisible() {
  makeKeyWindow();
  if (isHidden()) {
    setHidden(false);
    windowPeer_->makeKeyAndVisible();
    visibilityChanged(true);
  } else {
    windowPeer_->makeKeyAndVisible();
  }
}

void Window::makeKeyWindow() {
  Application::sharedApplication()->setKeyWindow(std::static_pointer_cast<Window>(shared_from_this()));
}

bool Window::isKeyWindow() const {
  return Application::sharedApplication()->keyWindow().get() == this;
}

// Showing the window: every self-managed controller inside appears (will, then did);
// hiding: disappears.
void Window::visibilityChanged(bool visible) {
  std::vector<std::shared_ptr<ViewController>> controllers;
  std::vector<View*> stack{this};
  while (!stack.empty()) {
    View* v = stack.back();
    stack.pop_back();
    if (auto vc = v->viewController()) controllers.push_back(vc);
    for (auto& s : v->subviews()) stack.push_back(s.get());
  }
  for (auto& vc : controllers) vc->windowVisibilityWillChange(visible);
  for (auto& vc : controllers) vc->windowVisibilityDidChange();
}

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
  if (controller == rootViewController_) return;
  if (rootViewController_ && rootViewController_->isViewLoaded()) {
    auto old = rootViewController_->view();
    if (old->superview().get() == this) old->removeFromSuperview();
  }
  rootViewController_ = std::move(controller);
  if (rootViewController_) {
    auto v = rootViewController_->view();
    Rect app = Screen::applicationFrame();
    v->setFrame(Rect(app.origin.x - frame().origin.x, app.origin.y - frame().origin.y,
                     app.width(), app.height()));
    addSubview(v);
  }
}

void Window::followInterfaceOrientation(InterfaceOrientation o) {
  Size screen = Screen::bounds().size;
  Size now = frame().size;
  bool coversScreen = (now.width == screen.width && now.height == screen.height) ||
                      (now.width == screen.height && now.height == screen.width);
  if (!coversScreen) return;
  Size turned = isLandscape(o) ? Size{screen.height, screen.width} : screen;
  setFrame(Rect(frame().origin.x, frame().origin.y, turned.width, turned.height));  // autoresizes the subviews
}

std::shared_ptr<View> Window::sendTouch(Point point) { return Control::deliverTouch(*this, point); }

}  // namespace pf
