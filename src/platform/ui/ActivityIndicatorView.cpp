#include "platform/ui/ActivityIndicatorView.h"

#include "platform/ui/UIBackend.h"

namespace pf {
namespace {
double sideFor(ActivityIndicatorStyle s) { return s == ActivityIndicatorStyle::WhiteLarge ? 37 : 20; }
}  // namespace

std::shared_ptr<ActivityIndicatorView> ActivityIndicatorView::create(ActivityIndicatorStyle style) {
  return std::shared_ptr<ActivityIndicatorView>(new ActivityIndicatorView(style));
}

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorStyle style)
    : View(Rect(0, 0, sideFor(style), sideFor(style)), UIBackend::current().makeActivityIndicatorPeer(*this)),
      style_(style) {
  spinnerPeer_ = static_cast<ActivityIndicatorPeer*>(&peer());
  spinnerPeer_->setStyle(style);
  setHidden(true);  // stopped and hiding
}

void ActivityIndicatorView::setStyle(ActivityIndicatorStyle style) {
  style_ = style;
  spinnerPeer_->setStyle(style);
}

void ActivityIndicatorView::startAnimating() {
  if (animating_) return;
  animating_ = true;
  spinnerPeer_->setAnimating(true);
  setHidden(false);
}

void ActivityIndicatorView::stopAnimating() {
  if (!animating_) return;
  animating_ = false;
  spinnerPeer_->setAnimating(false);
  if (hidesWhenStopped_) setHidden(true);
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides) {
  hidesWhenStopped_ = hides;
  if (!animating_) setHidden(hides);
}

}  // namespace pf
