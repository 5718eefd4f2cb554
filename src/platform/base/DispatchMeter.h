#pragma once
// pf::DispatchMeter: how long the main thread stays inside our code at each dispatch from the
// desktop's main loop — run-loop passes (timers, delayed calls, postings), web view and HTTP
// callbacks, touches. The longest one says whether the ad layer can make the interface
// stutter. Off by default, and then each dispatch costs one test of a flag; a benchmark turns
// it on. Nested scopes count once, as the outermost.
//
//   void onLoadChanged(...) { pf::DispatchMeter::Scope measured("web view load"); ... }
//   pf::DispatchMeter::setEnabled(true); ... ; pf::DispatchMeter::longest();
//
// Main thread only.
#include <cstddef>

namespace pf {

class DispatchMeter {
 public:
  static void setEnabled(bool on);
  static bool enabled() { return enabled_; }
  static void reset();
  // Seconds of the longest dispatch since the last reset, and how many there were. longest()
  // is wall-clock time (what a user waits, other processes' turns on the CPU included),
  // longestOnCPU() the main thread's own CPU time in its longest dispatch.
  static double longest();
  static double longestOnCPU();
  static size_t count();
  // What the longest one was dispatching (the scope's label).
  static const char* longestWhere();

  class Scope {
   public:
    explicit Scope(const char* where) : where_(where) {
      if (enabled_) begin();
    }
    ~Scope() {
      if (started_) end();
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    void begin();
    void end();
    const char* where_;
    bool started_ = false;
    double start_ = 0;
    double startCPU_ = 0;
  };

 private:
  static bool enabled_;
};

}  // namespace pf
