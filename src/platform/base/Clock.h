#pragma once
// pf::Clock: the two clocks of the system, served by the backend.
//
//   - monotonic(): seconds on a counter that only moves forward and never jumps with
//     wall-clock changes (timers and timings use it);
//   - now(): the absolute wall-clock time, seconds since 1 January 2001 00:00:00 UTC, as the
//     phone platform counts dates.
//
// The desktop uses the machine's clocks (the default source); the sim backend installs a
// virtual source that moves only when a test advances it.
#include <memory>

namespace pf {

// Seconds between 1 January 1970 and 1 January 2001.
inline constexpr double kTimeIntervalSince1970 = 978307200.0;

class ClockSource {
 public:
  virtual ~ClockSource() = default;
  virtual double monotonic() const = 0;
  virtual double now() const = 0;  // since 2001
};

class Clock {
 public:
  static double monotonic();
  static double now();
  static double nowSince1970() { return now() + kTimeIntervalSince1970; }

  static double from1970(double secondsSince1970) { return secondsSince1970 - kTimeIntervalSince1970; }
  static double to1970(double secondsSince2001) { return secondsSince2001 + kTimeIntervalSince1970; }

  // Installs a source (nullptr restores the machine's clocks). Returns the previous one.
  static std::shared_ptr<ClockSource> setSource(std::shared_ptr<ClockSource> source);
};

}  // namespace pf
