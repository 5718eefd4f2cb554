#include "app/AshenmoorAppDelegate.h"

#include "platform/ui/AlertView.h"

bool AshenmoorAppDelegate::applicationDidFinishLaunchingWithOptions(pf::Application&, const pf::Value&) {
  // The cancel button reads "OK" and the other one "Cancel": either only dismisses the notice.
  pf::AlertView::create(kAshenmoorNoticeTitle, kAshenmoorNoticeMessage, weak_from_this(), "OK", {"Cancel"})->show();
  window_->addSubview(tabBarController_->view());
  window_->makeKeyAndVisible();
  return true;
}
