#include "platform/gtk/GtkTouchRouter.h"

#include "platform/base/Clock.h"
#include "platform/base/DispatchMeter.h"
#include "platform/ui/Control.h"
#include "platform/ui/Window.h"

namespace pf {

GtkTouchRouter::GtkTouchRouter(Window& window, GtkWidget* eventWidget, GtkWidget* viewBox)
    : window_(window), eventWidget_(eventWidget), viewBox_(viewBox) {
  GtkGesture* click = gtk_gesture_click_new();
  gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(click), GDK_BUTTON_PRIMARY);
  gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(click), GTK_PHASE_CAPTURE);
  g_signal_connect(click, "pressed", G_CALLBACK(onPressed), this);
  g_signal_connect(click, "released", G_CALLBACK(onReleased), this);
  gesture_ = GTK_EVENT_CONTROLLER(click);
  gtk_widget_add_controller(eventWidget, gesture_);
}

GtkTouchRouter::~GtkTouchRouter() {
  g_signal_handlers_disconnect_by_data(gesture_, this);
  // The event widget may outlive us (a host application's widget): the gesture goes now.
  gtk_widget_remove_controller(eventWidget_, gesture_);
}

Point GtkTouchRouter::viewPoint(double x, double y) const {
  graphene_point_t in = GRAPHENE_POINT_INIT(float(x), float(y)), out;
  if (!gtk_widget_compute_point(eventWidget_, viewBox_, &in, &out)) out = in;
  return {out.x, out.y};
}

void GtkTouchRouter::onPressed(GtkGestureClick*, int, double x, double y, gpointer self) {
  DispatchMeter::Scope measured("touch down");
  auto* router = static_cast<GtkTouchRouter*>(self);
  auto keep = router->window_.window();  // a view's hit test may do anything; we stay alive
  Event touch(Event::Type::Touches, Clock::monotonic());
  auto hit = keep->hitTest(router->viewPoint(x, y), &touch);
  router->pressedControl_ = Control::owning(hit);
}

void GtkTouchRouter::onReleased(GtkGestureClick*, int, double x, double y, gpointer self) {
  DispatchMeter::Scope measured("touch up");
  auto* router = static_cast<GtkTouchRouter*>(self);
  auto control = router->pressedControl_.lock();
  router->pressedControl_.reset();
  if (!control) return;
  auto keep = router->window_.window();
  if (control->window() != keep) return;
  Point p = control->convertPointFromView(router->viewPoint(x, y), keep.get());
  if (control->pointInside(p, nullptr)) control->touchUpInside();
}

}  // namespace pf
