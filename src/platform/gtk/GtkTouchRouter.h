#pragma once
// pf::GtkTouchRouter: touches for the view tree of one pf::Window on the desktop. A
// primary-button press on the event widget is first shown to the neutral hit test as a touch
// (a capture-phase click gesture, so it comes before the widget under the pointer — the web
// engine — sees the press; the press still goes on to it). The release completes a "touch up
// inside" for the control the press hit, when it ends inside it.
//
//   touches_.emplace(window, GTK_WIDGET(gtkWindow), binding_.widget());
#include <gtk/gtk.h>

#include <memory>

#include "platform/ui/Geometry.h"

namespace pf {

class Control;
class Window;

class GtkTouchRouter {
 public:
  // `eventWidget` gets the gesture; `viewBox` is the window's own box, in whose coordinates
  // the window's are. Both must outlive the router, and so must `window` (the peer's owner).
  GtkTouchRouter(Window& window, GtkWidget* eventWidget, GtkWidget* viewBox);
  ~GtkTouchRouter();
  GtkTouchRouter(const GtkTouchRouter&) = delete;
  GtkTouchRouter& operator=(const GtkTouchRouter&) = delete;

  // A point in the event widget's coordinates, in the window's.
  Point viewPoint(double x, double y) const;

 private:
  static void onPressed(GtkGestureClick*, int presses, double x, double y, gpointer self);
  static void onReleased(GtkGestureClick*, int presses, double x, double y, gpointer self);

  Window& window_;
  GtkWidget* eventWidget_;
  GtkWidget* viewBox_;
  GtkEventController* gesture_;  // the event widget owns it
  std::weak_ptr<Control> pressedControl_;
};

}  // namespace pf
