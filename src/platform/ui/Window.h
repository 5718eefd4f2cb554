#pragma once
// pf::Window: the top of a view tree, shown by the backend (UIWindow on the phone). A
// window starts hidden; makeKeyAndVisible() shows it and makes it the application's key
// window. It can hold a root view controller, whose view it shows; or the application adds a
// controller's view itself (code for phones before OS 4.0 does so).
//
// Controllers whose root views enter or leave a shown window hear viewWillAppear /
// viewDidAppear (viewWillDisappear / viewDidDisappear), unless a container or a modal
// presentation manages them.
//
// Placement (pf::WindowPlacement): a window is a screen of its own unless made otherwise. An
// embedded window is a part of a window the hosting application owns; what its controllers
// present goes to the window it names as its presentation window.
//
//   auto strip = pf::Window::create({0, 0, 320, 50}, pf::WindowPlacement::Embedded);
//   strip->setPresentationWindow(screen);        // a Presentation window, not retained
//
// Rotation: there are no transforms. A window that covers the screen takes the rotated
// screen's size when its controller rotates (480×320 for a 320×480 screen in landscape), and
// its subviews follow their autoresizing masks; a backend shows the window at its frame.
#include <memory>

#include "platform/ui/InterfaceOrientation.h"
#include "platform/ui/View.h"
#include "platform/ui/WindowPeer.h"

namespace pf {

class ViewController;

class Window : public View {
 public:
  // A window the size of the screen when `frame` is empty.
  static std::shared_ptr<Window> create(const Rect& frame = {}, WindowPlacement placement = WindowPlacement::Screen);
  ~Window() override;

  void makeKeyAndVisible();
  void makeKeyWindow();
  bool isKeyWindow() const;
  // Hidden is the window's visibility; showing or hiding a window makes the controllers
  // inside appear or disappear.
  bool isVisible() const { return !isHidden(); }

  WindowPlacement placement() const { return placement_; }
  // Where controllers presented from inside this window show their screens: the window set
  // with setPresentationWindow while it lives, else this window.
  std::shared_ptr<Window> presentationWindow();
  void setPresentationWindow(std::weak_ptr<Window> window) { presentationWindow_ = std::move(window); }  // not retained

  std::shared_ptr<ViewController> rootViewController() const { return rootViewController_; }
  // Retained. Its view replaces the previous root controller's view, sized to the
  // application frame.
  void setRootViewController(std::shared_ptr<ViewController> controller);

  // A touch the backend (or a test) saw at `point` in window coordinates: hit-tests with a
  // touch event and lets the view it found handle it. Returns that view.
  std::shared_ptr<View> sendTouch(Point point);

  // The interface turned to `o` (ViewController::rotateToInterfaceOrientation asks): a window
  // the size of the screen, upright or turned, takes the screen's size in `o`; other windows
  // keep their frame.
  void followInterfaceOrientation(InterfaceOrientation o);

  std::shared_ptr<Window> window() override;

 protected:
  Window(const Rect& frame, WindowPlacement placement);

 private:
  friend class View;
  void visibilityChanged(bool visible);

  WindowPeer* windowPeer_;
  WindowPlacement placement_;
  std::weak_ptr<Window> presentationWindow_;
  std::shared_ptr<ViewController> rootViewController_;
};

}  // namespace pf
