#include "platform/ui/ViewSlide.h"

#include <algorithm>

#include "platform/base/Clock.h"

namespace pf {

std::shared_ptr<ViewSlide> ViewSlide::start(const std::shared_ptr<View>& view, double fromY, double toY,
                                            double duration, Easing easing) {
  auto slide = std::shared_ptr<ViewSlide>(new ViewSlide());
  slide->view_ = view;
  slide->fromY_ = fromY;
  slide->toY_ = toY;
  slide->duration_ = duration;
  slide->easing_ = easing;
  slide->started_ = Clock::monotonic();
  slide->self_ = slide;
  slide->place(0);
  slide->timer_.schedule(kStepInterval, true, [raw = slide.get()] { raw->step(); });
  return slide;
}

void ViewSlide::step() {
  const double progress = duration_ > 0 ? (Clock::monotonic() - started_) / duration_ : 1;
  if (progress >= 1) {
    finish();
    return;
  }
  place(progress);
}

void ViewSlide::place(double progress) {
  auto view = view_.lock();
  if (!view) return;
  const double t = std::clamp(progress, 0.0, 1.0);
  const double eased = easing_ == Easing::Out ? 1 - (1 - t) * (1 - t) * (1 - t) : t * t * t;
  Rect frame = view->frame();
  frame.origin.y = fromY_ + (toY_ - fromY_) * eased;
  view->setFrame(frame);
}

void ViewSlide::finish() {
  if (done_) return;
  done_ = true;
  timer_.invalidate();
  place(1);
  auto keep = std::move(self_);  // let go once this call is over
}

}  // namespace pf
