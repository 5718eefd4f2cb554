#pragma once
// pf::AssertionHandler: where internal consistency checks report a broken invariant.
//
// A failed check is logged as one line on standard error, followed by the stack trace when a
// trace source is installed (the application installs DOZStackTrace), and the program carries
// on; only a debug build (no NDEBUG) stops there, so the fault is seen where it happens. Tests
// install their own handler to see the report instead:
//
//   std::vector<std::string> seen;
//   auto previous = pf::AssertionHandler::setHandler(
//       [&](const char* method, const char*, int, const std::string& what) { seen.push_back(what); });
//   ...
//   pf::AssertionHandler::setHandler(std::move(previous));
#include <functional>
#include <string>

namespace pf {

class AssertionHandler {
 public:
  using Handler = std::function<void(const char* method, const char* file, int line,
                                     const std::string& description)>;

  // Reports a failed check made in `method` (as the failing code names itself, e.g.
  // "-[DOZStringEncoding decode:]") at file:line.
  static void handleFailure(const char* method, const char* file, int line,
                            const std::string& description);

  // Installs `handler` in place of the current one and returns the one it replaces; an empty
  // handler restores the default (log, and abort in a debug build).
  static Handler setHandler(Handler handler);

  // What the default handler prints after its log line: the calling thread's stack trace
  // (lines without a final line feed, "" for none). The platform layer cannot name frames
  // itself; the ad layer's DOZStackTrace can.
  using TraceSource = std::string (*)();
  // Installs `source` (null: no trace, as at start) and returns the one it replaces.
  static TraceSource setTraceSource(TraceSource source);

  // "*** Assertion failure in <method>, <file>:<line>: <description>" — the default's log line.
  static std::string formatFailure(const char* method, const char* file, int line,
                                   const std::string& description);
};

}  // namespace pf
