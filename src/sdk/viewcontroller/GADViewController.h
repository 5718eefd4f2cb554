#pragma once
// GADViewController: the base of the ad layer's full-screen screens (the in-app browser and
// the web-app overlay). It presents itself over the publisher's controller and keeps itself
// alive while on screen; tells the ad's delegate manager willPresentScreen, willDismissScreen
// and didDismissScreen; posts the two notifications below, on which every ad object pauses and
// resumes its refresh; hides the status strip and keeps the screen awake while shown, putting
// the publisher's settings back afterwards; and limits rotation to what the ad asked for.
//
//   auto browser = GADBrowserController::create();
//   browser->setSupportedOrientations(GADViewController::orientationFromString("portrait"));
//   browser->setDelegateManager(delegateManager);
//   browser->presentFromViewController(rootViewController);   // the creator may let go now
//   ...
//   browser->relinquishScreen();                               // Done, "close", …
//
// A screen presented from another GADViewController (a browser opened inside the overlay) is
// nested: it is shown and given back, posts both notifications, but leaves the delegate
// callbacks, the status strip and the screen-awake setting to the outermost one.
//
// Its state lives in a private object (createPrivateData, overridden by the subclasses) kept
// in the private-object registry under the controller. Main thread only.
#include <memory>
#include <string_view>

#include "platform/base/Value.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "sdk/delegate/GADDelegateManager.h"

inline constexpr char GADViewControllerWillPresentFullScreen[] = "GADViewControllerWillPresentFullScreen";
inline constexpr char GADViewControllerDidRelinquishFullScreen[] = "GADViewControllerDidRelinquishFullScreen";

// The key of the page's "settings" message that names the orientations.
inline constexpr char kGADSupportedOrientationsKey[] = "supportedorientations";
inline constexpr char kGADNoViewControllerMessage[] =
    "<Diziva> No UIViewController supplied to the ad.  Cannot continue.";

// Orientations full-screen content may take.
enum GADOrientation : int {
  kGADOrientationNotGiven = 0,
  kGADOrientationAny = 1,
  kGADOrientationPortrait = 2,
  kGADOrientationLandscape = 3,
};

class GADViewControllerPrivate;

class GADViewController : public pf::ViewController {
 public:
  static std::shared_ptr<GADViewController> create();
  ~GADViewController() override;

  // "any" 1, "portrait" 2, "landscape" 3; anything else (other letter case too) 0.
  static int orientationFromString(std::string_view text) {
    if (text == "any") return kGADOrientationAny;
    if (text == "portrait") return kGADOrientationPortrait;
    if (text == "landscape") return kGADOrientationLandscape;
    return kGADOrientationNotGiven;
  }

  // ---- state (in the private object) ----
  std::shared_ptr<GADViewControllerPrivate> privateData() const;
  // An empty manager is made on first read when none was given.
  std::shared_ptr<GADDelegateManager> delegateManager() const;
  void setDelegateManager(std::shared_ptr<GADDelegateManager> manager);
  int supportedOrientations() const;
  void setSupportedOrientations(int orientations);  // 0 is ignored
  std::shared_ptr<pf::WebView> openingWebView() const;
  void setOpeningWebView(std::weak_ptr<pf::WebView> view);  // not retained
  bool statusBarWasHidden() const;

  // ---- the screen ----
  // Over `presenter` (none: logged, nothing happens).
  void presentFromViewController(const std::shared_ptr<pf::ViewController>& presenter);
  void presentSelfFrom(const std::shared_ptr<pf::ViewController>& presenter);
  // Gives the screen back: the target of every close action.
  void relinquishScreen();
  // Not presented from another GADViewController (none counts too).
  bool isFirstGADViewController() const;
  // The page's "settings" message: its orientations, when understood.
  void settingsChanged(const pf::Value& userInfo);

  bool shouldAutorotateToInterfaceOrientation(pf::InterfaceOrientation o) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;

  // The web view whose page may send this screen "settings" (the subclass's page area).
  virtual std::shared_ptr<pf::WebView> pageWebView() const { return nullptr; }

 protected:
  GADViewController() = default;
  // The private object; subclasses return their own kind.
  virtual std::shared_ptr<GADViewControllerPrivate> createPrivateData();
  // Construction that needs the finished object (the virtual factory, the root view, the
  // observer): every create() calls it once.
  void initialize();

 private:
  std::shared_ptr<GADViewController> self_;  // while on screen
  bool presentedAsFirst_ = false;           // this one told the delegate it would present
};
