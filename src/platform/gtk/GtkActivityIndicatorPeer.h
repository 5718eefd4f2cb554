#pragma once
// pf::GtkActivityIndicatorPeer: a GtkSpinner in the indicator's view, white or grey by style.
#include "platform/gtk/GtkViewPeer.h"
#include "platform/ui/ActivityIndicatorPeer.h"

namespace pf {

class GtkActivityIndicatorPeer : public GtkViewPeerOf<ActivityIndicatorPeer> {
 public:
  GtkActivityIndicatorPeer();

  GtkSpinner* spinner() const { return spinner_; }

  void setStyle(ActivityIndicatorStyle style) override;
  void setAnimating(bool animating) override;

 private:
  GtkSpinner* spinner_;  // owned by our box
};

}  // namespace pf
