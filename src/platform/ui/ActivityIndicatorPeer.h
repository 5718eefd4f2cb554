#pragma once
// pf::ActivityIndicatorPeer: draws the spinner.
#include "platform/ui/ViewPeer.h"

namespace pf {

enum class ActivityIndicatorStyle { WhiteLarge = 0, White = 1, Gray = 2 };

class ActivityIndicatorPeer : public ViewPeer {
 public:
  virtual void setStyle(ActivityIndicatorStyle /*style*/) {}
  virtual void setAnimating(bool /*animating*/) {}
};

}  // namespace pf
