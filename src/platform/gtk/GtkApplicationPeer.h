#pragma once
// pf::GtkApplicationPeer: the desktop around the application. URLs go to the desktop's
// default handler of their scheme (GIO); the status bar strip of every window shows or
// hides; "idle timer disabled" holds an idle inhibition on the GtkApplication for as long as
// it is set.
#include <gtk/gtk.h>

#include "platform/gtk/GObjectRef.h"
#include "platform/ui/ApplicationPeer.h"

namespace pf {

class GtkApplicationPeer : public ApplicationPeer {
 public:
  // `application` may be nullptr (no idle inhibition then).
  explicit GtkApplicationPeer(GtkApplication* application);
  ~GtkApplicationPeer() override;

  bool openURL(const Url& url) override;
  bool canOpenURL(const Url& url) override;
  void setStatusBarHidden(bool hidden, bool animated) override;
  void setIdleTimerDisabled(bool disabled) override;
  // The desktop has no vibration: every system sound rings the display's bell.
  void playSystemSound(unsigned soundID) override;

  // Whether an idle inhibition is asked for now, and the session's cookie (0: the session
  // has no inhibitor to hold it, as under Xvfb).
  bool isIdleInhibitRequested() const { return inhibitRequested_; }
  guint inhibitCookie() const { return cookie_; }

 private:
  GObjectRef<GtkApplication> application_;
  bool inhibitRequested_ = false;
  guint cookie_ = 0;
};

}  // namespace pf
