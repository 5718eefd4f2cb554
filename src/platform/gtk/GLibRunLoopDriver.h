#pragma once
// pf::GLibRunLoopDriver: runs pf::RunLoop::main() from GLib's default main context, so run-loop
// calls, timers, libsoup, GIO and GTK all share the one main loop of the desktop process.
//
// Two GSources on the default context:
//   - the timer source, armed (by its ready time, in microseconds) for the loop's earliest fire
//     time, rounded up so an entry never comes up early — a pass that finds nothing due would
//     only re-arm at the same time and spin the loop;
//   - the inbox source, which any thread makes ready when it posts with performOnMainThread.
// Each dispatch runs one run-loop pass and lets GLib poll again before the next, so a chain of
// calls that keeps scheduling itself at delay 0 cannot starve network I/O or drawing.
//
//   pf::RunLoop::main().setDriver(std::make_shared<pf::GLibRunLoopDriver>());
//   g_main_loop_run(loop);   // or gtk's own
//
// Made, installed and destroyed on the main thread. The sources hold no pointer to this object,
// so a GLib dispatch already under way when it goes is harmless.
#include <glib.h>

#include <optional>

#include "platform/base/RunLoop.h"

namespace pf {

class GLibRunLoopDriver final : public RunLoopDriver {
 public:
  explicit GLibRunLoopDriver(RunLoop& loop = RunLoop::main());
  ~GLibRunLoopDriver() override;
  GLibRunLoopDriver(const GLibRunLoopDriver&) = delete;
  GLibRunLoopDriver& operator=(const GLibRunLoopDriver&) = delete;

  void scheduleWakeUp(std::optional<double> monotonicTime) override;
  void wakeUpFromAnyThread() override;

  // The GLib ready time (g_get_monotonic_time() microseconds) at which pf::Clock::monotonic()
  // is sure to have reached `monotonicTime`; 0 (at once) when it already has.
  static gint64 readyTimeFor(double monotonicTime);

 private:
  GSource* timerSource_;
  GSource* inboxSource_;
};

}  // namespace pf
