#pragma once
// GADTiming: one named interval on the monotonic clock, with a small dictionary of user
// data. GADTimingManager keeps timings by name and persists them.
//
//   auto timing = GADTiming::create("tsrl");
//   timing->start();
//   ...
//   timing->end();
//   params.set("tsrl", timing->elapsedMillisecondsString());   // "250"
//
// counter() is also the SDK's clock for "how long ago" questions elsewhere. Clock values are
// seconds since an arbitrary start (the machine's boot), not wall-clock time. Main thread.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/Value.h"

inline constexpr char kGADTimingCategoryKey[] = "category";
inline constexpr char kGADTimingStartKey[] = "start";
inline constexpr char kGADTimingEndKey[] = "end";
inline constexpr char kGADTimingKeyUserDataKey[] = "userData";

class GADTiming {
 public:
  // The monotonic clock, in seconds.
  static double counter();

  // Not started: start and end 0.
  static std::shared_ptr<GADTiming> create(std::string category);
  // From dictionaryRepresentation(): a missing or non-text "category" reads as "", missing
  // or non-number "start" and "end" as 0, "userData" only when it is a dictionary.
  static std::shared_ptr<GADTiming> createWithDictionaryRepresentation(const pf::Value& dictionary);

  // {"category", "start", "end"} and, when there is user data, "userData".
  pf::Value dictionaryRepresentation() const;
  // A new, independent timing with the same name, clock values and user data.
  std::shared_ptr<GADTiming> copy() const;

  const std::string& category() const { return category_; }
  double startSeconds() const { return startSeconds_; }
  double endSeconds() const { return endSeconds_; }

  // Starts (again): start = now, end = 0.
  void start();
  // Ends a started timing (a later call moves the end); nothing when not started.
  void end();
  void reset();
  bool isActive() const { return startSeconds_ > 0 && endSeconds_ == 0; }

  // end − start in whole milliseconds (up to now while running); 0 when never started or
  // negative (values from before a reboot), 4294967295 at most.
  uint32_t elapsedMilliseconds() const;
  // The same in decimal.
  std::string elapsedMillisecondsString() const;

  // A null value changes nothing.
  void setValueForKey(pf::Value value, std::string key);
  // Null when absent.
  pf::Value valueForKey(std::string_view key) const;
  void removeValueForKey(std::string_view key);
  // A copy of the user data; an empty dictionary when there is none.
  pf::Value keysAndValues() const;

  // "GADTiming (0x…): {…}" for logs.
  std::string description() const;

 private:
  explicit GADTiming(std::string category) : category_(std::move(category)) {}

  std::string category_;
  double startSeconds_ = 0;
  double endSeconds_ = 0;
  pf::Value userData_;  // null until the first setValueForKey
};
