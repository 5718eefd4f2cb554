#pragma once
// GADViewControllerPrivate: a full-screen controller's state, kept in the private-object
// registry under the controller. The browser and the overlay extend it.
#include <memory>

#include "platform/ui/WebView.h"
#include "sdk/delegate/GADDelegateManager.h"

class GADViewControllerPrivate {
 public:
  virtual ~GADViewControllerPrivate() = default;

  int supportedOrientations_ = 1;
  std::weak_ptr<pf::WebView> openingWebView_;  // not owned
  std::shared_ptr<GADDelegateManager> delegateManager_;
  bool statusBarWasHidden_ = false;
  bool publisherIdleTimerDisabled_ = false;
};
