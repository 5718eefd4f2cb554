#pragma once
// pf::GtkViewPeerOf<Base> and pf::GtkViewPeer: a desktop view peer. Every kind of peer
// (plain view, window, web view, button, …) derives from its neutral peer interface through
// GtkViewPeerOf, which keeps the view's widget where the view says; the kind adds its own
// drawing as content of that widget.
//
//   class GtkLabelPeer : public GtkViewPeerOf<LabelPeer> { … binding_.addContent(label) … };
#include "platform/gtk/GtkPeerWidget.h"
#include "platform/gtk/GtkViewBinding.h"
#include "platform/ui/ViewPeer.h"

namespace pf {

template <typename Base>
class GtkViewPeerOf : public Base, public GtkPeerWidget {
 public:
  GtkWidget* peerWidget() const override { return binding_.widget(); }

  void setFrame(const Rect& frame, const Rect& bounds) override { binding_.setFrame(frame, bounds); }
  void setHidden(bool hidden) override { binding_.setHidden(hidden); }
  void setBackgroundColor(const Color& color) override { binding_.setBackgroundColor(color); }
  void setClipsToBounds(bool clips) override { binding_.setClipsToBounds(clips); }
  void setUserInteractionEnabled(bool enabled) override { binding_.setUserInteractionEnabled(enabled); }
  void insertSubview(ViewPeer& child, size_t index) override { binding_.insertSubview(child, index); }
  void removeSubview(ViewPeer& child) override { binding_.removeSubview(child); }

 protected:
  GtkViewBinding binding_;
};

using GtkViewPeer = GtkViewPeerOf<ViewPeer>;

}  // namespace pf
