#pragma once
// pf::ViewController: manages one root view (UIViewController on the phone).
//
// View loading: view() loads the root view on first use — loadView() (which by default builds
// the view from the controller's interface description, or makes a plain view the size of the
// application frame), then viewDidLoad(). A memory warning releases the view when it is not in
// a window and calls viewDidUnload(); the next view() loads it again.
//
// Appearance: viewWillAppear / viewDidAppear / viewWillDisappear / viewDidDisappear, each
// at most once per change: a controller that is appearing is not told again. Who drives them:
// a window showing the controller's root view (root controller, or a view added to a window);
// a container (pf::TabBarController) for its children; a modal presentation for the presented
// controller and the one it covers.
//
// Modal presentation: presentModalViewController(vc, animated) shows vc over the screen of the
// receiver (of its topmost container when the receiver is a container's child). Animated, the
// did-callbacks and the removal of the covered view come 0.3 s later, on a later run-loop pass.
// A presented controller is retained by its presenter until its dismissal ends; its
// parentViewController (and presentingViewController) is the presenter until then.
// dismissModalViewControllerAnimated on a presenter removes its presented controller and every
// controller presented above it; on a presented controller it asks its presenter. A new
// presentation or dismissal finishes the one still animating first.
//
// Subclasses override the hooks; the bases of the hooks do nothing, so calling them is
// optional.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/InterfaceOrientation.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/View.h"

namespace pf {

class TabBarController;
class Window;

class ViewController : public std::enable_shared_from_this<ViewController> {
 public:
  enum class ModalPresentationStyle { FullScreen = 0, PageSheet = 1, FormSheet = 2, CurrentContext = 3 };
  enum class ModalTransitionStyle { CoverVertical = 0, FlipHorizontal = 1, CrossDissolve = 2, PartialCurl = 3 };
  static constexpr double kTransitionDuration = 0.3;

  static std::shared_ptr<ViewController> create();
  virtual ~ViewController();
  ViewController(const ViewController&) = delete;
  ViewController& operator=(const ViewController&) = delete;

  // ---- the view ----
  std::shared_ptr<View> view();  // loads it on first use
  bool isViewLoaded() const { return view_ != nullptr; }
  void setView(std::shared_ptr<View> view);
  // Builds the root view the next time it is loaded (set by the interface description).
  using ViewBuilder = std::function<std::shared_ptr<View>(ViewController&)>;
  void setViewBuilder(ViewBuilder builder) { viewBuilder_ = std::move(builder); }

  virtual void loadView();
  virtual void viewDidLoad() {}
  virtual void viewDidUnload() {}
  // Default: releases the view when it is not in a window, then viewDidUnload().
  virtual void didReceiveMemoryWarning();

  // ---- appearance ----
  virtual void viewWillAppear(bool /*animated*/) {}
  virtual void viewDidAppear(bool /*animated*/) {}
  virtual void viewWillDisappear(bool /*animated*/) {}
  virtual void viewDidDisappear(bool /*animated*/) {}
  bool isAppeared() const { return appearance_ == Appearance::Appeared; }

  // ---- rotation ----
  InterfaceOrientation interfaceOrientation() const { return interfaceOrientation_; }
  // Default: portrait only, as on the phone.
  virtual bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation o);
  virtual void willRotateToInterfaceOrientation(InterfaceOrientation /*to*/, double /*duration*/) {}
  virtual void didRotateFromInterfaceOrientation(InterfaceOrientation /*from*/) {}

  // ---- titles ----
  const std::string& title() const { return title_; }
  void setTitle(std::string title);
  // The item shown for this controller in a tab bar; its title falls back to title().
  const TabBarItem& tabBarItem() const { return tabBarItem_; }
  void setTabBarItem(TabBarItem item);

