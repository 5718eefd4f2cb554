#include "platform/base/Timer.h"

#include <cmath>

#include "platform/base/Clock.h"

namespace pf {

void Timer::schedule(double interval, bool repeats, std::function<void()> fn) {
  invalidate();
  if (!fn) return;
  if (!(interval > 0)) interval = 0;  // also NaN
  if (repeats && interval < kMinimumRepeatInterval) interval = kMinimumRepeatInterval;
  interval_ = interval;
  repeats_ = repeats;
  fn_ = std::make_shared<std::function<void()>>(std::move(fn));
  arm(Clock::monotonic() + interval);
}

void Timer::invalidate() {
  if (id_ != 0) {
    RunLoop::main().cancel(id_);
    id_ = 0;
  }
  // Lets go of the callback's captures; a callback running now is kept by fired().
  fn_.reset();
}

std::optional<double> Timer::fireTime() const {
  if (!isValid()) return std::nullopt;
  return fireAt_;
}

void Timer::arm(double fireAt) {
  fireAt_ = fireAt;
  // No owner: an owner's cancelPendingCalls(this) must not take its timer's call behind the
  // timer's back (a timer as first member shares its owner's address). `this` is safe:
  // the destructor cancels the call.
  id_ = RunLoop::main().performAt(nullptr, fireAt, [this] { fired(); });
}

void Timer::fired() {
  id_ = 0;
  std::shared_ptr<std::function<void()>> fn = fn_;
  if (repeats_) {
    // Re-armed before the callback, so the callback may invalidate, reschedule or destroy
    // the timer; missed fire times are skipped, staying on the timer's grid.
    const double now = Clock::monotonic();
    double next = fireAt_ + interval_;
    if (next <= now) next = fireAt_ + (std::floor((now - fireAt_) / interval_) + 1) * interval_;
    while (next <= now) next += interval_;
    arm(next);
  } else {
    fn_.reset();
  }
  // Nothing of `this` is touched after the call: the timer may be gone by then.
  if (fn && *fn) (*fn)();
}

}  // namespace pf
