#include "platform/base/Log.h"

#include <errno.h>
#include <time.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <vector>

namespace pf {

namespace {

std::mutex& sinkMutex() {
  static std::mutex m;
  return m;
}

Log::Sink& currentSink() {
  static Log::Sink sink;
  return sink;
}

// The whole line in one write(), so lines from several threads never interleave (a pipe takes
// a write of up to PIPE_BUF bytes whole; a partial write, rare, is finished by the loop).
void writeToStandardError(const std::string& line) {
  std::string out = line;
  out += '\n';
  const char* p = out.data();
  size_t left = out.size();
  while (left > 0) {
    ssize_t n = ::write(STDERR_FILENO, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return;  // nowhere to report a failing console
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
}

}  // namespace

std::string Log::formatLine(const std::string& text) {
  // Real wall-clock time even under sim: a console line is for the person reading it.
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  char stamp[64];
  size_t n = strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  snprintf(stamp + n, sizeof stamp - n, ".%03ld", ts.tv_nsec / 1000000);
  std::string line = stamp;
  line += ' ';
  line += program_invocation_short_name;
  line += '[' + std::to_string(getpid()) + "] ";
  line += text;
  return line;
}

void Log::message(const std::string& text) {
  std::string line = formatLine(text);
  Sink sink;
  {
    std::lock_guard lock(sinkMutex());
    sink = currentSink();  // a copy: a sink that logs itself must not deadlock
  }
  if (sink) {
    sink(line);
  } else {
    writeToStandardError(line);
  }
}

void Log::format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list again;
  va_copy(again, args);
  int size = vsnprintf(nullptr, 0, fmt, args);
  va_end(args);
  std::string text;
  if (size > 0) {
    std::vector<char> buf(static_cast<size_t>(size) + 1);
    vsnprintf(buf.data(), buf.size(), fmt, again);
    text.assign(buf.data(), static_cast<size_t>(size));
  }
  va_end(again);
  message(text);
}

Log::Sink Log::setSink(Sink sink) {
  std::lock_guard lock(sinkMutex());
  Sink previous = std::move(currentSink());
  currentSink() = std::move(sink);
  return previous;
}

}  // namespace pf
