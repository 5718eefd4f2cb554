#pragma once
// pf::SimClock: virtual time for tests — the clock source and the run-loop driver of the sim
// backend. Time moves only when the test moves it; nothing sleeps.
//
// Constructing one installs it (as pf::Clock's source and the main run loop's driver, on a
// freshly reset run loop); destroying it resets the run loop again and restores the previous
// clock source, so no test leaks calls or time into the next. One at a time.
//
//   pf::SimClock clock;                          // first member of the test fixture
//   refresher->start();                          // schedules a call 30 s ahead
//   clock.advance(29.9);  EXPECT_EQ(loads, 0);
//   clock.advance(0.1);   EXPECT_EQ(loads, 1);   // due at the window's end: it runs
//
// Start: monotonic() = 1000.0; now() = 2011-01-01 00:00:00 UTC (315532800 s since 2001).
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include "platform/base/Clock.h"

namespace pf {

class SimClock {
 public:
  static constexpr double kStartMonotonic = 1000.0;
  static constexpr double kStartNow = 315532800.0;  // 2011-01-01T00:00:00Z, since 2001
  // Fire times within this of a window's end count as inside it, so steps such as
  // 0.1 + 0.1 + 0.1 land on a timer set 0.3 ahead despite rounding.
  static constexpr double kTolerance = 1e-9;
  // runUntilIdle() gives up after this many passes: a chain of 0-delay calls that never
  // ends is a fault to report, not a test that hangs.
  static constexpr size_t kMaxPasses = 10000;

  SimClock();
  ~SimClock();
  SimClock(const SimClock&) = delete;
  SimClock& operator=(const SimClock&) = delete;

  double monotonic() const;
  double now() const;  // since 2001

  // Moves the wall clock alone (the user changed the date); timers keep to the monotonic one.
  void setNow(double secondsSince2001);

  // Runs everything due within [now, now + seconds], inclusive, in order, moving virtual time
  // to each entry's fire time before running it; ends at now + seconds. Returns entries run.
  size_t advance(double seconds);
  // Runs everything due at the current time, including chains of 0-delay calls.
  size_t runUntilIdle();

  // For tests with real threads: runs the main run loop (what other threads post included)
  // until `done` answers true or `realSeconds` of real time have passed. Virtual time does
  // not move. Answers `done()`.
  bool runUntil(const std::function<bool()>& done, double realSeconds = 5.0);

  // What the run loop last asked of its driver: the earliest fire time (nullopt: nothing).
  std::optional<double> scheduledWakeUp() const;
  // How often other threads have woken the loop.
  size_t crossThreadWakeUps() const;

 private:
  class Engine;
  void moveTo(double monotonicTime);

  std::shared_ptr<Engine> engine_;
  std::shared_ptr<ClockSource> previousSource_;
  bool gaveUp_ = false;  // runUntilIdle() hit kMaxPasses: advance() stops there too
};

}  // namespace pf
