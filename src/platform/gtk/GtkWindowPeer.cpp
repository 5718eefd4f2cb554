#include "platform/gtk/GtkWindowPeer.h"

#include <algorithm>

#include "platform/base/Clock.h"
#include "platform/base/DispatchMeter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Bundle.h"
#include "platform/ui/Control.h"

namespace pf {
namespace {
guint stateJudgement = 0;  // the idle source judging the key window's state, while one is due

std::vector<GtkWindowPeer*>& livePeers() {
  static std::vector<GtkWindowPeer*> peers;
  return peers;
}
// The application's name from its bundle, as the phone showed it under the icon.
std::string windowTitle() {
  if (auto bundle = Bundle::mainBundle()) {
    for (const char* key : {"CFBundleDisplayName", "CFBundleName"})
      if (auto name = bundle->objectForInfoDictionaryKey(key).asString(); name && !name->empty()) return *name;
  }
  return "Ashenmoor";
}

}  // namespace

GtkWindowPeer::GtkWindowPeer(Window& window, GtkApplication* application)
    : window_(window), gtkWindow_(GObjectRef<GtkWindow>::ref(GTK_WINDOW(gtk_window_new()))) {
  GtkWindow* w = gtkWindow_.get();
  gtk_window_set_title(w, windowTitle().c_str());
  gtk_window_set_resizable(w, FALSE);
  gtk_widget_add_css_class(GTK_WIDGET(w), "pf-window");
  if (application) gtk_window_set_application(w, application);
  GtkWidget* overlay = gtk_overlay_new();
  gtk_overlay_set_child(GTK_OVERLAY(overlay), binding_.widget());
  gtk_overlay_add_overlay(GTK_OVERLAY(overlay), statusBar_.widget());
  gtk_window_set_child(w, overlay);

  GtkGesture* click = gtk_gesture_click_new();
  gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(click), GDK_BUTTON_PRIMARY);
  gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(click), GTK_PHASE_CAPTURE);
  g_signal_connect(click, "pressed", G_CALLBACK(onPressed), this);
  g_signal_connect(click, "released", G_CALLBACK(onReleased), this);
  gtk_widget_add_controller(GTK_WIDGET(w), GTK_EVENT_CONTROLLER(click));  // the window owns it

  // The rotation keys, before the focused widget (a web view) can take them.
  GtkEventController* keys = gtk_event_controller_key_new();
  gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
  g_signal_connect(keys, "key-pressed", G_CALLBACK(onKeyPressed), this);
  gtk_widget_add_controller(GTK_WIDGET(w), keys);  // the window owns it

  g_signal_connect(w, "close-request", G_CALLBACK(onCloseRequest), this);
  g_signal_connect(w, "notify::visible", G_CALLBACK(onVisibleChanged), this);
  g_signal_connect(w, "realize", G_CALLBACK(onRealize), this);
  g_signal_connect(w, "unrealize", G_CALLBACK(onUnrealize), this);
  livePeers().push_back(this);
}

GtkWindowPeer::~GtkWindowPeer() {
  std::erase(livePeers(), this);
  if (livePeers().empty() && stateJudgement) {
    g_source_remove(stateJudgement);
    stateJudgement = 0;
  }
  GtkWindow* w = gtkWindow_.get();
  // Our handlers first (the controllers' data is us too), then the surface watch.
  g_signal_handlers_disconnect_by_data(w, this);
  GListModel* controllers = gtk_widget_observe_controllers(GTK_WIDGET(w));
  for (guint i = 0; i < g_list_model_get_n_items(controllers); ++i) {
    GObject* c = G_OBJECT(g_list_model_get_item(controllers, i));
    g_signal_handlers_disconnect_by_data(c, this);
    g_object_unref(c);
  }
  g_object_unref(controllers);
  if (surface_) g_signal_handlers_disconnect_by_data(surface_.get(), this);
  // The root box is ours (the binding's): take it out before the window goes.
  gtk_overlay_set_child(GTK_OVERLAY(gtk_window_get_child(w)), nullptr);
  gtk_window_destroy(w);
}

