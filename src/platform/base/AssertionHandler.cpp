#include "platform/base/AssertionHandler.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace pf {

namespace {

std::mutex& handlerMutex() {
  static std::mutex m;
  return m;
}

AssertionHandler::Handler& installedHandler() {
  static AssertionHandler::Handler handler;
  return handler;
}

std::atomic<AssertionHandler::TraceSource>& installedTraceSource() {
  static std::atomic<AssertionHandler::TraceSource> source{nullptr};
  return source;
}

void defaultHandler(const char* method, const char* file, int line, const std::string& description) {
  std::string text = AssertionHandler::formatFailure(method, file, line, description);
  if (auto source = installedTraceSource().load()) {
    std::string trace = source();
    if (!trace.empty()) text += "\n" + trace;
  }
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
#ifndef NDEBUG
  std::abort();
#endif
}

}  // namespace

std::string AssertionHandler::formatFailure(const char* method, const char* file, int line,
                                            const std::string& description) {
  // Only the file's own name: build paths say nothing to the reader of a log.
  std::string path = file ? file : "?";
  auto slash = path.find_last_of('/');
  if (slash != std::string::npos) path.erase(0, slash + 1);
  return "*** Assertion failure in " + std::string(method ? method : "?") + ", " + path + ":" +
         std::to_string(line) + ": " + description;
}

void AssertionHandler::handleFailure(const char* method, const char* file, int line,
                                     const std::string& description) {
  Handler handler;
  {
    std::lock_guard<std::mutex> lock(handlerMutex());
    handler = installedHandler();
  }
  // Called outside the lock, so a handler may itself install another one.
  if (handler) {
    handler(method, file, line, description);
  } else {
    defaultHandler(method, file, line, description);
  }
}

AssertionHandler::TraceSource AssertionHandler::setTraceSource(TraceSource source) {
  return installedTraceSource().exchange(source);
}

AssertionHandler::Handler AssertionHandler::setHandler(Handler handler) {
  std::lock_guard<std::mutex> lock(handlerMutex());
  return std::exchange(installedHandler(), std::move(handler));
}

}  // namespace pf
