#pragma once
// pf::ApplicationPeer: the system around the application — handing URLs to other
// applications, the status bar strip, the auto-lock. Lifecycle changes come the other way:
// the backend calls the pf::Application operations (resignActive, enterBackground, …).
#include "platform/base/Url.h"
#include "platform/ui/InterfaceOrientation.h"

namespace pf {

class ApplicationPeer {
 public:
  ApplicationPeer() = default;
  ApplicationPeer(const ApplicationPeer&) = delete;
  ApplicationPeer& operator=(const ApplicationPeer&) = delete;
  virtual ~ApplicationPeer() = default;

  // Hands the URL to the application that handles its scheme; false when none does.
  virtual bool openURL(const Url& /*url*/) { return false; }
  virtual bool canOpenURL(const Url& /*url*/) { return false; }
  virtual void setStatusBarHidden(bool /*hidden*/, bool /*animated*/) {}
  virtual void setStatusBarOrientation(InterfaceOrientation /*o*/, bool /*animated*/) {}
  virtual void setIdleTimerDisabled(bool /*disabled*/) {}
  // A short system sound or buzz (4095: the vibration).
  virtual void playSystemSound(unsigned /*soundID*/) {}
};

}  // namespace pf
