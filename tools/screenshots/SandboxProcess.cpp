#include "SandboxProcess.h"

#include <csignal>
#include <cstdio>
#include <vector>

#ifndef ASHENMOOR_SANDBOX_BIN
#define ASHENMOOR_SANDBOX_BIN "ashenmoor-sandbox"  // not built: found on the PATH, if at all
#endif

SandboxProcess::SandboxProcess(const std::string& extraArgs) {
  std::vector<std::string> args = {ASHENMOOR_SANDBOX_BIN, "--content-port", "0", "--static-port", "0",
                                   "--ad-port", "0"};
  if (!extraArgs.empty()) {
    g_auto(GStrv) extra = g_strsplit(extraArgs.c_str(), " ", -1);
    for (char** a = extra; *a; ++a) args.emplace_back(*a);
  }
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  argv.push_back(nullptr);

  g_autoptr(GError) error = nullptr;
  // The sandbox's request log goes to the test's own standard error.
  process_ = g_subprocess_newv(argv.data(), G_SUBPROCESS_FLAGS_STDOUT_PIPE, &error);
  if (!process_) {
    std::fprintf(stderr, "cannot start %s: %s\n", ASHENMOOR_SANDBOX_BIN, error->message);
    return;
  }
  g_autoptr(GDataInputStream) out = g_data_input_stream_new(g_subprocess_get_stdout_pipe(process_));
  g_autofree char* line = g_data_input_stream_read_line(out, nullptr, nullptr, nullptr);
  if (!line) return;  // exited before it was ready
  readyLine_ = line;
  if (std::sscanf(line, "ready content=%d static=%d ad=%d", &contentPort_, &staticPort_, &adPort_) != 3) {
    adPort_ = 0;
  }
}

SandboxProcess::~SandboxProcess() {
  if (!process_) return;
  stop();
  if (!g_subprocess_get_if_exited(process_) && !g_subprocess_get_if_signaled(process_)) {
    g_subprocess_force_exit(process_);
    g_subprocess_wait(process_, nullptr, nullptr);
  }
  g_object_unref(process_);
}

bool SandboxProcess::stop(int timeoutMs) {
  if (!process_) return false;
  g_subprocess_send_signal(process_, SIGTERM);
  // Bounded wait: poll the child's status through its own main context.
  bool done = false;
  g_subprocess_wait_async(process_, nullptr, [](GObject*, GAsyncResult*, gpointer flag) {
    *static_cast<bool*>(flag) = true;
  }, &done);
  gint64 deadline = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
  while (!done && g_get_monotonic_time() < deadline) {
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(2000);
  }
  if (!done) {
    g_subprocess_force_exit(process_);
    while (!done) g_main_context_iteration(nullptr, TRUE);
    return false;
  }
  return g_subprocess_get_if_exited(process_) && g_subprocess_get_exit_status(process_) == 0;
}
