#pragma once
// pf::ViewSlide: a view moved vertically over a short time — the cover-vertical transition of
// a modal presentation, the presented screen sliding up from the bottom and back down. Steps
// come from a repeating run-loop timer at display rate (60 a second), eased; the last step
// puts the view exactly where it goes. It keeps itself alive until done (or finished early).
//
//   auto slide = pf::ViewSlide::start(view, window->bounds().height(), 0, 0.3);
//   ...
//   slide->finish();   // at once at the end, e.g. when another transition begins
//
// Main thread only.
#include <memory>

#include "platform/base/Timer.h"
#include "platform/ui/View.h"

namespace pf {

class ViewSlide : public std::enable_shared_from_this<ViewSlide> {
 public:
  enum class Easing { Out, In };  // decelerating (arriving), accelerating (leaving)
  static constexpr double kStepInterval = 1.0 / 60;

  // Moves `view` from y = fromY to y = toY (its superview's coordinates) in `duration`.
  static std::shared_ptr<ViewSlide> start(const std::shared_ptr<View>& view, double fromY, double toY,
                                          double duration, Easing easing = Easing::Out);
  void finish();
  bool isDone() const { return done_; }

 private:
  ViewSlide() = default;
  void step();
  void place(double progress);

  std::weak_ptr<View> view_;
  double fromY_ = 0, toY_ = 0, duration_ = 0, started_ = 0;
  Easing easing_ = Easing::Out;
  Timer timer_;
  std::shared_ptr<ViewSlide> self_;  // until done
  bool done_ = false;
};

}  // namespace pf
