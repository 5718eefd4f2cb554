#pragma once
// GADHTTPDate: the dates of HTTP headers ("Last-Modified", "If-Modified-Since"), always GMT.
//
// We write the preferred form without its zone, "EEE, dd MMM yyyy HH:mm:ss" (kHTTPDateFormat),
// and callers add " GMT" where a header needs it. We read all three forms servers send:
//
//   Sun, 06 Nov 1994 08:49:37 GMT     the preferred form (IMF-fixdate)
//   Sunday, 06-Nov-94 08:49:37 GMT    the obsolete RFC 850 form, two-digit year
//   Sun Nov  6 08:49:37 1994          the obsolete asctime form
//
// "GMT" may be left off (GADCachedFile cuts it before parsing) and blanks around the date are
// ignored. Names compare without regard to case; the day name must be one, but whether it
// matches the date is not checked (servers get it wrong, the date is what matters). Nothing
// else may follow the date.
//
//   auto t = GADHTTPDate::parse("Thu, 01 Jan 2026 10:00:00 GMT");   // seconds since 1970
//   GADHTTPDate::format(*t) + " GMT";                                // the same text back
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class GADHTTPDate {
 public:
  GADHTTPDate() = delete;

  // The pattern of format(), in the date-formatter notation the original code used.
  static constexpr const char* kHTTPDateFormat = "EEE, dd MMM yyyy HH:mm:ss";

  // Seconds since 1 January 1970 GMT, or none when the text is none of the three forms or
  // names no real time (31 April, 24:00:00). A second of 60 (a leap second) is accepted and
  // read as 59: time since 1970 has no leap seconds, and a date never moves to the next day.
  static std::optional<int64_t> parse(std::string_view text);
  // The same, with two-digit years read relative to `currentYear`: a year that would lie more
  // than 50 years ahead is taken from the century before.
  static std::optional<int64_t> parse(std::string_view text, int currentYear);

  // kHTTPDateFormat for `secondsSince1970`, e.g. "Thu, 01 Jan 2026 10:00:00" (no zone).
  // Years outside 0…9999 are written with as many digits as they take.
  static std::string format(int64_t secondsSince1970);
};
