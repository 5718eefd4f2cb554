#include "platform/gtk/GtkApplicationPeer.h"

#include <string>

#include "platform/base/Log.h"
#include "platform/gtk/GtkTopLevel.h"
#include "platform/gtk/GtkWindowPeer.h"

namespace pf {

GtkApplicationPeer::GtkApplicationPeer(GtkApplication* application)
    : application_(GObjectRef<GtkApplication>::ref(application)) {}

GtkApplicationPeer::~GtkApplicationPeer() {
  if (cookie_ && application_) gtk_application_uninhibit(application_.get(), cookie_);
}

bool GtkApplicationPeer::canOpenURL(const Url& url) {
  if (url.scheme().empty()) return false;
  GAppInfo* handler = g_app_info_get_default_for_uri_scheme(url.scheme().c_str());
  if (!handler) return false;
  g_object_unref(handler);
  return true;
}

bool GtkApplicationPeer::openURL(const Url& url) {
  if (!canOpenURL(url)) return false;
  GError* error = nullptr;
  GdkAppLaunchContext* context = gdk_display_get_app_launch_context(gdk_display_get_default());
  bool opened = g_app_info_launch_default_for_uri(url.absoluteString().c_str(), G_APP_LAUNCH_CONTEXT(context), &error);
  g_object_unref(context);
  if (!opened) {
    Log::message("openURL: " + url.absoluteString() + ": " + (error ? error->message : "no handler"));
    g_clear_error(&error);
  }
  return opened;
}

void GtkApplicationPeer::setStatusBarHidden(bool hidden, bool) { GtkWindowPeer::setStatusBarHiddenEverywhere(hidden); }

void GtkApplicationPeer::setIdleTimerDisabled(bool disabled) {
  if (disabled == inhibitRequested_) return;
  inhibitRequested_ = disabled;
  if (!application_) return;
  if (disabled) {
    cookie_ = gtk_application_inhibit(application_.get(), GtkTopLevel::keyGtkWindow(),
                                      GTK_APPLICATION_INHIBIT_IDLE, "A full-screen page is shown");
  } else if (cookie_) {
    gtk_application_uninhibit(application_.get(), cookie_);
    cookie_ = 0;
  }
}

void GtkApplicationPeer::playSystemSound(unsigned) {
  if (GdkDisplay* display = gdk_display_get_default()) gdk_display_beep(display);
}

}  // namespace pf
