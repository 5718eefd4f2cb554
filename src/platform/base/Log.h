#pragma once
// pf::Log: the console — one line per message on standard error, as NSLog on the phone:
//
//   2026-12-06 09:41:03.123 ashenmoor[1234] <Diziva> Ad request failed
//
// (local wall-clock time with milliseconds, the process name and id, the text as given).
// Each line goes out in a single write(), so messages from several threads never interleave
// inside a line. Tests capture the lines instead:
//
//   std::vector<std::string> lines;
//   auto previous = pf::Log::setSink([&](const std::string& line) { lines.push_back(line); });
//   ...
//   pf::Log::setSink(std::move(previous));
#include <functional>
#include <string>

namespace pf {

class Log {
 public:
  // Receives each complete line, without the trailing newline.
  using Sink = std::function<void(const std::string& line)>;

  static void message(const std::string& text);
  static void format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

  // Installs `sink` and returns the one it replaces; an empty sink restores standard error.
  static Sink setSink(Sink sink);

  // The line `message` writes for `text` at this moment (without the newline).
  static std::string formatLine(const std::string& text);
};

}  // namespace pf
