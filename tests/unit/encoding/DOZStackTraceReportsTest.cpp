// DOZStackTraceReports: the trace after a failed check's report and after a crash.
#include "sdk/encoding/DOZStackTraceReports.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include "platform/base/AssertionHandler.h"

namespace {

__attribute__((noinline)) void crashInKnownFunction() {
  // Not null, which the compiler and UBSan treat apart: a page nothing is mapped at.
  int* volatile nowhere = reinterpret_cast<int*>(16);
  *nowhere = 1;
  asm volatile("" ::: "memory");
}

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
