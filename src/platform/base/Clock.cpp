#include "platform/base/Clock.h"

#include <atomic>
#include <ctime>

namespace pf {

namespace {

double readClock(clockid_t id) {
  timespec ts{};
  clock_gettime(id, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Any thread may read the clocks (logging does), so the installed source is atomic. Never
// destroyed: a thread may still log during static destruction.
std::atomic<std::shared_ptr<ClockSource>>& installed() {
  static auto* source = new std::atomic<std::shared_ptr<ClockSource>>();
  return *source;
}

}  // namespace

double Clock::monotonic() {
  if (auto source = installed().load()) return source->monotonic();
  return readClock(CLOCK_MONOTONIC);
}

double Clock::now() {
  if (auto source = installed().load()) return source->now();
  return from1970(readClock(CLOCK_REALTIME));
}

std::shared_ptr<ClockSource> Clock::setSource(std::shared_ptr<ClockSource> source) {
  return installed().exchange(std::move(source));
}

}  // namespace pf
