#pragma once
// DOZStackTraceReports: the stack trace where a person looks when something goes wrong.
//
//   int main(int argc, char* argv[]) {
//     DOZInstallStackTraceReports();
//     ...
//   }
//
// After it, a failed internal check's report (pf::AssertionHandler's default handler) is
// followed by the trace, and in a debug build (no NDEBUG) a crash prints one too.

// Makes DOZStackTrace the assertion handler's trace source; in a debug build also
// DOZInstallCrashTraces().
void DOZInstallStackTraceReports();

// On SIGSEGV, SIGBUS, SIGILL or SIGFPE, writes "*** Crash: SIG<name> (signal <n>)" and the
// trace to standard error — line 0 the interrupted function (the handler's own frames left
// out; at most 255 frames), then lets the signal end the process as it would have (core dump
// and exit status unchanged). The calling thread gets an alternate signal stack, so a stack
// overflow there is reported too. A diagnostic for debug builds: the trace allocates and takes
// locks, which a signal handler is not entitled to — a crash inside malloc or the dynamic
// linker may hang instead of reporting. SIGABRT is left alone: an abort has reported itself.
void DOZInstallCrashTraces();
