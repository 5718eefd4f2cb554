#pragma once
// pf::Timer: a timer on the main run loop, meant to be a member: destroying the owner destroys
// the timer, which then never fires.
//
// One-shot or repeating; a repeating timer fires every `interval` seconds after it was
// scheduled (fire times stay on that grid, so late passes do not make it drift), skipping the
// times it missed. It may be invalidated, rescheduled or destroyed from inside its own
// callback.
//
//   pf::Timer refreshTimer_;
//   refreshTimer_.schedule(30.0, [this] { refresh(); });              // one-shot
//   pollTimer_.schedule(1.0, /*repeats=*/true, [this] { poll(); });
//
// The callback may capture `this` of the timer's owner: the owner's destruction takes the
// timer, and with it the waiting call, along.
#include <functional>
#include <memory>
#include <optional>

#include "platform/base/RunLoop.h"

namespace pf {

class Timer {
 public:
  // Shortest interval of a repeating timer: a repeating timer at 0 would never let a pass end.
  static constexpr double kMinimumRepeatInterval = 0.0001;

  Timer() = default;
  ~Timer() { invalidate(); }
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // Schedules on the main run loop, replacing what was scheduled before. An empty function
  // leaves the timer invalid.
  void schedule(double interval, bool repeats, std::function<void()> fn);
  void schedule(double interval, std::function<void()> fn) { schedule(interval, false, std::move(fn)); }
  void invalidate();
  bool isValid() const { return id_ != 0; }
  double interval() const { return interval_; }
  bool repeats() const { return repeats_; }
  std::optional<double> fireTime() const;  // monotonic time of the next fire

 private:
  void arm(double fireAt);
  void fired();

  RunLoop::CallId id_ = 0;
  double interval_ = 0;
  double fireAt_ = 0;
  bool repeats_ = false;
  // Shared so the callback outlives a timer destroyed or rescheduled while it runs.
  std::shared_ptr<std::function<void()>> fn_;
};

}  // namespace pf
