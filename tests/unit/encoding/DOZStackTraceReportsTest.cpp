// DOZStackTraceReports: the trace after a failed check's report and after a crash.
#include "sdk/encoding/DOZStackTraceReports.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "platform/base/AssertionHandler.h"

namespace {

__attribute__((noinline)) void crashInKnownFunction() {
  // Not null, which the compiler and UBSan treat apart: a page nothing is mapped at.
  int* volatile nowhere = reinterpret_cast<int*>(16);
  *nowhere = 1;
  asm volatile("" ::: "memory");
}

__attribute__((noinline)) void throwInKnownFunction() { throw std::runtime_error("nobody catches this"); }

}  // namespace

TEST(DOZStackTraceReportsDeathTest, AssertionReportEndsWithTheTrace) {
  EXPECT_DEATH(
      {
        DOZInstallStackTraceReports();
        pf::AssertionHandler::handleFailure("-[X y:]", "X.cpp", 7, "broken");
        std::abort();  // a release build carries on after the report
      },
      "\\*\\*\\* Assertion failure in -\\[X y:\\], X.cpp:7: broken\n#0  .*\n#1  .*DOZStackTraceReportsDeathTest");
}

TEST(DOZStackTraceReportsDeathTest, CrashPrintsTheTraceFromTheFaultingFunction) {
  EXPECT_DEATH(
      {
        DOZInstallCrashTraces();
        crashInKnownFunction();
      },
      "\\*\\*\\* Crash: SIGSEGV \\(signal 11\\)\n"
      "#0  unit_encoding +0x[0-9a-f]+ \\(anonymous namespace\\)::crashInKnownFunction\\(\\)\n");
}

// The trace, down to the function that threw, then the standard library's own words on the
// exception.
TEST(DOZStackTraceReportsDeathTest, AnUncaughtExceptionPrintsTheTraceFromTheThrow) {
  EXPECT_DEATH(
      {
        DOZInstallStackTraceReports();
        DOZInstallStackTraceReports();  // twice: still one report
        std::thread(throwInKnownFunction).join();  // where nothing catches it
      },
      "\\*\\*\\* Uncaught exception:\n(#[0-9]+ .*\n)*#[0-9]+ .*"
      "\\(anonymous namespace\\)::throwInKnownFunction\\(\\)\n(#[0-9]+ .*\n)*"
      "terminate called after throwing an instance of 'std::runtime_error'\n  what\\(\\):  nobody catches this");
}