GtkWindowPeer* GtkWindowPeer::of(Window& window) { return dynamic_cast<GtkWindowPeer*>(&window.peer()); }

GtkWindow* GtkWindowPeer::keyGtkWindow() {
  auto key = Application::sharedApplication()->keyWindow();
  GtkWindowPeer* peer = key ? of(*key) : nullptr;
  return peer ? peer->gtkWindow() : nullptr;
}

void GtkWindowPeer::setStatusBarHiddenEverywhere(bool hidden) {
  for (auto* p : livePeers()) gtk_widget_set_visible(p->statusBar_.widget(), !hidden);
}

void GtkWindowPeer::syncStatusBar() {
  gtk_widget_set_visible(statusBar_.widget(), !Application::sharedApplication()->isStatusBarHidden());
}

void GtkWindowPeer::setFrame(const Rect& frame, const Rect& bounds) {
  GtkViewPeerOf<WindowPeer>::setFrame(frame, bounds);
  // One point is one GTK logical pixel; GTK maps it to the monitor's scale.
  int w = int(frame.width()), h = int(frame.height());
  gtk_widget_set_size_request(binding_.widget(), w, h);
  gtk_window_set_default_size(gtkWindow_.get(), w, h);
}

void GtkWindowPeer::setHidden(bool hidden) {
  if (hidden) {
    gtk_widget_set_visible(GTK_WIDGET(gtkWindow_.get()), FALSE);
  } else {
    syncStatusBar();
    gtk_window_present(gtkWindow_.get());
  }
}

void GtkWindowPeer::makeKeyAndVisible() {
  syncStatusBar();
  gtk_window_present(gtkWindow_.get());
}

Point GtkWindowPeer::surfacePoint(Point p) const {
  GtkWidget* native = GTK_WIDGET(gtkWindow_.get());
  graphene_point_t in = GRAPHENE_POINT_INIT(float(p.x), float(p.y)), out;
  if (!gtk_widget_compute_point(binding_.widget(), native, &in, &out)) out = in;
  double dx = 0, dy = 0;
  gtk_native_get_surface_transform(GTK_NATIVE(native), &dx, &dy);  // client-side decoration margins
  return {out.x + dx, out.y + dy};
}

// ---- touches ----

Point GtkWindowPeer::viewPoint(double x, double y) const {
  graphene_point_t in = GRAPHENE_POINT_INIT(float(x), float(y)), out;
  if (!gtk_widget_compute_point(GTK_WIDGET(gtkWindow_.get()), binding_.widget(), &in, &out)) out = in;
  return {out.x, out.y};
}

void GtkWindowPeer::onPressed(GtkGestureClick*, int, double x, double y, gpointer self) {
  DispatchMeter::Scope measured("touch down");
  auto* peer = static_cast<GtkWindowPeer*>(self);
  auto keep = peer->window_.window();  // a view's hit test may do anything; we stay alive
  Event touch(Event::Type::Touches, Clock::monotonic());
  auto hit = keep->hitTest(peer->viewPoint(x, y), &touch);
  peer->pressedControl_ = Control::owning(hit);
}

void GtkWindowPeer::onReleased(GtkGestureClick*, int, double x, double y, gpointer self) {
  DispatchMeter::Scope measured("touch up");
  auto* peer = static_cast<GtkWindowPeer*>(self);
  auto control = peer->pressedControl_.lock();
  peer->pressedControl_.reset();
  if (!control) return;
  auto keep = peer->window_.window();
  if (control->window() != keep) return;
  Point p = control->convertPointFromView(peer->viewPoint(x, y), keep.get());
  if (control->pointInside(p, nullptr)) control->touchUpInside();
}

// ---- rotation keys ----

