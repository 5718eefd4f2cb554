#include "platform/gtk/GtkViewHost.h"

#include "platform/gtk/GtkEmbeddedWindowPeer.h"
#include "platform/ui/Window.h"

namespace pf {
namespace {

// The one presentation window of every host, while any host lives.
std::shared_ptr<Window> presentationScreen() {
  static std::weak_ptr<Window> shared;
  if (auto screen = shared.lock()) return screen;
  auto screen = Window::create({}, WindowPlacement::Presentation);
  screen->setHidden(false);  // visible to the view tree; on the desktop only while in use
  shared = screen;
  return screen;
}

}  // namespace

struct GtkViewHost::Parts {
  std::shared_ptr<View> view;
  std::shared_ptr<ViewController> controller;
  std::shared_ptr<Window> strip;   // embedded: the publisher's widget
  std::shared_ptr<Window> screen;  // where the controller's presentations go
};

GtkViewHost::GtkViewHost() : parts_(std::make_unique<Parts>()) {}

std::shared_ptr<GtkViewHost> GtkViewHost::create(std::shared_ptr<View> view) {
  if (!view) return nullptr;
  auto host = std::shared_ptr<GtkViewHost>(new GtkViewHost());
  Parts& p = *host->parts_;
  Rect frame(0, 0, view->frame().width(), view->frame().height());
  p.view = std::move(view);
  p.screen = presentationScreen();
  p.strip = Window::create(frame, WindowPlacement::Embedded);
  p.strip->setPresentationWindow(p.screen);
  p.controller = ViewController::create();
  p.controller->setView(View::create(frame));
  p.view->setFrame(frame);
  p.controller->view()->addSubview(p.view);
  p.strip->addSubview(p.controller->view());
  p.strip->makeKeyAndVisible();
  return host;
}

GtkViewHost::~GtkViewHost() {
  // What the view presented would stay on the screen with nobody to close it.
  if (parts_->controller->modalViewController()) parts_->controller->dismissModalViewControllerAnimated(false);
}

GtkWidget* GtkViewHost::widget() const {
  auto* peer = GtkEmbeddedWindowPeer::of(*parts_->strip);
  return peer ? peer->widget() : nullptr;
}

std::shared_ptr<ViewController> GtkViewHost::viewController() const { return parts_->controller; }

std::shared_ptr<View> GtkViewHost::view() const { return parts_->view; }

}  // namespace pf
