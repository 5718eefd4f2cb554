#include "platform/gtk/GLibRunLoopDriver.h"

#include <cmath>

#include "platform/base/Clock.h"
#include "platform/base/DispatchMeter.h"

namespace pf {

namespace {

struct LoopSource {
  GSource base;  // first: GLib hands us the GSource*
  RunLoop* loop;
  bool isTimer;
};

void armFromLoop(GSource* source, RunLoop& loop) {
  if (loop.hasDueWork()) {
    g_source_set_ready_time(source, 0);
  } else if (auto next = loop.nextFireTime()) {
    g_source_set_ready_time(source, GLibRunLoopDriver::readyTimeFor(*next));
  } else {
    g_source_set_ready_time(source, -1);
  }
}

gboolean dispatchLoopSource(GSource* source, GSourceFunc, gpointer) {
  DispatchMeter::Scope measured("run-loop pass");
  auto* self = reinterpret_cast<LoopSource*>(source);
  // Dispatching does not clear the ready time; clear it before the pass so that a wake-up
  // asked for during the pass (or posted by another thread) is not lost.
  g_source_set_ready_time(source, -1);
  RunLoop& loop = *self->loop;
  loop.runPass();
  // The loop reports only *changes* of its earliest time: when this pass left that time as it
  // was (nothing due yet, or work still due), re-arm from the loop's own state.
  if (self->isTimer) armFromLoop(source, loop);
  return G_SOURCE_CONTINUE;
}

GSourceFuncs loopSourceFuncs = {nullptr, nullptr, dispatchLoopSource, nullptr, nullptr, nullptr};

GSource* attachLoopSource(RunLoop& loop, bool isTimer, const char* name) {
  GSource* source = g_source_new(&loopSourceFuncs, sizeof(LoopSource));
  auto* s = reinterpret_cast<LoopSource*>(source);
  s->loop = &loop;
  s->isTimer = isTimer;
  g_source_set_name(source, name);
  g_source_set_priority(source, G_PRIORITY_DEFAULT);
  g_source_set_ready_time(source, -1);
  g_source_attach(source, nullptr);  // the default main context
  return source;
}

}  // namespace

GLibRunLoopDriver::GLibRunLoopDriver(RunLoop& loop)
    : timerSource_(attachLoopSource(loop, true, "pf::RunLoop timers")),
      inboxSource_(attachLoopSource(loop, false, "pf::RunLoop inbox")) {}

GLibRunLoopDriver::~GLibRunLoopDriver() {
  g_source_destroy(timerSource_);
  g_source_unref(timerSource_);
  g_source_destroy(inboxSource_);
  g_source_unref(inboxSource_);
}

gint64 GLibRunLoopDriver::readyTimeFor(double monotonicTime) {
  // Read our clock first, then GLib's: GLib's reading is then no earlier than ours, less at
  // most the microsecond it truncates, which the +1 gives back. Working from the difference
  // keeps this right even when pf::Clock is not the machine's monotonic clock.
  const double now = Clock::monotonic();
  const gint64 glibNow = g_get_monotonic_time();
  const double delay = monotonicTime - now;
  if (!(delay > 0)) return 0;
  return glibNow + 1 + static_cast<gint64>(std::ceil(delay * 1e6));
}

void GLibRunLoopDriver::scheduleWakeUp(std::optional<double> monotonicTime) {
  g_source_set_ready_time(timerSource_, monotonicTime ? readyTimeFor(*monotonicTime) : -1);
}

void GLibRunLoopDriver::wakeUpFromAnyThread() {
  // Takes the context's lock and wakes its poll: safe from any thread (GCancellable's source
  // relies on the same).
  g_source_set_ready_time(inboxSource_, 0);
}

}  // namespace pf
