// A 30-frame stack trace: DOZStackTrace against glibc's backtrace_symbols, in this process.
//
//   ours_cold                the first trace: every loaded image's symbol table (and DWARF
//                            member declarations) read again from the files, then the trace
//   ours_warm                a trace with the tables kept from the one before
//   backtrace_symbols        glibc: backtrace() and backtrace_symbols() ("file(symbol+off) [addr]",
//                            dladdr per frame, no demangling), the array freed
//   backtrace_only           backtrace() alone: the floor both stand on
//
// Every case runs 30 frames down (the tracer's own frame counted, as backtrace() counts it),
// reached by recursion calibrated at start.
#include <benchmark/benchmark.h>
#include <execinfo.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "sdk/encoding/DOZStackSymbolTable.h"
#include "sdk/encoding/DOZStackTrace.h"

namespace {

constexpr int kFrames = 30;

#define KEEP_FRAME() asm volatile("" ::: "memory")

// How many frames a tracer called from here would see: backtrace() from one frame down.
__attribute__((noinline)) int framesOfACallee() {
  void* addresses[256];
  int n = backtrace(addresses, 256);
  KEEP_FRAME();
  return n;
}

__attribute__((noinline)) void atDepth(int remaining, const std::function<void()>& body) {
  if (remaining > 0) {
    atDepth(remaining - 1, body);
  } else {
    body();
  }
  KEEP_FRAME();
}

// Runs `body` where a tracer it calls sees kFrames frames; false when that depth cannot be had.
bool runAt30Frames(const std::function<void()>& body) {
  int seen = 0;
  atDepth(0, [&] { seen = framesOfACallee(); });
  // Each level of atDepth adds one frame; the lambda and std::function's invoker are the same
  // at every depth.
  const int levels = kFrames - seen;
  if (levels < 0) return false;
  int check = 0;
  atDepth(levels, [&] { check = framesOfACallee(); });
  if (check != kFrames) return false;
  atDepth(levels, body);
  return true;
}

// backtrace_symbols' trace; returns the number of frames it saw.
__attribute__((noinline)) int glibcTrace() {
  void* addresses[64];
  const int n = backtrace(addresses, 64);
  char** lines = backtrace_symbols(addresses, n);
  benchmark::DoNotOptimize(lines[0][0]);
  std::free(lines);
  KEEP_FRAME();
  return n;
}

// The frames DOZStackTrace saw: its lines and its own frame.
double framesOf(const std::string& trace) {
  double lines = trace.empty() ? 0 : 1;
  for (char c : trace) lines += c == '\n';
  return lines + 1;
}

void ours_cold(benchmark::State& state) {
  if (!runAt30Frames([&] {
        std::string trace;
        for (auto _ : state) {
          state.PauseTiming();
          DOZStackSymbolTable::discard();
          state.ResumeTiming();
          trace = DOZStackTrace();
          benchmark::DoNotOptimize(trace.data());
        }
        state.counters["frames"] = framesOf(trace);
      })) {
    state.SkipWithError("cannot reach 30 frames");
  }
}

void ours_warm(benchmark::State& state) {
  if (!runAt30Frames([&] {
        std::string trace = DOZStackTrace();  // tables read
        for (auto _ : state) {
          trace = DOZStackTrace();
          benchmark::DoNotOptimize(trace.data());
        }
        state.counters["frames"] = framesOf(trace);
      })) {
    state.SkipWithError("cannot reach 30 frames");
  }
}

void backtrace_symbols_peer(benchmark::State& state) {
  if (!runAt30Frames([&] {
        int frames = 0;
        for (auto _ : state) frames = glibcTrace();
        state.counters["frames"] = frames;
      })) {
    state.SkipWithError("cannot reach 30 frames");
  }
}

void backtrace_only(benchmark::State& state) {
  if (!runAt30Frames([&] {
        int frames = 0;
        for (auto _ : state) frames = framesOfACallee();
        state.counters["frames"] = frames;
      })) {
    state.SkipWithError("cannot reach 30 frames");
  }
}

}  // namespace

BENCHMARK(ours_cold)->Unit(benchmark::kMicrosecond);
BENCHMARK(ours_warm)->Unit(benchmark::kMicrosecond);
BENCHMARK(backtrace_symbols_peer)->Name("backtrace_symbols")->Unit(benchmark::kMicrosecond);
BENCHMARK(backtrace_only)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