  // ---- relations ----
  // The container holding this controller, else the controller that presented it.
  std::shared_ptr<ViewController> parentViewController() const;
  // The controller that presented this one (ask Device::offers(PresentingViewController)
  // before relying on it, as phone code does).
  std::shared_ptr<ViewController> presentingViewController() const { return presenting_.lock(); }
  // The controller this one (or its topmost container) presented.
  std::shared_ptr<ViewController> modalViewController() const;
  std::shared_ptr<TabBarController> tabBarController() const;

  // ---- modal presentation ----
  void presentModalViewController(const std::shared_ptr<ViewController>& controller, bool animated);
  void dismissModalViewControllerAnimated(bool animated);
  ModalPresentationStyle modalPresentationStyle() const { return modalPresentationStyle_; }
  void setModalPresentationStyle(ModalPresentationStyle s) { modalPresentationStyle_ = s; }
  ModalTransitionStyle modalTransitionStyle() const { return modalTransitionStyle_; }
  void setModalTransitionStyle(ModalTransitionStyle s) { modalTransitionStyle_ = s; }

  // Every live controller, oldest first (memory warnings reach them all).
  static std::vector<std::shared_ptr<ViewController>> liveControllers();

 protected:
  ViewController();

  // Containers: the controllers whose appearance follows this one's (default none).
  virtual std::vector<std::shared_ptr<ViewController>> appearanceChildren() const { return {}; }
  // Subclasses' create() registers what it makes, so memory warnings reach it.
  static void registerLive(const std::shared_ptr<ViewController>& controller);

 public:
  // ---- driven by windows, containers and presentations (not for application code) ----
  void setContainerParent(const std::shared_ptr<ViewController>& parent) { containerParent_ = parent; }
  void clearContainerParent() { containerParent_.reset(); }
  void beginAppearanceTransition(bool appearing, bool animated);
  void endAppearanceTransition();
  void rootViewWillMoveToWindow(Window* newWindow);
  void rootViewDidMoveToWindow();
  void windowVisibilityWillChange(bool visible);
  void windowVisibilityDidChange();
  // Rotation of this controller and its children to `o` (the application asks first): the
  // will-hooks, then its window takes the rotated size (Window::followInterfaceOrientation) and
  // the root view the rotated application frame, then the did-hooks.
  bool acceptsInterfaceOrientation(InterfaceOrientation o);
  void rotateToInterfaceOrientation(InterfaceOrientation o, double duration);
  void setInterfaceOrientationQuietly(InterfaceOrientation o);
  // The controller on top of this one's presentations (itself when none).
  std::shared_ptr<ViewController> topPresentedController();
  // This controller, or the topmost container above it.
  std::shared_ptr<ViewController> presentationHost();

 private:
  enum class Appearance { Disappeared, Appearing, Appeared, Disappearing };
  bool selfManagedAppearance() const;
  void finishPendingTransition();
  void unloadView();

  std::shared_ptr<View> view_;
  ViewBuilder viewBuilder_;
  Appearance appearance_ = Appearance::Disappeared;
  bool appearanceAnimated_ = false;
  bool inTransition_ = false;  // a presentation or dismissal manages this controller
  InterfaceOrientation interfaceOrientation_ = InterfaceOrientation::Portrait;
  std::string title_;
  TabBarItem tabBarItem_;
  std::weak_ptr<ViewController> containerParent_;  // e.g. the tab bar controller
  std::weak_ptr<ViewController> presenting_;       // who presented us
  std::shared_ptr<ViewController> modal_;          // what we presented (retained)
  ModalPresentationStyle modalPresentationStyle_ = ModalPresentationStyle::FullScreen;
  ModalTransitionStyle modalTransitionStyle_ = ModalTransitionStyle::CoverVertical;
  // The completion of a running animated transition, so the next one can finish it first.
  // The run loop's call holds it (and through it the controllers); we only look.
  std::weak_ptr<std::function<void()>> pendingCompletion_;
  uint64_t pendingCallId_ = 0;
  // Window visibility bookkeeping between the two halves of a change.
  bool pendingWindowDisappear_ = false;
  bool pendingWindowAppear_ = false;
};

}  // namespace pf
