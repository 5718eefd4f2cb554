#pragma once
// pf::GtkButtonPeer: draws a pf::Button — its image and title for the current state, centred.
// It takes no GTK clicks of its own: the window's touch handling hit-tests the press and
// sends "touch up inside" on release, so a button acts exactly as the neutral tree says.
#include <map>
#include <memory>

#include "platform/gtk/GtkViewPeer.h"
#include "platform/ui/ButtonPeer.h"

namespace pf {

class GtkButtonPeer : public GtkViewPeerOf<ButtonPeer> {
 public:
  GtkButtonPeer();

  void setImage(std::shared_ptr<const Image> image, ControlState state) override;
  void setTitle(const std::string& title, ControlState state) override;
  void setEnabled(bool enabled) override;
  void setShowsTouchWhenHighlighted(bool on) override;

  // What is drawn now (for tests and tools).
  std::shared_ptr<const Image> shownImage() const { return shownImage_; }
  std::string shownTitle() const;

 private:
  void refresh();
  template <typename T>
  static T forState(const std::map<ControlState, T>& m, ControlState state);

  GtkWidget* picture_ = nullptr;  // owned by our box
  GtkLabel* title_;               // owned by our box
  std::map<ControlState, std::shared_ptr<const Image>> images_;
  std::map<ControlState, std::string> titles_;
  std::shared_ptr<const Image> shownImage_;
  bool enabled_ = true;
};

}  // namespace pf
