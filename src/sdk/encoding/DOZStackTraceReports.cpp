#include "sdk/encoding/DOZStackTraceReports.h"

#include <execinfo.h>
#include <signal.h>
#include <ucontext.h>
#include <string.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <string>

#include "platform/base/AssertionHandler.h"
#include "sdk/encoding/DOZStackTrace.h"
#include "sdk/encoding/DOZStackTracePrivate.h"

namespace {

constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};

void writeAll(const char* text, size_t size) {
  while (size > 0) {
    const ssize_t n = write(STDERR_FILENO, text, size);
    if (n <= 0) return;
    text += n;
    size -= static_cast<size_t>(n);
  }
}

// Where the signal struck: the interrupted instruction, or null where we cannot tell.
const void* faultingInstruction(void* context) {
  const auto* uc = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
  return reinterpret_cast<const void*>(uc->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
  return reinterpret_cast<const void*>(uc->uc_mcontext.pc);
#else
  (void)uc;
  return nullptr;
#endif
}

// The trace from the interrupted frame on: the handler's own frames and the kernel's signal
// trampoline say nothing about the crash.
std::string crashTrace(void* context) {
  void* addresses[256];
  const int n = backtrace(addresses, static_cast<int>(std::size(addresses)));
  const void* pc = faultingInstruction(context);
  for (int i = 1; pc && i < n; ++i) {
    // The entry before the interrupted frame stands for the tracer's own, which is left out.
    if (addresses[i] == pc) return DOZStackTraceFromReturnAddresses(addresses + i - 1, static_cast<unsigned>(n - i + 1));
  }
  return DOZStackTrace();
}

void crashed(int signal, siginfo_t*, void* context) {
  char header[96];
  const char* abbrev = sigabbrev_np(signal);
  const int n = std::snprintf(header, sizeof header, "*** Crash: SIG%s (signal %d)\n", abbrev ? abbrev : "?", signal);
  if (n > 0) writeAll(header, static_cast<size_t>(n) < sizeof header ? n : sizeof header - 1);
  std::string trace = crashTrace(context);
  trace += '\n';
  writeAll(trace.data(), trace.size());
  // The handler was reset on entry (SA_RESETHAND): a fault returns to the faulting instruction
  // and ends there; a signal sent with kill() is raised again, held until we return.
  raise(signal);
}

std::terminate_handler previousTerminate = nullptr;

[[noreturn]] void uncaughtException() {
  // Once per process: a second thread terminating, or anything going wrong below, ends here.
  static std::atomic<bool> entered{false};
  if (entered.exchange(true)) std::abort();
  // Not in a signal handler: allocating is fine here.
  if (std::current_exception()) {
    std::string report = "*** Uncaught exception:\n" + DOZStackTrace() + "\n";
    writeAll(report.data(), report.size());
  }
  if (previousTerminate) previousTerminate();
  std::abort();
}

}  // namespace

void DOZInstallUncaughtExceptionTraces() {
  std::terminate_handler previous = std::get_terminate();
  if (previous == uncaughtException) return;  // installed twice: keep the first one's predecessor
  previousTerminate = previous;
  std::set_terminate(uncaughtException);
}

void DOZInstallCrashTraces() {
  // glibc loads the unwinder on its first backtrace(): do that now, not in the handler.
  void* warmUp[2];
  backtrace(warmUp, 2);

  static constexpr size_t kAlternateStackSize = 256 * 1024;
  static void* alternateStack = std::malloc(kAlternateStackSize);  // kept for the process
  if (alternateStack) {
    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = kAlternateStackSize;
    sigaltstack(&stack, nullptr);
  }
  struct sigaction action {};
  action.sa_sigaction = crashed;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : kCrashSignals) sigaction(signal, &action, nullptr);
}

void DOZInstallStackTraceReports() {
  pf::AssertionHandler::setTraceSource(DOZStackTrace);
  DOZInstallUncaughtExceptionTraces();
#ifndef NDEBUG
  DOZInstallCrashTraces();
#endif
}
