#pragma once
/// @file
/// pf::ViewController: manages one root view.
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

/// Manages one root view (UIViewController on the phone).
///
/// View loading: view() loads the root view on first use — loadView() (which by default builds
/// the view from the controller's interface description, or makes a plain view the size of the
/// application frame), then viewDidLoad(). A memory warning releases the view when it is not in
/// a window and calls viewDidUnload(); the next view() loads it again.
///
/// Appearance: viewWillAppear / viewDidAppear / viewWillDisappear / viewDidDisappear, each
/// at most once per change: a controller that is appearing is not told again. Who drives them:
/// a window showing the controller's root view (root controller, or a view added to a window);
/// a container (a tab bar controller) for its children; a modal presentation for the presented
/// controller and the one it covers.
///
/// Modal presentation: presentModalViewController(vc, animated) shows vc over the screen of the
/// receiver (of its topmost container when the receiver is a container's child). Animated, the
/// did-callbacks and the removal of the covered view come 0.3 s later, on a later run-loop pass.
/// A presented controller is retained by its presenter until its dismissal ends; its
/// parentViewController (and presentingViewController) is the presenter until then.
/// dismissModalViewControllerAnimated on a presenter removes its presented controller and every
/// controller presented above it; on a presented controller it asks its presenter. A new
/// presentation or dismissal finishes the one still animating first. A controller inside an
/// embedded window (a pf::GtkViewHost's) presents on the window the embedded one names.
///
/// Subclasses override the hooks; the bases of the hooks do nothing, so calling them is
/// optional.
class ViewController : public std::enable_shared_from_this<ViewController> {
 public:
  /// How a presented controller covers the screen (the phone toolkit's numbers).
  enum class ModalPresentationStyle {
    FullScreen = 0,      ///< The whole screen.
    PageSheet = 1,       ///< A page-sized sheet (tablets).
    FormSheet = 2,       ///< A form-sized sheet (tablets).
    CurrentContext = 3,  ///< As its presenter is shown.
  };
  /// How a presented controller arrives (the phone toolkit's numbers).
  enum class ModalTransitionStyle {
    CoverVertical = 0,   ///< Slides up from the bottom (and back down).
    FlipHorizontal = 1,  ///< Flips over.
    CrossDissolve = 2,   ///< Fades in.
    PartialCurl = 3,     ///< Curls the presenter's page up.
  };
  /// Seconds an animated presentation or dismissal takes.
  static constexpr double kTransitionDuration = 0.3;

  /// A new controller; its view is loaded on first use.
  static std::shared_ptr<ViewController> create();
  virtual ~ViewController();
  ViewController(const ViewController&) = delete;
  ViewController& operator=(const ViewController&) = delete;

  /// @name The view
  /// @{

  /// The root view, loaded on first use.
  std::shared_ptr<View> view();
  /// Whether the root view is loaded (view() would not load it).
  bool isViewLoaded() const { return view_ != nullptr; }
  /// Sets the root view (this controller becomes its viewController()).
  void setView(std::shared_ptr<View> view);
  /// Builds the root view the next time it is loaded (set by the interface description).
  using ViewBuilder = std::function<std::shared_ptr<View>(ViewController&)>;
  /// Sets the ViewBuilder.
  void setViewBuilder(ViewBuilder builder) { viewBuilder_ = std::move(builder); }
  /// Makes the root view: the ViewBuilder's, else a plain view the size of the application
  /// frame. Subclasses may make their own and setView() it.
  virtual void loadView();
  /// After the root view was loaded.
  virtual void viewDidLoad() {}
  /// After a memory warning released the root view.
  virtual void viewDidUnload() {}
  /// Default: releases the view when it is not in a window, then viewDidUnload().
  virtual void didReceiveMemoryWarning();
  /// @}

  /// @name Appearance
  /// @{

  /// The root view is about to appear.
  virtual void viewWillAppear(bool /*animated*/) {}
  /// The root view appeared.
  virtual void viewDidAppear(bool /*animated*/) {}
  /// The root view is about to disappear.
  virtual void viewWillDisappear(bool /*animated*/) {}
  /// The root view disappeared.
  virtual void viewDidDisappear(bool /*animated*/) {}
  /// Whether the controller has appeared (and not begun to disappear).
  bool isAppeared() const { return appearance_ == Appearance::Appeared; }
  /// @}

  /// @name Rotation
  /// @{

