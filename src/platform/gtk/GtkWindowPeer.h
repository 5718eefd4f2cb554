#pragma once
// pf::GtkWindowPeer: the phone-sized desktop window behind a pf::Window — the view tree drawn
// at its frames, the status bar strip over its top 20 points.
//
// Touches: a primary-button press anywhere in the window is first shown to the neutral hit
// test as a touch (a capture-phase click gesture, so it comes before the widget under the
// pointer — the web engine — sees the press; the press still goes on to it). The release
// completes a "touch up inside" for the control the press hit, when it ends inside it.
//
// Rotation keys: in the window, Ctrl+Left turns the device to landscape left, Ctrl+Right to
// landscape right, Ctrl+Up to portrait and Ctrl+Down to upside down, each through
// Application::deviceOrientationDidChange (the neutral layer asks the top controller). They
// are seen before the page (capture phase), so a web view cannot keep them. An accepted
// rotation gives the neutral window the rotated frame, and this window takes its size
// (320×480 becomes 480×320; the status strip stays across the top).
//
// Application states follow the window, not the keyboard focus: once the application has
// finished launching, it is active while its key window is shown and not minimised, whichever
// window has the keyboard focus (a user reading the page while typing elsewhere still sees the
// banner, and its refresh goes on). Minimising or hiding the key window is the background
// (Application::enterBackground, which resigns active first); restoring or showing it again is
// enterForeground, then becomeActive: inactive is only the step between. Before that the
// neutral launch decides (the application starts inactive; finishLaunching makes it active).
// The window is judged once the desktop settles (on idle), so a hide-and-show within one pass
// is no change at all. Closing a window terminates the application.
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
  // Whether the window is minimised, as the desktop last said.
  bool isMinimized() const { return minimized_; }
  // A point in the window's view coordinates, in the coordinates of its surface (what a
  // pointer on the screen is measured in, relative to the window's top-left corner).
  Point surfacePoint(Point windowPoint) const;

  void setFrame(const Rect& frame, const Rect& bounds) override;
  void setHidden(bool hidden) override;
  void makeKeyAndVisible() override;

 private:
  static void onPressed(GtkGestureClick* gesture, int presses, double x, double y, gpointer self);
  static void onReleased(GtkGestureClick* gesture, int presses, double x, double y, gpointer self);
  static gboolean onKeyPressed(GtkEventControllerKey*, guint keyval, guint keycode, GdkModifierType state,
                               gpointer self);
  static gboolean onCloseRequest(GtkWindow*, gpointer);
  static void onVisibleChanged(GObject*, GParamSpec*, gpointer);
  static void stateMayHaveChanged();
  static gboolean judgeState(gpointer);
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
