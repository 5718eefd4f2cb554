#pragma once
// pf::GtkViewBinding: the work shared by every desktop view peer — one pf::GtkViewBox kept
// where the neutral view says (frame, visibility, colour, clipping, order among siblings).
// The peers (GtkViewPeerOf<…>) forward the pf::ViewPeer operations here.
#include <gtk/gtk.h>

#include <vector>

#include "platform/gtk/GObjectRef.h"
#include "platform/ui/ViewPeer.h"

namespace pf {

class GtkViewBinding {
 public:
  GtkViewBinding();
  ~GtkViewBinding();
  GtkViewBinding(const GtkViewBinding&) = delete;
  GtkViewBinding& operator=(const GtkViewBinding&) = delete;

  GtkWidget* widget() const { return box_.get(); }
  const Rect& frame() const { return frame_; }

  void setFrame(const Rect& frame, const Rect& bounds);
  void setHidden(bool hidden);
  void setBackgroundColor(const Color& color);
  void setClipsToBounds(bool clips);
  void setUserInteractionEnabled(bool enabled);
  void insertSubview(ViewPeer& child, size_t index);
  void removeSubview(ViewPeer& child);
  // A widget that fills the view beneath its subviews (the view's own drawing).
  void addContent(GtkWidget* content);

 private:
  GObjectRef<GtkWidget> box_;
  Rect frame_;
  // The subviews' peers in the neutral order (some may draw nothing); only compared and
  // looked up while the tree is alive, never dereferenced once a subview may be gone.
  std::vector<ViewPeer*> subpeers_;
};

}  // namespace pf
