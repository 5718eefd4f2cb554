#pragma once
// DOZStackTraceReports: the stack trace where a person looks when something goes wrong.
//
//   int main(int argc, char* argv[]) {
//     DOZInstallStackTraceReports();
//     ...
//   }
//
// After it, a failed internal check's report (pf::AssertionHandler's default handler) and an
// exception nobody caught are followed by the trace, and in a debug build (no NDEBUG) a crash
// prints one too.

// Makes DOZStackTrace the assertion handler's trace source and installs
// DOZInstallUncaughtExceptionTraces(); in a debug build also DOZInstallCrashTraces().
void DOZInstallStackTraceReports();

// When an exception reaches std::terminate (nothing caught it), writes "*** Uncaught
// exception:" and the trace to standard error, then hands over to the terminate handler that
// was installed before (libstdc++'s names the exception's type and what(), and aborts).
// When nothing on the stack would catch it, nothing was unwound on the way: below the
// handler, std::terminate and __cxa_throw comes the function that threw. An exception leaving
// a noexcept function is reported from that function.
void DOZInstallUncaughtExceptionTraces();

// On SIGSEGV, SIGBUS, SIGILL or SIGFPE, writes "*** Crash: SIG<name> (signal <n>)" and the
// trace to standard error — line 0 the interrupted function (the handler's own frames left
// out; at most 255 frames), then lets the signal end the process as it would have (core dump
// and exit status unchanged). The calling thread gets an alternate signal stack, so a stack
// overflow there is reported too. A diagnostic for debug builds: the trace allocates and takes
// locks, which a signal handler is not entitled to — a crash inside malloc or the dynamic
// linker may hang instead of reporting. SIGABRT is left alone: an abort has reported itself.
void DOZInstallCrashTraces();
