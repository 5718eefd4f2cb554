#include "platform/ui/ScrollView.h"

namespace pf {

std::shared_ptr<ScrollView> ScrollView::create(const Rect& frame) {
  return std::shared_ptr<ScrollView>(new ScrollView(frame, nullptr));
}

void ScrollView::setScrollsToTop(bool on) {
  scrollsToTop_ = on;
  if (onChange_) onChange_(on);
}

}  // namespace pf
