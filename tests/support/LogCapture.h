#pragma once
// The console lines (pf::Log) written while it lives, instead of standard error; the sink
// it replaced comes back at the end.
//
//   LogCapture log;
//   ... code that logs ...
//   EXPECT_EQ(log.countEndingWith("<Diziva> done"), 1u);
#include <string>
#include <vector>

#include "platform/base/Log.h"

class LogCapture {
 public:
  LogCapture() : previous_(pf::Log::setSink([this](const std::string& line) { lines.push_back(line); })) {}
  ~LogCapture() { pf::Log::setSink(std::move(previous_)); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  size_t countEndingWith(const std::string& text) const {
    size_t n = 0;
    for (const auto& line : lines) n += line.ends_with(text);
    return n;
  }

  std::vector<std::string> lines;

 private:
  pf::Log::Sink previous_;
};
