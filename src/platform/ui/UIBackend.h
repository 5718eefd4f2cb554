#pragma once
// pf::UIBackend: the factory of peers that a backend installs once (the desktop in main, the
// sim backend in a test fixture). Each neutral object asks it for its peer when it is made.
// The base class makes peers that draw nothing and answer "no", so the neutral semantics run
// without any backend; a backend overrides the kinds it draws.
//
//   pf::UIBackend::install(std::make_shared<MyBackend>());
//   ...
//   pf::ApplicationMain(argc, argv);   // runs the backend's main loop
#include <memory>

#include "platform/ui/WindowPeer.h"

namespace pf {

class ActivityIndicatorPeer;
class ActivityIndicatorView;
class AlertView;
class AlertViewPeer;
class Application;
class ApplicationPeer;
class Button;
class ButtonPeer;
class Label;
class LabelPeer;
class MailComposeViewController;
class MailComposerPeer;
class TabBar;
class TabBarPeer;
class Toolbar;
class ToolbarPeer;
class View;
class ViewPeer;
class WebView;
class WebViewPeer;
class WebViewPeerHost;
class Window;

class UIBackend {
 public:
  virtual ~UIBackend() = default;

  // The installed backend (a do-nothing one until something is installed).
  static UIBackend& current();
  // Installs `backend` (nullptr: the do-nothing one); returns the previous one. Objects made
  // before keep the peers they have.
  static std::shared_ptr<UIBackend> install(std::shared_ptr<UIBackend> backend);

  // Peers. The object passed is being constructed: a peer may keep a reference to it but
  // must not call it before the factory returns.
  virtual std::unique_ptr<ViewPeer> makeViewPeer(View& view);
  virtual std::unique_ptr<WindowPeer> makeWindowPeer(Window& window, WindowPlacement placement);
  virtual std::unique_ptr<WebViewPeer> makeWebViewPeer(WebView& view, WebViewPeerHost& host);
  virtual std::unique_ptr<ButtonPeer> makeButtonPeer(Button& button);
  virtual std::unique_ptr<LabelPeer> makeLabelPeer(Label& label);
  virtual std::unique_ptr<ActivityIndicatorPeer> makeActivityIndicatorPeer(ActivityIndicatorView& view);
  virtual std::unique_ptr<ToolbarPeer> makeToolbarPeer(Toolbar& toolbar);
  virtual std::unique_ptr<TabBarPeer> makeTabBarPeer(TabBar& tabBar);
  virtual std::unique_ptr<AlertViewPeer> makeAlertViewPeer(AlertView& alert);
  virtual std::unique_ptr<MailComposerPeer> makeMailComposerPeer(MailComposeViewController& composer);
  virtual std::unique_ptr<ApplicationPeer> makeApplicationPeer(Application& app);

  // Whether the system can send mail at all (the composer's canSendMail).
  virtual bool canSendMail();

  // Runs the main loop until quitMainLoop(); returns the process's exit status. The base
  // returns at once (a test drives the loop itself).
  virtual int runMainLoop() { return 0; }
  virtual void quitMainLoop() {}
};

}  // namespace pf
