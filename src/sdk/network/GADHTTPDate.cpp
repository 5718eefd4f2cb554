#include "sdk/network/GADHTTPDate.h"

#include <array>
#include <cstdio>

#include "platform/base/AsciiText.h"
#include "platform/base/Clock.h"

namespace {

constexpr std::array<const char*, 7> kDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 7> kFullDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                      "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

constexpr int64_t kSecondsPerDay = 86400;

// Days between 1970-01-01 and the given date of the proleptic Gregorian calendar
// (H. Hinnant's days_from_civil; exact for every year an int64 holds here).
int64_t daysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct CivilDate {
  int64_t year;
  int month;
  int day;
};

CivilDate civilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2), month, day};
}

bool isLeapYear(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int64_t y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

// A cursor over the date text; each read consumes only on success.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  bool atEnd() const { return pos_ == text_.size(); }

  bool literal(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) return ++pos_, true;
    return false;
  }
  // One blank or more.
  bool blanks() {
    size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    return pos_ > start;
  }
  // A run of letters that is one of `names`; answers its index.
  template <size_t N>
  std::optional<int> name(const std::array<const char*, N>& names) {
    size_t end = pos_;
    while (end < text_.size() && ((text_[end] | 0x20) >= 'a' && (text_[end] | 0x20) <= 'z')) ++end;
    std::string_view word = text_.substr(pos_, end - pos_);
    for (size_t i = 0; i < N; ++i) {
      if (pf::equalsIgnoringAsciiCase(word, names[i])) {
        pos_ = end;
        return static_cast<int>(i);
      }
    }
    return std::nullopt;
  }
  // Between `minDigits` and `maxDigits` decimal digits.
  std::optional<int> number(size_t minDigits, size_t maxDigits) {
    size_t end = pos_;
    int value = 0;
    while (end < text_.size() && end - pos_ < maxDigits && text_[end] >= '0' && text_[end] <= '9')
      value = value * 10 + (text_[end++] - '0');
    if (end - pos_ < minDigits) return std::nullopt;
    // More digits than allowed is a different field, not this one.
    if (end < text_.size() && text_[end] >= '0' && text_[end] <= '9') return std::nullopt;
    pos_ = end;
    return value;
  }
  // "HH:mm:ss".
  bool timeOfDay(int& h, int& m, int& s) {
    auto hh = number(2, 2);
    if (!hh || !literal(':')) return false;
    auto mm = number(2, 2);
    if (!mm || !literal(':')) return false;
    auto ss = number(2, 2);
    if (!ss) return false;
    h = *hh, m = *mm, s = *ss;
    return true;
  }
  // An optional " GMT" and then the end.
  bool zoneAndEnd() {
    if (atEnd()) return true;
    if (!blanks()) return false;
    if (pf::equalsIgnoringAsciiCase(text_.substr(pos_), "GMT")) pos_ = text_.size();
    return atEnd();
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

struct Fields {
  int64_t year = 0;
  int month = 0;  // 1…12
  int day = 0, hour = 0, minute = 0, second = 0;
};

std::optional<int64_t> toSeconds(const Fields& f) {
  if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > daysInMonth(f.year, f.month) ||
      f.hour > 23 || f.minute > 59 || f.second > 60)
    return std::nullopt;
  int second = f.second == 60 ? 59 : f.second;  // a leap second: seconds since 1970 skip it
  return daysFromCivil(f.year, f.month, f.day) * kSecondsPerDay + f.hour * 3600 + f.minute * 60 +
         second;
}

// "Sun, 06 Nov 1994 08:49:37 [GMT]" (a one-digit day is let through).
std::optional<Fields> parseFixdate(std::string_view text) {
  Scanner s(text);
  Fields f;
  if (!s.name(kDayNames) || !s.literal(',') || !s.blanks()) return std::nullopt;
  auto day = s.number(1, 2);
  if (!day || !s.blanks()) return std::nullopt;
  auto month = s.name(kMonthNames);
  if (!month || !s.blanks()) return std::nullopt;
  auto year = s.number(4, 4);
  if (!year || !s.blanks()) return std::nullopt;
  if (!s.timeOfDay(f.hour, f.minute, f.second) || !s.zoneAndEnd()) return std::nullopt;
  f.year = *year, f.month = *month + 1, f.day = *day;
  return f;
}

// "Sunday, 06-Nov-94 08:49:37 [GMT]".
std::optional<Fields> parseRfc850(std::string_view text, int currentYear) {
  Scanner s(text);
  Fields f;
  if (!s.name(kFullDayNames) || !s.literal(',') || !s.blanks()) return std::nullopt;
  auto day = s.number(1, 2);
  if (!day || !s.literal('-')) return std::nullopt;
  auto month = s.name(kMonthNames);
  if (!month || !s.literal('-')) return std::nullopt;
  auto year = s.number(2, 2);
  if (!year || !s.blanks()) return std::nullopt;
  if (!s.timeOfDay(f.hour, f.minute, f.second) || !s.zoneAndEnd()) return std::nullopt;
  int64_t full = (currentYear / 100) * 100 + *year;
  if (full > currentYear + 50) full -= 100;
  f.year = full, f.month = *month + 1, f.day = *day;
  return f;
}

// "Sun Nov  6 08:49:37 1994".
std::optional<Fields> parseAsctime(std::string_view text) {
  Scanner s(text);
  Fields f;
  if (!s.name(kDayNames) || !s.blanks()) return std::nullopt;
  auto month = s.name(kMonthNames);
  if (!month || !s.blanks()) return std::nullopt;
  auto day = s.number(1, 2);
  if (!day || !s.blanks()) return std::nullopt;
  if (!s.timeOfDay(f.hour, f.minute, f.second) || !s.blanks()) return std::nullopt;
  auto year = s.number(4, 4);
  if (!year || !s.atEnd()) return std::nullopt;
  f.year = *year, f.month = *month + 1, f.day = *day;
  return f;
}

}  // namespace

std::optional<int64_t> GADHTTPDate::parse(std::string_view text) {
  int64_t today = static_cast<int64_t>(pf::Clock::nowSince1970()) / kSecondsPerDay;
  return parse(text, static_cast<int>(civilFromDays(today).year));
}

std::optional<int64_t> GADHTTPDate::parse(std::string_view text, int currentYear) {
  text = pf::trimAscii(text);
  std::optional<Fields> fields = parseFixdate(text);
  if (!fields) fields = parseRfc850(text, currentYear);
  if (!fields) fields = parseAsctime(text);
  if (!fields) return std::nullopt;
  return toSeconds(*fields);
}

std::string GADHTTPDate::format(int64_t secondsSince1970) {
  // Floor division, so a time before 1970 falls on the day it belongs to.
  int64_t days = secondsSince1970 / kSecondsPerDay;
  int64_t rest = secondsSince1970 % kSecondsPerDay;
  if (rest < 0) rest += kSecondsPerDay, --days;
  CivilDate date = civilFromDays(days);
  int weekday = static_cast<int>(((days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s, %02d %s %04lld %02d:%02d:%02d", kDayNames[weekday],
                date.day, kMonthNames[date.month - 1], static_cast<long long>(date.year),
                static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                static_cast<int>(rest % 60));
  return buffer;
}
