#include "platform/gtk/GtkTopLevel.h"

#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

namespace pf {
namespace {
guint stateJudgement = 0;  // the idle source judging the key window, while one is due
int livePeers = 0;
}  // namespace

GtkTopLevel::GtkTopLevel() { ++livePeers; }

GtkTopLevel::~GtkTopLevel() {
  if (--livePeers == 0 && stateJudgement) {
    g_source_remove(stateJudgement);
    stateJudgement = 0;
  }
}

GtkTopLevel* GtkTopLevel::of(Window& window) { return dynamic_cast<GtkTopLevel*>(&window.peer()); }

GtkWindow* GtkTopLevel::keyGtkWindow() {
  auto key = Application::sharedApplication()->keyWindow();
  GtkTopLevel* peer = key ? of(*key) : nullptr;
  return peer ? peer->topLevelWindow() : nullptr;
}

void GtkTopLevel::stateMayHaveChanged() {
  if (!stateJudgement) stateJudgement = g_idle_add(judgeState, nullptr);
}

gboolean GtkTopLevel::judgeState(gpointer) {
  stateJudgement = 0;
  auto app = Application::sharedApplication();
  // Before launch the neutral launch decides; after termination nothing does.
  if (!app->hasFinishedLaunching() || app->isTerminated()) return G_SOURCE_REMOVE;
  auto key = app->keyWindow();
  GtkTopLevel* peer = key ? of(*key) : nullptr;
  if (!peer) return G_SOURCE_REMOVE;
  if (peer->isOnScreen()) {
    app->enterForeground();  // nothing unless it was in the background
    app->becomeActive();     // nothing if it is active already
  } else {
    app->enterBackground();  // resigns active first
  }
  return G_SOURCE_REMOVE;
}

// ---- minimised ----

GtkMinimizedWatch::GtkMinimizedWatch(GtkWidget* widget, std::function<void()> changed)
    : widget_(widget), changed_(std::move(changed)) {
  g_signal_connect(widget, "realize", G_CALLBACK(onRealize), this);
  g_signal_connect(widget, "unrealize", G_CALLBACK(onUnrealize), this);
  if (gtk_widget_get_realized(widget)) watch(widget);
}

GtkMinimizedWatch::~GtkMinimizedWatch() {
  g_signal_handlers_disconnect_by_data(widget_, this);
  if (surface_) g_signal_handlers_disconnect_by_data(surface_.get(), this);
}

void GtkMinimizedWatch::watch(GtkWidget* widget) {
  GtkNative* native = gtk_widget_get_native(widget);
  GdkSurface* surface = native ? gtk_native_get_surface(native) : nullptr;
  if (!surface || !GDK_IS_TOPLEVEL(surface)) return;
  surface_ = GObjectRef<GdkSurface>::ref(surface);
  minimized_ = gdk_toplevel_get_state(GDK_TOPLEVEL(surface)) & GDK_TOPLEVEL_STATE_MINIMIZED;
  g_signal_connect(surface, "notify::state", G_CALLBACK(onSurfaceState), this);
}

void GtkMinimizedWatch::onRealize(GtkWidget* widget, gpointer self) {
  auto* watch = static_cast<GtkMinimizedWatch*>(self);
  if (watch->surface_) g_signal_handlers_disconnect_by_data(watch->surface_.get(), watch);
  watch->surface_.reset();
  watch->watch(widget);
}

void GtkMinimizedWatch::onUnrealize(GtkWidget*, gpointer self) {
  auto* watch = static_cast<GtkMinimizedWatch*>(self);
  if (watch->surface_) g_signal_handlers_disconnect_by_data(watch->surface_.get(), watch);
  watch->surface_.reset();
  watch->minimized_ = false;  // a new surface says again
}

void GtkMinimizedWatch::onSurfaceState(GObject* surface, GParamSpec*, gpointer self) {
  auto* watch = static_cast<GtkMinimizedWatch*>(self);
  bool minimized = gdk_toplevel_get_state(GDK_TOPLEVEL(surface)) & GDK_TOPLEVEL_STATE_MINIMIZED;
  if (minimized == watch->minimized_) return;
  watch->minimized_ = minimized;
  watch->changed_();
}

}  // namespace pf
