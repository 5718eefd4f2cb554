#include "platform/gtk/GtkWindowPeer.h"

#include <algorithm>
#include <vector>

#include "platform/base/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Bundle.h"

namespace pf {
namespace {

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

GtkWindowPeer::GtkWindowPeer(Window& window, GtkApplication* application, WindowPlacement placement)
    : window_(window), placement_(placement), gtkWindow_(GObjectRef<GtkWindow>::ref(GTK_WINDOW(gtk_window_new()))) {
  GtkWindow* w = gtkWindow_.get();
  gtk_window_set_title(w, windowTitle().c_str());
  gtk_window_set_resizable(w, FALSE);
  gtk_widget_add_css_class(GTK_WIDGET(w), "pf-window");
  if (presentsOnDemand()) {
    gtk_window_set_modal(w, TRUE);
    gtk_window_set_deletable(w, FALSE);
  } else if (application) {
    gtk_window_set_application(w, application);
  }
  GtkWidget* overlay = gtk_overlay_new();
  gtk_overlay_set_child(GTK_OVERLAY(overlay), binding_.widget());
  gtk_overlay_add_overlay(GTK_OVERLAY(overlay), statusBar_.widget());
  gtk_window_set_child(w, overlay);

  touches_.emplace(window, GTK_WIDGET(w), binding_.widget());

  // The rotation keys, before the focused widget (a web view) can take them.
  GtkEventController* keys = gtk_event_controller_key_new();
  gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
  g_signal_connect(keys, "key-pressed", G_CALLBACK(onKeyPressed), this);
  gtk_widget_add_controller(GTK_WIDGET(w), keys);  // the window owns it

  g_signal_connect(w, "close-request", G_CALLBACK(onCloseRequest), this);
  g_signal_connect(w, "notify::visible", G_CALLBACK(onVisibleChanged), this);
  minimizedWatch_.emplace(GTK_WIDGET(w), [this] { keyWindowMayHaveMoved(); });
  livePeers().push_back(this);
}

GtkWindowPeer::~GtkWindowPeer() {
  RunLoop::main().cancelPendingCalls(this);
  std::erase(livePeers(), this);
  GtkWindow* w = gtkWindow_.get();
  minimizedWatch_.reset();
  touches_.reset();
  // Our handlers first (the key controller's data is us too).
  g_signal_handlers_disconnect_by_data(w, this);
  GListModel* controllers = gtk_widget_observe_controllers(GTK_WIDGET(w));
  for (guint i = 0; i < g_list_model_get_n_items(controllers); ++i) {
    GObject* c = G_OBJECT(g_list_model_get_item(controllers, i));
    g_signal_handlers_disconnect_by_data(c, this);
    g_object_unref(c);
  }
  g_object_unref(controllers);
  // The root box is ours (the binding's): take it out before the window goes.
  gtk_overlay_set_child(GTK_OVERLAY(gtk_window_get_child(w)), nullptr);
  gtk_window_destroy(w);
}

GtkWindowPeer* GtkWindowPeer::of(Window& window) { return dynamic_cast<GtkWindowPeer*>(&window.peer()); }

void GtkWindowPeer::setStatusBarHiddenEverywhere(bool hidden) {
  for (auto* p : livePeers()) gtk_widget_set_visible(p->statusBar_.widget(), !hidden);
}

void GtkWindowPeer::syncStatusBar() {
  gtk_widget_set_visible(statusBar_.widget(), !Application::sharedApplication()->isStatusBarHidden());
}

bool GtkWindowPeer::isOnScreen() const {
  return gtk_widget_get_visible(GTK_WIDGET(gtkWindow_.get())) && !isMinimized();
}

void GtkWindowPeer::keyWindowMayHaveMoved() {
  if (window_.isKeyWindow()) stateMayHaveChanged();
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
  } else if (!presentsOnDemand() || subviewCount_ > 0) {
    syncStatusBar();
    gtk_window_present(gtkWindow_.get());
  }
}

void GtkWindowPeer::makeKeyAndVisible() { setHidden(false); }

void GtkWindowPeer::insertSubview(ViewPeer& child, size_t index) {
  GtkViewPeerOf<WindowPeer>::insertSubview(child, index);
  if (++subviewCount_ != 1 || !presentsOnDemand() || window_.isHidden()) return;
  // Something arrived on an empty presentation window: over the host's window it goes.
  if (GtkWindow* parent = keyGtkWindow(); parent && parent != gtkWindow_.get())
    gtk_window_set_transient_for(gtkWindow_.get(), parent);
  syncStatusBar();
  gtk_window_present(gtkWindow_.get());
}

void GtkWindowPeer::removeSubview(ViewPeer& child) {
  GtkViewPeerOf<WindowPeer>::removeSubview(child);
  if (subviewCount_ > 0) --subviewCount_;
  if (subviewCount_ > 0 || !presentsOnDemand()) return;
  // Judged on the next pass, so a view moved within the window does not blink it away.
  RunLoop::main().cancelPendingCalls(this);
  RunLoop::main().performAfter(this, 0, [this] {  // cancelled by our destructor
    if (subviewCount_ > 0) return;
    gtk_widget_set_visible(GTK_WIDGET(gtkWindow_.get()), FALSE);
    gtk_window_set_transient_for(gtkWindow_.get(), nullptr);
  });
}

Point GtkWindowPeer::surfacePoint(Point p) const {
  GtkWidget* native = GTK_WIDGET(gtkWindow_.get());
  graphene_point_t in = GRAPHENE_POINT_INIT(float(p.x), float(p.y)), out;
  if (!gtk_widget_compute_point(binding_.widget(), native, &in, &out)) out = in;
  double dx = 0, dy = 0;
  gtk_native_get_surface_transform(GTK_NATIVE(native), &dx, &dy);  // client-side decoration margins
  return {out.x + dx, out.y + dy};
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

// ---- closing and application states ----

gboolean GtkWindowPeer::onCloseRequest(GtkWindow*, gpointer self) {
  // Closing the phone's screen quits the application: the loop ends, the window stays ours
  // (GTK must not destroy what the neutral window still shows). A presentation window stays
  // up until what is on it closes itself.
  if (!static_cast<GtkWindowPeer*>(self)->presentsOnDemand()) Application::sharedApplication()->terminate();
  return TRUE;
}

void GtkWindowPeer::onVisibleChanged(GObject*, GParamSpec*, gpointer self) {
  static_cast<GtkWindowPeer*>(self)->keyWindowMayHaveMoved();
}

}  // namespace pf
