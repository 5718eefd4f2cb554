#pragma once
// pf::WindowPeer: the backend's surface for a pf::Window (on the desktop, the phone-sized GTK
// window, or a widget in a window of the application that hosts us). Touches the backend
// sees are sent to Window::sendTouch.
#include "platform/ui/ViewPeer.h"

namespace pf {

// Where a backend shows a window.
enum class WindowPlacement {
  // On a screen of its own: the phone's screen, the desktop's phone-sized window.
  Screen,
  // Inside a window that the application hosting us owns (on the desktop, a widget that a
  // publisher places in its own window). Too small to cover: what is presented from inside
  // it goes to its presentation window (Window::presentationWindow).
  Embedded,
  // A screen of its own that is shown only while something is on it: where the full-screen
  // controllers presented from embedded windows go.
  Presentation,
};

class WindowPeer : public ViewPeer {
 public:
  // The window became the key window and is shown (after setHidden(false)).
  virtual void makeKeyAndVisible() {}
};

}  // namespace pf
