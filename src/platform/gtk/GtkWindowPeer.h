#pragma once
// pf::GtkWindowPeer: the phone-sized desktop window behind a pf::Window — the view tree drawn
// at its frames, the status bar strip over its top 20 points. Touches go to the view tree
// through a pf::GtkTouchRouter; application states follow the key window (pf::GtkTopLevel).
//
// Rotation keys: in the window, Ctrl+Left turns the device to landscape left, Ctrl+Right to
// landscape right, Ctrl+Up to portrait and Ctrl+Down to upside down, each through
// Application::deviceOrientationDidChange (the neutral layer asks the top controller). They
// are seen before the page (capture phase), so a web view cannot keep them. An accepted
// rotation gives the neutral window the rotated frame, and this window takes its size
// (320×480 becomes 480×320; the status strip stays across the top).
//
// A Screen window is shown while the neutral window is; closing it terminates the application.
// A Presentation window (the screen of embedded windows) belongs to no GtkApplication, so it
// never keeps the host application running; it is shown, modal over the key window's GTK
// window, while something is on it, and hidden when the last thing leaves. The user cannot
// close it: what is on it closes through its own controls (a browser's Done, an overlay's
// close button), which tell the publisher's delegate as they go.
#include <gtk/gtk.h>

#include <optional>

#include "platform/gtk/GObjectRef.h"
#include "platform/gtk/GtkStatusBar.h"
#include "platform/gtk/GtkTopLevel.h"
#include "platform/gtk/GtkTouchRouter.h"
#include "platform/gtk/GtkViewPeer.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowPeer.h"

namespace pf {

class GtkWindowPeer : public GtkViewPeerOf<WindowPeer>, public GtkTopLevel {
 public:
  // `application` (may be nullptr) is the GtkApplication a Screen window belongs to.
  GtkWindowPeer(Window& window, GtkApplication* application, WindowPlacement placement);
  ~GtkWindowPeer() override;

  GtkWindow* gtkWindow() const { return gtkWindow_.get(); }
  GtkStatusBar& statusBar() { return statusBar_; }
  // The desktop peer of `window` when it is a phone-sized one (nullptr otherwise).
  static GtkWindowPeer* of(Window& window);
  static void setStatusBarHiddenEverywhere(bool hidden);
  // Whether the window is minimised, as the desktop last said.
  bool isMinimized() const { return minimizedWatch_->isMinimized(); }
  // A point in the window's view coordinates, in the coordinates of its surface (what a
  // pointer on the screen is measured in, relative to the window's top-left corner).
  Point surfacePoint(Point windowPoint) const;

  GtkWindow* topLevelWindow() const override { return gtkWindow_.get(); }
  bool isOnScreen() const override;

  void setFrame(const Rect& frame, const Rect& bounds) override;
  void setHidden(bool hidden) override;
  void makeKeyAndVisible() override;
  void insertSubview(ViewPeer& child, size_t index) override;
  void removeSubview(ViewPeer& child) override;

 private:
  static gboolean onKeyPressed(GtkEventControllerKey*, guint keyval, guint keycode, GdkModifierType state,
                               gpointer self);
  static gboolean onCloseRequest(GtkWindow*, gpointer self);
  static void onVisibleChanged(GObject*, GParamSpec*, gpointer self);

  void syncStatusBar();
  void keyWindowMayHaveMoved();
  bool presentsOnDemand() const { return placement_ == WindowPlacement::Presentation; }

  Window& window_;  // owns us
  WindowPlacement placement_;
  GObjectRef<GtkWindow> gtkWindow_;
  GtkStatusBar statusBar_;
  std::optional<GtkTouchRouter> touches_;
  std::optional<GtkMinimizedWatch> minimizedWatch_;
  size_t subviewCount_ = 0;
};

}  // namespace pf
