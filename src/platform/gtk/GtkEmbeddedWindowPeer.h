#pragma once
// pf::GtkEmbeddedWindowPeer: an embedded pf::Window on the desktop — its view tree drawn in a
// widget that the application hosting us places in a window of its own (pf::GtkViewHost hands
// it out). The widget asks for the window's size and draws the tree at its frames from its
// top-left corner. Touches on it go to the view tree (pf::GtkTouchRouter). It is on screen
// (for the application states, pf::GtkTopLevel) while it is mapped and its window is not
// minimised.
//
// The widget may outlive the peer (it belongs to the host's layout once placed): the peer then
// leaves it empty, and does not take it out of the host's layout.
#include <gtk/gtk.h>

#include <optional>

#include "platform/gtk/GObjectRef.h"
#include "platform/gtk/GtkTopLevel.h"
#include "platform/gtk/GtkTouchRouter.h"
#include "platform/gtk/GtkViewPeer.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowPeer.h"

namespace pf {

class GtkEmbeddedWindowPeer : public GtkViewPeerOf<WindowPeer>, public GtkTopLevel {
 public:
  explicit GtkEmbeddedWindowPeer(Window& window);
  ~GtkEmbeddedWindowPeer() override;

  // The widget to place (one reference is ours while we live).
  GtkWidget* widget() const { return widget_.get(); }
  static GtkEmbeddedWindowPeer* of(Window& window);

  GtkWindow* topLevelWindow() const override;
  bool isOnScreen() const override;

  void setFrame(const Rect& frame, const Rect& bounds) override;

 private:
  static void onMappedChanged(GtkWidget*, gpointer self);
  void keyWindowMayHaveMoved();

  Window& window_;  // owns us
  GObjectRef<GtkWidget> widget_;
  std::optional<GtkTouchRouter> touches_;
  std::optional<GtkMinimizedWatch> minimizedWatch_;
};

}  // namespace pf
