#pragma once
// pf::SimUIBackend: the sim backend's peers. Views draw nothing; web views, the application,
// alerts and the mail form are scriptable (SimUIWebView, SimUIApplication, SimUIAlertView,
// SimUIMailComposer). Tests install it through pf::SimUIEnvironment.
#include <memory>

#include "platform/ui/Geometry.h"
#include "platform/ui/UIBackend.h"

namespace pf {

class View;

class SimUIBackend : public UIBackend {
 public:
  std::unique_ptr<WebViewPeer> makeWebViewPeer(WebView& view, WebViewPeerHost& host) override;
  std::unique_ptr<AlertViewPeer> makeAlertViewPeer(AlertView& alert) override;
  std::unique_ptr<MailComposerPeer> makeMailComposerPeer(MailComposeViewController& composer) override;
  std::unique_ptr<ApplicationPeer> makeApplicationPeer(Application& app) override;

  int runMainLoop() override { return 0; }  // the test runs the loop (pf::SimClock)
  void quitMainLoop() override { ++quitRequests_; }
  int quitRequests() const { return quitRequests_; }

  // A touch at `point` in `view`'s coordinates, as a finger on the screen: through the
  // window's hit test when the view is in one, else through the root of its tree. Returns
  // the view that the hit test found.
  static std::shared_ptr<View> touch(View& view, Point point);

 private:
  int quitRequests_ = 0;
};

}  // namespace pf
