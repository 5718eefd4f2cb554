#include "platform/base/DispatchMeter.h"

#include <time.h>

#include <chrono>

namespace pf {

bool DispatchMeter::enabled_ = false;

namespace {
int depth = 0;
double longestSeconds = 0;
double longestCPUSeconds = 0;
size_t dispatches = 0;
const char* longestLabel = "";

double seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
double threadCPUSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}
}  // namespace

void DispatchMeter::setEnabled(bool on) { enabled_ = on; }

void DispatchMeter::reset() {
  longestSeconds = 0;
  longestCPUSeconds = 0;
  dispatches = 0;
  longestLabel = "";
}

double DispatchMeter::longest() { return longestSeconds; }
double DispatchMeter::longestOnCPU() { return longestCPUSeconds; }
size_t DispatchMeter::count() { return dispatches; }
const char* DispatchMeter::longestWhere() { return longestLabel; }

void DispatchMeter::Scope::begin() {
  if (depth > 0) return;  // inside an outer scope: that one measures
  depth = 1;
  started_ = true;
  start_ = seconds();
  startCPU_ = threadCPUSeconds();
}

void DispatchMeter::Scope::end() {
  depth = 0;
  const double took = seconds() - start_;
  const double tookCPU = threadCPUSeconds() - startCPU_;
  if (tookCPU > longestCPUSeconds) longestCPUSeconds = tookCPU;
  ++dispatches;
  if (took > longestSeconds) {
    longestSeconds = took;
    longestLabel = where_;
  }
}

}  // namespace pf
