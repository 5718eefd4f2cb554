#include "platform/sim/SimClock.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "platform/base/AssertionHandler.h"
#include "platform/base/RunLoop.h"

namespace pf {

// Clock source and driver in one. Times are atomics: other threads may read the clocks
// (log timestamps) while the test thread moves them.
class SimClock::Engine : public ClockSource, public RunLoopDriver {
 public:
  double monotonic() const override { return monotonic_.load(); }
  double now() const override { return now_.load(); }

  void scheduleWakeUp(std::optional<double> monotonicTime) override { wakeUp_ = monotonicTime; }

  void wakeUpFromAnyThread() override {
    {
      std::lock_guard lock(mutex_);
      ++wakeUps_;
    }
    cv_.notify_all();
  }

  void moveTo(double monotonicTime) {
    const double delta = monotonicTime - monotonic_.load();
    if (!(delta > 0)) return;
    monotonic_.store(monotonicTime);
    now_.store(now_.load() + delta);
  }
  void setNow(double t) { now_.store(t); }

  size_t wakeUps() const {
    std::lock_guard lock(mutex_);
    return wakeUps_;
  }
  // Waits until another thread wakes the loop after `seen` wake-ups, or until `until`.
  void waitForWakeUp(size_t seen, std::chrono::steady_clock::time_point until) {
    std::unique_lock lock(mutex_);
    cv_.wait_until(lock, until, [&] { return wakeUps_ != seen; });
  }

  std::optional<double> wakeUp_;

 private:
  std::atomic<double> monotonic_{kStartMonotonic};
  std::atomic<double> now_{kStartNow};
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  size_t wakeUps_ = 0;
};

SimClock::SimClock() : engine_(std::make_shared<Engine>()) {
  RunLoop& loop = RunLoop::main();
  loop.setDriver(nullptr);
  loop.reset();  // calls left by whoever ran before must not see our time
  previousSource_ = Clock::setSource(engine_);
  loop.setDriver(engine_);
}

SimClock::~SimClock() {
  RunLoop& loop = RunLoop::main();
  // Reset while our time is still the clock: dropped calls' destructors may read it.
  loop.reset();
  loop.setDriver(nullptr);
  Clock::setSource(std::move(previousSource_));
}

double SimClock::monotonic() const { return engine_->monotonic(); }
double SimClock::now() const { return engine_->now(); }
void SimClock::setNow(double secondsSince2001) { engine_->setNow(secondsSince2001); }
void SimClock::moveTo(double monotonicTime) { engine_->moveTo(monotonicTime); }

size_t SimClock::runUntilIdle() {
  RunLoop& loop = RunLoop::main();
  size_t ran = 0;
  for (size_t passes = 0; loop.hasDueWork(); ++passes) {
    if (passes == kMaxPasses) {
      gaveUp_ = true;
      AssertionHandler::handleFailure("SimClock::runUntilIdle", __FILE__, __LINE__,
                                      "calls keep scheduling themselves with no delay; gave up after " +
                                          std::to_string(kMaxPasses) + " passes");
      break;
    }
    ran += loop.runPass();
  }
  return ran;
}

size_t SimClock::advance(double seconds) {
  if (!(seconds > 0)) seconds = 0;
  RunLoop& loop = RunLoop::main();
  const double end = monotonic() + seconds;
  gaveUp_ = false;
  size_t ran = runUntilIdle();
  while (auto next = loop.nextFireTime()) {
    if (gaveUp_ || *next > end + kTolerance) break;
    moveTo(*next);
    ran += runUntilIdle();
  }
  moveTo(end);
  ran += runUntilIdle();
  return ran;
}

bool SimClock::runUntil(const std::function<bool()>& done, double realSeconds) {
  using namespace std::chrono;
  const auto deadline = steady_clock::now() + duration_cast<steady_clock::duration>(
                                                  duration<double>(std::max(realSeconds, 0.0)));
  for (;;) {
    // Counted before draining, so a post landing in between is not missed.
    const size_t seen = engine_->wakeUps();
    runUntilIdle();
    if (done()) return true;
    const auto current = steady_clock::now();
    if (current >= deadline) return false;
    // Also look again now and then: `done` may turn true without a post.
    engine_->waitForWakeUp(seen, std::min(deadline, current + milliseconds(10)));
  }
}

std::optional<double> SimClock::scheduledWakeUp() const { return engine_->wakeUp_; }
size_t SimClock::crossThreadWakeUps() const { return engine_->wakeUps(); }

}  // namespace pf
