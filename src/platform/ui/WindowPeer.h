#pragma once
// pf::WindowPeer: the backend's top-level surface for a pf::Window (on the desktop, the
// phone-sized GTK window). Touches the backend sees are sent to Window::sendTouch.
#include "platform/ui/ViewPeer.h"

namespace pf {

class WindowPeer : public ViewPeer {
 public:
  // The window became the key window and is shown (after setHidden(false)).
  virtual void makeKeyAndVisible() {}
};

}  // namespace pf
