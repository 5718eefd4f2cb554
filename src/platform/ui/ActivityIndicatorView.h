#pragma once
// pf::ActivityIndicatorView: a spinner (UIActivityIndicatorView on the phone): 37 points
// for the large style, 20 otherwise. With hidesWhenStopped (the default) it is hidden while
// not animating.
#include <memory>

#include "platform/ui/ActivityIndicatorPeer.h"
#include "platform/ui/View.h"

namespace pf {

class ActivityIndicatorView : public View {
 public:
  static std::shared_ptr<ActivityIndicatorView> create(ActivityIndicatorStyle style);

  ActivityIndicatorStyle style() const { return style_; }
  void setStyle(ActivityIndicatorStyle style);
  void startAnimating();
  void stopAnimating();
  bool isAnimating() const { return animating_; }
  bool hidesWhenStopped() const { return hidesWhenStopped_; }
  void setHidesWhenStopped(bool hides);

 protected:
  explicit ActivityIndicatorView(ActivityIndicatorStyle style);

 private:
  ActivityIndicatorPeer* spinnerPeer_;
  ActivityIndicatorStyle style_;
  bool animating_ = false;
  bool hidesWhenStopped_ = true;
};

}  // namespace pf
