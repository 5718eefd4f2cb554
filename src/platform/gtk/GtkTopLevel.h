#pragma once
// pf::GtkTopLevel: what every desktop window peer tells about the GTK window it is shown in —
// which one it is and whether it is on screen — and the application states that follow the
// key window's.
//
// Application states follow the key window, not the keyboard focus: once the application has
// finished launching, it is active while the key window is on screen (shown and not
// minimised), whichever window has the keyboard focus; off screen it is in the background
// (Application::enterBackground, which resigns active first); back on screen it enters the
// foreground, then becomes active: inactive is only the step between. The key window is judged
// once the desktop settles (on idle), so a hide-and-show within one pass is no change at all.
// A phone-sized window is on screen while it is shown and not minimised; an embedded one while
// its widget is mapped in a window that is not minimised.
//
//   class GtkWindowPeer : public GtkViewPeerOf<WindowPeer>, public GtkTopLevel { … };
//   void GtkWindowPeer::onVisibleChanged(…) { if (window_.isKeyWindow()) stateMayHaveChanged(); }
#include <gtk/gtk.h>

#include <functional>

#include "platform/gtk/GObjectRef.h"

namespace pf {

class Window;

class GtkTopLevel {
 public:
  GtkTopLevel();
  virtual ~GtkTopLevel();
  GtkTopLevel(const GtkTopLevel&) = delete;
  GtkTopLevel& operator=(const GtkTopLevel&) = delete;

  // The GTK window the pf::Window is drawn in (nullptr while it is in none).
  virtual GtkWindow* topLevelWindow() const = 0;
  virtual bool isOnScreen() const = 0;

  // The desktop peer of `window` (nullptr under another backend).
  static GtkTopLevel* of(Window& window);
  // The GTK window of the application's key window, if it has one.
  static GtkWindow* keyGtkWindow();

 protected:
  // The key window may have come onto the screen or left it.
  static void stateMayHaveChanged();

 private:
  static gboolean judgeState(gpointer);
};

// Whether the surface a widget is drawn on is minimised, watched from the widget's realize to
// its unrealize; `changed` runs when the answer changes. The widget must outlive the watch.
class GtkMinimizedWatch {
 public:
  GtkMinimizedWatch(GtkWidget* widget, std::function<void()> changed);
  ~GtkMinimizedWatch();
  GtkMinimizedWatch(const GtkMinimizedWatch&) = delete;
  GtkMinimizedWatch& operator=(const GtkMinimizedWatch&) = delete;

  bool isMinimized() const { return minimized_; }

 private:
  static void onRealize(GtkWidget* widget, gpointer self);
  static void onUnrealize(GtkWidget*, gpointer self);
  static void onSurfaceState(GObject* surface, GParamSpec*, gpointer self);
  void watch(GtkWidget* widget);

  GtkWidget* widget_;
  std::function<void()> changed_;
  GObjectRef<GdkSurface> surface_;  // while the widget is realized
  bool minimized_ = false;
};

}  // namespace pf
