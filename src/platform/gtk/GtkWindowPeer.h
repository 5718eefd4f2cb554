#pragma once
// pf::GtkWindowPeer: the phone-sized desktop window behind a pf::Window — the view tree drawn
// at its frames, the status bar strip over its top 20 points.
//
// Touches: a primary-button press anywhere in the window is first shown to the neutral hit
// test as a touch (a capture-phase click gesture, so it comes before the widget under the
// pointer — the web engine — sees the press; the press still goes on to it). The release
// completes a "touch up inside" for the control the press hit, when it ends inside it.
//
// Application states follow the desktop's focus: the application is active while one of its
// windows (or a box of its own over one, like an alert) has the focus, inactive otherwise;
// the key window minimised is the background; closing a window terminates the application. Focus
// is judged once the desktop settles (on idle), so focus passing from the window to its own
// alert is no change at all.
#include <gtk/gtk.h>

#include <memory>
#include <vector>

#include "platform/gtk/GObjectRef.h"
#include "platform/gtk/GtkStatusBar.h"
#include "platform/gtk/GtkViewPeer.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowPeer.h"

namespace pf {

class Control;

class GtkWindowPeer : public GtkViewPeerOf<WindowPeer> {
 public:
  // `application` (may be nullptr) is the GtkApplication the window belongs to.
  GtkWindowPeer(Window& window, GtkApplication* application);
  ~GtkWindowPeer() override;

  GtkWindow* gtkWindow() const { return gtkWindow_.get(); }
  GtkStatusBar& statusBar() { return statusBar_; }
  // The desktop peer of `window` (nullptr under another backend).
  static GtkWindowPeer* of(Window& window);
  // The GTK window of the application's key window, if it has one.
  static GtkWindow* keyGtkWindow();
  static void setStatusBarHiddenEverywhere(bool hidden);
  // A window of ours gained or lost the focus (connect a box's "notify::is-active" here).
  static void focusChanged();
  // A point in the window's view coordinates, in the coordinates of its surface (what a
  // pointer on the screen is measured in, relative to the window's top-left corner).
  Point surfacePoint(Point windowPoint) const;

  void setFrame(const Rect& frame, const Rect& bounds) override;
  void setHidden(bool hidden) override;
  void makeKeyAndVisible() override;

 private:
  static void onPressed(GtkGestureClick* gesture, int presses, double x, double y, gpointer self);
  static void onReleased(GtkGestureClick* gesture, int presses, double x, double y, gpointer self);
  static gboolean onCloseRequest(GtkWindow*, gpointer);
  static void onActiveChanged(GObject*, GParamSpec*, gpointer);
  static gboolean judgeFocus(gpointer);
  static bool isOurs(GtkWindow* window);
  static void onRealize(GtkWidget*, gpointer self);
  static void onUnrealize(GtkWidget*, gpointer self);
  static void onSurfaceState(GObject*, GParamSpec*, gpointer self);

  Point viewPoint(double x, double y) const;
  void syncStatusBar();
  bool drivesApplication() const { return window_.isKeyWindow(); }

  Window& window_;  // owns us
  GObjectRef<GtkWindow> gtkWindow_;
  GtkStatusBar statusBar_;
  GObjectRef<GdkSurface> surface_;  // watched for minimising while realized
  bool minimized_ = false;
  std::weak_ptr<Control> pressedControl_;
};

}  // namespace pf