gboolean GtkWindowPeer::onKeyPressed(GtkEventControllerKey*, guint keyval, guint, GdkModifierType state, gpointer) {
  // Ctrl and nothing else (Caps Lock and Num Lock are not modifiers here).
  if ((state & gtk_accelerator_get_default_mod_mask()) != GDK_CONTROL_MASK) return FALSE;
  InterfaceOrientation o;
  switch (keyval) {
    case GDK_KEY_Left: case GDK_KEY_KP_Left: o = InterfaceOrientation::LandscapeLeft; break;
    case GDK_KEY_Right: case GDK_KEY_KP_Right: o = InterfaceOrientation::LandscapeRight; break;
    case GDK_KEY_Up: case GDK_KEY_KP_Up: o = InterfaceOrientation::Portrait; break;
    case GDK_KEY_Down: case GDK_KEY_KP_Down: o = InterfaceOrientation::PortraitUpsideDown; break;
    default: return FALSE;
  }
  // The neutral layer decides; an accepted turn resizes the neutral window, and setFrame us.
  Application::sharedApplication()->deviceOrientationDidChange(o);
  return TRUE;  // the device turned (or refused to): the page does not see the key
}

// ---- application states ----

gboolean GtkWindowPeer::onCloseRequest(GtkWindow*, gpointer) {
  // Closing the phone's screen quits the application: the loop ends, the window stays ours
  // (GTK must not destroy what the neutral window still shows).
  Application::sharedApplication()->terminate();
  return TRUE;
}

void GtkWindowPeer::onVisibleChanged(GObject*, GParamSpec*, gpointer self) {
  if (static_cast<GtkWindowPeer*>(self)->drivesApplication()) stateMayHaveChanged();
}

void GtkWindowPeer::stateMayHaveChanged() {
  if (!stateJudgement) stateJudgement = g_idle_add(judgeState, nullptr);
}

gboolean GtkWindowPeer::judgeState(gpointer) {
  stateJudgement = 0;
  auto app = Application::sharedApplication();
  // Before launch the neutral launch decides; after termination nothing does.
  if (!app->hasFinishedLaunching() || app->isTerminated()) return G_SOURCE_REMOVE;
  auto key = app->keyWindow();
  GtkWindowPeer* peer = key ? of(*key) : nullptr;
  if (!peer) return G_SOURCE_REMOVE;
  // Shown and not minimised: the keyboard focus does not matter.
  bool onScreen = gtk_widget_get_visible(GTK_WIDGET(peer->gtkWindow())) && !peer->minimized_;
  if (onScreen) {
    app->enterForeground();  // nothing unless it was in the background
    app->becomeActive();     // nothing if it is active already
  } else {
    app->enterBackground();  // resigns active first
  }
  return G_SOURCE_REMOVE;
}

void GtkWindowPeer::onRealize(GtkWidget* widget, gpointer self) {
  auto* peer = static_cast<GtkWindowPeer*>(self);
  GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(widget));
  if (!surface) return;
  peer->surface_ = GObjectRef<GdkSurface>::ref(surface);
  peer->minimized_ = gdk_toplevel_get_state(GDK_TOPLEVEL(surface)) & GDK_TOPLEVEL_STATE_MINIMIZED;
  g_signal_connect(surface, "notify::state", G_CALLBACK(onSurfaceState), peer);
}

void GtkWindowPeer::onUnrealize(GtkWidget*, gpointer self) {
  auto* peer = static_cast<GtkWindowPeer*>(self);
  if (peer->surface_) g_signal_handlers_disconnect_by_data(peer->surface_.get(), peer);
  peer->surface_.reset();
  peer->minimized_ = false;  // a new surface says again
}

void GtkWindowPeer::onSurfaceState(GObject* surface, GParamSpec*, gpointer self) {
  auto* peer = static_cast<GtkWindowPeer*>(self);
  bool minimized = gdk_toplevel_get_state(GDK_TOPLEVEL(surface)) & GDK_TOPLEVEL_STATE_MINIMIZED;
  if (minimized == peer->minimized_) return;
  peer->minimized_ = minimized;
  if (peer->drivesApplication()) stateMayHaveChanged();
}

}  // namespace pf
