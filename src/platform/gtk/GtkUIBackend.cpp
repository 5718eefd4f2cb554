#include "platform/gtk/GtkUIBackend.h"

#include "platform/base/Log.h"
#include "platform/gtk/GtkActivityIndicatorPeer.h"
#include "platform/gtk/GtkAlertViewPeer.h"
#include "platform/gtk/GtkApplicationPeer.h"
#include "platform/gtk/GtkButtonPeer.h"
#include "platform/gtk/GtkDeviceProfile.h"
#include "platform/gtk/GtkEmbeddedWindowPeer.h"
#include "platform/gtk/GtkLabelPeer.h"
#include "platform/gtk/GtkMailComposerPeer.h"
#include "platform/gtk/GtkStyleSheet.h"
#include "platform/gtk/GtkTabBarPeer.h"
#include "platform/gtk/GtkToolbarPeer.h"
#include "platform/gtk/GtkViewPeer.h"
#include "platform/gtk/GtkWebViewPeer.h"
#include "platform/gtk/GtkWindowPeer.h"
#include "platform/ui/Device.h"

namespace pf {

std::shared_ptr<GtkUIBackend> GtkUIBackend::install(const std::string& applicationId) {
  if (!gtk_init_check()) {
    Log::message("GTK cannot open a display (set DISPLAY, or run under xvfb-run)");
    return nullptr;
  }
  // Not unique: a second copy (a test next to the app) is a second application, not a remote.
  auto app = GObjectRef<GtkApplication>::adopt(gtk_application_new(applicationId.c_str(), G_APPLICATION_NON_UNIQUE));
  GError* error = nullptr;
  if (!g_application_register(G_APPLICATION(app.get()), nullptr, &error)) {
    Log::message(std::string("GtkApplication not registered (no idle inhibition): ") + (error ? error->message : ""));
    g_clear_error(&error);
    app.reset();
  }
  return installWith(std::move(app));
}

std::shared_ptr<GtkUIBackend> GtkUIBackend::installInto(GtkApplication* application) {
  if (!gtk_init_check()) {
    Log::message("GTK cannot open a display (set DISPLAY, or run under xvfb-run)");
    return nullptr;
  }
  return installWith(GObjectRef<GtkApplication>::ref(application));
}

std::shared_ptr<GtkUIBackend> GtkUIBackend::installWith(GObjectRef<GtkApplication> application) {
  auto backend = std::shared_ptr<GtkUIBackend>(new GtkUIBackend());
  backend->application_ = std::move(application);
  Device::setProfile(GtkDeviceProfile::chosen());
  GtkStyleSheet::install();
  UIBackend::install(backend);
  return backend;
}

GtkUIBackend::~GtkUIBackend() = default;

std::unique_ptr<ViewPeer> GtkUIBackend::makeViewPeer(View&) { return std::make_unique<GtkViewPeer>(); }

std::unique_ptr<WindowPeer> GtkUIBackend::makeWindowPeer(Window& window, WindowPlacement placement) {
  if (placement == WindowPlacement::Embedded) return std::make_unique<GtkEmbeddedWindowPeer>(window);
  return std::make_unique<GtkWindowPeer>(window, application_.get(), placement);
}

std::unique_ptr<WebViewPeer> GtkUIBackend::makeWebViewPeer(WebView& view, WebViewPeerHost& host) {
  return std::make_unique<GtkWebViewPeer>(view, host);
}

std::unique_ptr<ButtonPeer> GtkUIBackend::makeButtonPeer(Button&) { return std::make_unique<GtkButtonPeer>(); }

std::unique_ptr<LabelPeer> GtkUIBackend::makeLabelPeer(Label&) { return std::make_unique<GtkLabelPeer>(); }

std::unique_ptr<ActivityIndicatorPeer> GtkUIBackend::makeActivityIndicatorPeer(ActivityIndicatorView&) {
  return std::make_unique<GtkActivityIndicatorPeer>();
}

std::unique_ptr<ToolbarPeer> GtkUIBackend::makeToolbarPeer(Toolbar&) { return std::make_unique<GtkToolbarPeer>(); }

std::unique_ptr<TabBarPeer> GtkUIBackend::makeTabBarPeer(TabBar& tabBar) {
  return std::make_unique<GtkTabBarPeer>(tabBar);
}

std::unique_ptr<AlertViewPeer> GtkUIBackend::makeAlertViewPeer(AlertView& alert) {
  return std::make_unique<GtkAlertViewPeer>(alert);
}

std::unique_ptr<MailComposerPeer> GtkUIBackend::makeMailComposerPeer(MailComposeViewController& composer) {
  return std::make_unique<GtkMailComposerPeer>(composer);
}

std::unique_ptr<ApplicationPeer> GtkUIBackend::makeApplicationPeer(Application&) {
  return std::make_unique<GtkApplicationPeer>(application_.get());
}

bool GtkUIBackend::canSendMail() {
  if (!UIBackend::canSendMail()) return false;
  GAppInfo* handler = g_app_info_get_default_for_uri_scheme("mailto");
  if (!handler) return false;
  g_object_unref(handler);
  return true;
}

int GtkUIBackend::runMainLoop() {
  if (quitRequested_) {  // the application ended before the loop began
    quitRequested_ = false;
    return 0;
  }
  loop_ = g_main_loop_new(nullptr, FALSE);
  if (application_) g_application_hold(G_APPLICATION(application_.get()));
  g_main_loop_run(loop_);
  if (application_) g_application_release(G_APPLICATION(application_.get()));
  g_main_loop_unref(loop_);
  loop_ = nullptr;
  quitRequested_ = false;
  return 0;
}

void GtkUIBackend::quitMainLoop() {
  if (loop_)
    g_main_loop_quit(loop_);
  else
    quitRequested_ = true;
}

}  // namespace pf
