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
//
// Everything but performOnMainThread() and isMainThread() belongs to the main thread.
#include <cstddef>
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
  using CallId = uint64_t;  // 0 is never a call

  // The main thread's run loop. The thread that first calls main() is the main thread
  // (tests and main() call it early). It lives for the whole process.
  static RunLoop& main();

  void setDriver(std::shared_ptr<RunLoopDriver> driver);

  // A call `delay` seconds from now (0 or less: the next pass), registered under `owner`
  // (may be nullptr). An empty function schedules nothing and answers 0. Main thread only.
  CallId performAfter(const void* owner, double delay, std::function<void()> fn);
  void performNextPass(const void* owner, std::function<void()> fn) {
    performAfter(owner, 0.0, std::move(fn));
  }
  // The same at an absolute monotonic time; a time already past means the next pass.
  CallId performAt(const void* owner, double monotonicTime, std::function<void()> fn);
  // Removes every call still waiting that was registered under `owner` (nullptr: none).
  void cancelPendingCalls(const void* owner);
  // Removes one waiting call; false when it already ran, is running or was cancelled.
  bool cancel(CallId id);
  bool isPending(CallId id) const;
  size_t pendingCallCount() const;

  // Keeps `object` alive until the end of the current pass (or of the next pass, when
  // called outside one).
  void autorelease(std::shared_ptr<const void> object);

  // Runs `fn` on the main thread. From the main thread with wait, it runs at once; without
  // wait, on the next pass. From another thread with wait, it blocks until `fn` has run
  // (or until reset() drops it unrun, so a waiter never hangs on a forgotten call).
  void performOnMainThread(std::function<void()> fn, bool waitUntilDone);
  bool isMainThread() const;

  // Driver side: runs passes until nothing is due at the current monotonic time.
  // Returns the number of entries run. A chain of calls that keeps scheduling itself with
  // delay 0 never lets this return; a driver that must stay responsive calls runPass().
  size_t runDuePasses();
  // One pass: everything due now (and what other threads posted), then the pass's
  // autoreleased objects are let go. Returns the number of entries run.
  size_t runPass();
  std::optional<double> nextFireTime() const;
  bool hasDueWork() const;
  bool isInPass() const;
  // Forgets every waiting entry and autoreleased object (between tests).
  void reset();

  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;
  ~RunLoop();

 private:
  RunLoop();
  void updateWakeUp();
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace pf
