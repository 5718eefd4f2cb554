#pragma once
// pf::GtkPeerWidget: what every desktop view peer has — the widget that stands for its view.
// A parent peer finds its child's widget through it (a peer of another backend has none and
// draws nothing, like the web view's bookkeeping scroller).
#include <gtk/gtk.h>

namespace pf {

class ViewPeer;

class GtkPeerWidget {
 public:
  virtual ~GtkPeerWidget() = default;
  virtual GtkWidget* peerWidget() const = 0;

  // The widget of `peer`, or nullptr when it is not a desktop peer.
  static GtkWidget* of(ViewPeer& peer);
};

}  // namespace pf
