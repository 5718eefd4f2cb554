#pragma once
// pf::GtkUIBackend: the desktop's peers — GTK 4 widgets at the views' frames, WebKitGTK web
// views, GTK alerts and mail form, GIO for other applications — and GLib's main loop.
//
//   int main(int argc, char* argv[]) {
//     pf::DesktopPlatform::install();                  // run loop driver, HTTP, reachability
//     if (!pf::GtkUIBackend::install()) return 1;      // no display
//     return pf::ApplicationMain(argc, argv);
//   }
//
// install() initialises GTK, registers a GtkApplication of its own (for idle inhibition and
// the desktop's idea of who we are), installs the device profile (pf::GtkDeviceProfile) and
// the style, and makes this the current backend; runMainLoop() runs GLib's main loop.
// installInto(application) does the same inside a GtkApplication that someone else made,
// registered and runs (pf::DesktopEmbedding): the application, its main loop and its windows
// stay theirs, and this backend's windows never keep it running.
//
// Windows by placement: Screen and Presentation windows are phone-sized GTK windows
// (pf::GtkWindowPeer), an Embedded window is a widget for the host to place
// (pf::GtkEmbeddedWindowPeer).
#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "platform/gtk/GObjectRef.h"
#include "platform/ui/UIBackend.h"

namespace pf {

class GtkUIBackend : public UIBackend {
 public:
  static constexpr const char* kApplicationId = "org.ashenmoor.Ashenmoor";

  // Nullptr when GTK cannot open a display.
  static std::shared_ptr<GtkUIBackend> install(const std::string& applicationId = kApplicationId);
  // Nullptr when GTK cannot open a display. `application` is kept (a reference) for idle
  // inhibition and as the application of Screen windows.
  static std::shared_ptr<GtkUIBackend> installInto(GtkApplication* application);
  ~GtkUIBackend() override;

  GtkApplication* gtkApplication() const { return application_.get(); }

  std::unique_ptr<ViewPeer> makeViewPeer(View& view) override;
  std::unique_ptr<WindowPeer> makeWindowPeer(Window& window, WindowPlacement placement) override;
  std::unique_ptr<WebViewPeer> makeWebViewPeer(WebView& view, WebViewPeerHost& host) override;
  std::unique_ptr<ButtonPeer> makeButtonPeer(Button& button) override;
  std::unique_ptr<LabelPeer> makeLabelPeer(Label& label) override;
  std::unique_ptr<ActivityIndicatorPeer> makeActivityIndicatorPeer(ActivityIndicatorView& view) override;
  std::unique_ptr<ToolbarPeer> makeToolbarPeer(Toolbar& toolbar) override;
  std::unique_ptr<TabBarPeer> makeTabBarPeer(TabBar& tabBar) override;
  std::unique_ptr<AlertViewPeer> makeAlertViewPeer(AlertView& alert) override;
  std::unique_ptr<MailComposerPeer> makeMailComposerPeer(MailComposeViewController& composer) override;
  std::unique_ptr<ApplicationPeer> makeApplicationPeer(Application& app) override;

  // Mail can be sent when the device allows it and the desktop has a "mailto" handler.
  bool canSendMail() override;

  int runMainLoop() override;
  void quitMainLoop() override;
  bool isRunningMainLoop() const { return loop_ != nullptr; }

 private:
  GtkUIBackend() = default;
  static std::shared_ptr<GtkUIBackend> installWith(GObjectRef<GtkApplication> application);

  GObjectRef<GtkApplication> application_;
  GMainLoop* loop_ = nullptr;  // while runMainLoop runs
  bool quitRequested_ = false;
};

}  // namespace pf
