#pragma once
// pf::RunLoop: the main thread's run loop — timers, delayed calls, "next pass" calls,
// autorelease, and the one door from other threads (performOnMainThread).
//
// Semantics live here, once; a backend driver only supplies the wake-up (GLib's main loop on
// the desktop, a virtual clock under sim). Time is pf::Clock::monotonic().
//
// Order: entries run by fire time, then by scheduling order. A *pass* runs the entries that
// were due when it began; an entry scheduled during a pass (even with delay 0) runs on a
// later pass. Objects handed to autorelease() live until the end of the current pass.
//
//   pf::RunLoop::main().performAfter(this, 0.3, [this] { leaveApplication(); });
//   ...
//   pf::RunLoop::main().cancelPendingCalls(this);   // in the destructor: never runs now
//
// A call keeps alive whatever its function captures; capture a weak_ptr where the call must
// be dropped with its target.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace pf {

class RunLoop;

// What a backend provides: being told when the loop next needs to run. The driver then calls
// RunLoop::runDuePasses() on the main thread at (or after) that time.
class RunLoopDriver {
 public:
  virtual ~RunLoopDriver() = default;
  // The earliest fire time changed (nullopt: nothing scheduled). Main thread.
  virtual void scheduleWakeUp(std::optional<double> monotonicTime) = 0;
  // Work was posted from another thread; may be called on any thread.
  virtual void wakeUpFromAnyThread() = 0;
};

class RunLoop {
 public:
  using CallId = uint64_t;

  // The main thread's run loop. The thread that first calls main() is the main thread
  // (tests and main() call it early).
  static RunLoop& main();

  void setDriver(std::shared_ptr<RunLoopDriver> driver);

  // A call `delay` seconds from now (0: the next pass), registered under `owner` (may be
  // nullptr). Main thread only.
  CallId performAfter(const void* owner, double delay, std::function<void()> fn);
  void performNextPass(const void* owner, std::function<void()> fn) {
    performAfter(owner, 0.0, std::move(fn));
  }
  // Removes every call still waiting that was registered under `owner`.
  void cancelPendingCalls(const void* owner);
  // Removes one waiting call; false when it already ran or was cancelled.
  bool cancel(CallId id);

  // Keeps `object` alive until the end of the current pass (or of the next pass, when
  // called outside one).
  void autorelease(std::shared_ptr<const void> object);

  // Runs `fn` on the main thread. From the main thread with wait, it runs at once; without
  // wait, on the next pass. From another thread with wait, it blocks until `fn` has run.
  void performOnMainThread(std::function<void()> fn, bool waitUntilDone);
  bool isMainThread() const;

  // Driver side: runs passes until nothing is due at the current monotonic time.
  // Returns the number of entries run.
  size_t runDuePasses();
  std::optional<double> nextFireTime() const;
  bool hasDueWork() const;
  // Forgets every waiting entry and autoreleased object (between tests).
  void reset();

  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;
  ~RunLoop();

 private:
  RunLoop();
  struct State;
  std::unique_ptr<State> state_;
};

// A timer as a member: destroying the owner destroys the timer, which then never fires.
// One-shot or repeating; a repeating timer fires every `interval` seconds after it was
// scheduled, skipping the times it missed. It may be invalidated or destroyed from inside its
// own callback.
class Timer {
 public:
  Timer() = default;
  ~Timer() { invalidate(); }
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // Schedules on the main run loop, replacing what was scheduled before.
  void schedule(double interval, bool repeats, std::function<void()> fn);
  void invalidate();
  bool isValid() const { return id_ != 0; }
  double interval() const { return interval_; }
  std::optional<double> fireTime() const;  // monotonic time of the next fire

 private:
  void arm(double fireAt);
  void fired();

  RunLoop::CallId id_ = 0;
  double interval_ = 0;
  double fireAt_ = 0;
  bool repeats_ = false;
  std::shared_ptr<std::function<void()>> fn_;
  std::shared_ptr<bool> alive_;  // cleared on invalidate, checked after the callback
};

}  // namespace pf
