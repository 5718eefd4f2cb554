#pragma once
// pf::ButtonPeer: draws a button: its image for a state, its title, a glow while touched.
#include <memory>
#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/Image.h"
#include "platform/ui/ViewPeer.h"

namespace pf {

class ButtonPeer : public ViewPeer {
 public:
  virtual void setImage(std::shared_ptr<const Image> /*image*/, ControlState /*state*/) {}
  virtual void setTitle(const std::string& /*title*/, ControlState /*state*/) {}
  virtual void setEnabled(bool /*enabled*/) {}
  virtual void setShowsTouchWhenHighlighted(bool /*on*/) {}
};

}  // namespace pf