  /// The orientation the controller's interface is in.
  InterfaceOrientation interfaceOrientation() const { return interfaceOrientation_; }
  /// Whether the interface may turn to `o`. Default: portrait only, as on the phone.
  virtual bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation o);
  /// The interface is about to turn to `to`, over `duration` seconds.
  virtual void willRotateToInterfaceOrientation(InterfaceOrientation /*to*/, double /*duration*/) {}
  /// The interface turned from `from`.
  virtual void didRotateFromInterfaceOrientation(InterfaceOrientation /*from*/) {}
  /// @}

  /// @name Titles
  /// @{

  /// The controller's title.
  const std::string& title() const { return title_; }
  /// Sets the title.
  void setTitle(std::string title);
  /// The item shown for this controller in a tab bar; its title falls back to title().
  const TabBarItem& tabBarItem() const { return tabBarItem_; }
  /// Sets the tab bar item.
  void setTabBarItem(TabBarItem item);
  /// @}

  /// @name Relations
  /// @{

  /// The container holding this controller, else the controller that presented it.
  std::shared_ptr<ViewController> parentViewController() const;
  /// The controller that presented this one (ask Device::offers(PresentingViewController)
  /// before relying on it, as phone code does).
  std::shared_ptr<ViewController> presentingViewController() const { return presenting_.lock(); }
  /// The controller this one (or its topmost container) presented.
  std::shared_ptr<ViewController> modalViewController() const;
  /// The tab bar controller this one is a page of, if any.
  std::shared_ptr<TabBarController> tabBarController() const;
  /// @}

  /// @name Modal presentation
  /// @{

  /// Shows `controller` over this one's screen (see the class description).
  void presentModalViewController(const std::shared_ptr<ViewController>& controller, bool animated);
  /// Removes the presented controllers (on a presented controller: asks its presenter).
  void dismissModalViewControllerAnimated(bool animated);
  /// How this controller covers the screen when presented.
  ModalPresentationStyle modalPresentationStyle() const { return modalPresentationStyle_; }
  /// Sets the presentation style.
  void setModalPresentationStyle(ModalPresentationStyle s) { modalPresentationStyle_ = s; }
  /// How this controller arrives when presented.
  ModalTransitionStyle modalTransitionStyle() const { return modalTransitionStyle_; }
  /// Sets the transition style.
  void setModalTransitionStyle(ModalTransitionStyle s) { modalTransitionStyle_ = s; }
  /// @}

  /// Every live controller, oldest first (memory warnings reach them all).
  static std::vector<std::shared_ptr<ViewController>> liveControllers();

 protected:
  /// For subclasses' create().
  ViewController();

  /// Containers: the controllers whose appearance follows this one's (default none).
  virtual std::vector<std::shared_ptr<ViewController>> appearanceChildren() const { return {}; }
  /// Subclasses' create() registers what it makes, so memory warnings reach it.
  static void registerLive(const std::shared_ptr<ViewController>& controller);

 public:
  /// @name Driven by windows, containers and presentations (not for application code)
  /// @{

  /// A container took this controller as its child.
  void setContainerParent(const std::shared_ptr<ViewController>& parent) { containerParent_ = parent; }
  /// The container let this controller go.
  void clearContainerParent() { containerParent_.reset(); }
  /// The first half of an appearance change: the will-hook.
  void beginAppearanceTransition(bool appearing, bool animated);
  /// The second half: the did-hook.
  void endAppearanceTransition();
  /// The root view is about to move into `newWindow` (or out of any).
  void rootViewWillMoveToWindow(Window* newWindow);
  /// The root view moved.
  void rootViewDidMoveToWindow();
  /// The window showing the root view is about to show or hide.
  void windowVisibilityWillChange(bool visible);
  /// The window showed or hid.
  void windowVisibilityDidChange();
  /// Whether this controller and its children accept `o`.
  bool acceptsInterfaceOrientation(InterfaceOrientation o);
  /// Rotation of this controller and its children to `o` (the application asks first): the
  /// will-hooks, then its window takes the rotated size (Window::followInterfaceOrientation) and
  /// the root view the rotated application frame, then the did-hooks.
  void rotateToInterfaceOrientation(InterfaceOrientation o, double duration);
  /// Takes `o` without the hooks (a controller that joins a turned interface).
  void setInterfaceOrientationQuietly(InterfaceOrientation o);
  /// The controller on top of this one's presentations (itself when none).
  std::shared_ptr<ViewController> topPresentedController();
  /// This controller, or the topmost container above it.
  std::shared_ptr<ViewController> presentationHost();
  /// @}

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
  /// The completion of a running animated transition, so the next one can finish it first.
  /// The run loop's call holds it (and through it the controllers); we only look.
  std::weak_ptr<std::function<void()>> pendingCompletion_;
  uint64_t pendingCallId_ = 0;
  /// Window visibility bookkeeping between the two halves of a change.
  bool pendingWindowDisappear_ = false;
  bool pendingWindowAppear_ = false;
};

}  // namespace pf
