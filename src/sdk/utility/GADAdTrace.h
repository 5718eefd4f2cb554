#pragma once
// GADAdTrace: the ad trace, the one place where everything a banner does can be seen. When
// ASHENMOOR_AD_TRACE names a file ("-": standard error), each event of every banner is
// appended as one JSON object per line:
//
//   {"t":0.412,"banner":1,"event":"state","state":3}
//   {"t":0.986,"banner":1,"event":"delegate","callback":"adViewDidReceiveAd:"}
//
// "t" is seconds since the trace started, "banner" the banner's number (1, 2, … in creation
// order; 0 for an event no banner owns). The events and their fields are listed in the
// README. Off by default, and then free: callers test enabled() before building anything.
//
//   if (GADAdTrace::enabled()) GADAdTrace::write(banner_, "state", {{"state", state_}});
//
// Main thread only (the delegate manager writes after its hop to the main thread).
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "platform/base/Value.h"

class GADAdTrace {
 public:
  using Field = std::pair<const char*, pf::Value>;
  using Sink = std::function<void(const std::string& line)>;

  GADAdTrace() = delete;

  static bool enabled() {
    if (mode_ == Mode::Unknown) configure();
    return mode_ == Mode::On;
  }
  // Appends one line; fields are written in the order given, after "t", "banner", "event".
  // Strings, numbers, booleans and null are written as such; anything else as its
  // description text.
  static void write(int banner, const char* event, std::initializer_list<Field> fields);

  // The number of the next banner (1, 2, …), whether or not the trace is on.
  static int nextBannerNumber();

  // Sends the lines to `sink` instead (an empty sink turns the trace off again), and starts
  // the clock afresh. For tests.
  static void setSinkForTesting(Sink sink);

  // One JSON line as write() makes it, without the newline.
  static std::string formatLine(double t, int banner, const char* event,
                                std::initializer_list<Field> fields);

 private:
  enum class Mode { Unknown, Off, On };
  static void configure();
  static Mode mode_;
};
