// gadutil trace: the stack trace of a small built-in call chain — a class method calling an
// instance method calling a plain function, which takes the trace — to show its format.
#include <cstdio>
#include <string>
#include <vector>

#include "GadutilCommand.h"
#include "sdk/encoding/DOZStackTrace.h"

// Not inlined, and each call kept from becoming a jump, so every step keeps its own frame.
#define GADUTIL_KEEP_FRAME() asm volatile("" ::: "memory")

__attribute__((noinline)) std::string traceDemoFunction() {
  std::string trace = DOZStackTrace();
  GADUTIL_KEEP_FRAME();
  return trace;
}

class TraceDemo {
 public:
  __attribute__((noinline)) static std::string classStep() {
    std::string trace = TraceDemo().instanceStep();
    GADUTIL_KEEP_FRAME();
    return trace;
  }
  __attribute__((noinline)) std::string instanceStep() {
    std::string trace = traceDemoFunction();
    GADUTIL_KEEP_FRAME();
    return trace;
  }
};

namespace {

int runTrace(const std::vector<std::string>& args) {
  if (!args.empty()) {
    std::printf("usage: gadutil trace\n");
    return 1;
  }
  std::printf("%s\n", TraceDemo::classStep().c_str());
  return 0;
}

GadutilCommand traceCommand("trace", "trace", runTrace);

}  // namespace
