#pragma once
// GAD_SBJSONWriter: one writing of a pf::Value tree as JSON text (GAD_SBJSON's writer half).
//
// Writes through a cursor into a scratch buffer that grows by doubling: each piece makes room
// before it is written (a string for its plain length, more at each escape), plain runs are
// copied in bulk, escapes come from a table and numbers are formatted in place. The text is
// copied out once, at its exact size. The scratch buffer is kept per thread from one writing
// to the next (up to kKeptScratch bytes), so a steady stream of messages neither zero-fills
// nor maps fresh pages for every one: for a 1 MB document that was a fifth of the time.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/Error.h"
#include "platform/base/Value.h"

class GAD_SBJSONWriter {
 public:
  explicit GAD_SBJSONWriter(bool humanReadable);
  ~GAD_SBJSONWriter();
  GAD_SBJSONWriter(const GAD_SBJSONWriter&) = delete;
  GAD_SBJSONWriter& operator=(const GAD_SBJSONWriter&) = delete;

  // The largest scratch buffer kept for the next writing on the same thread.
  static constexpr size_t kKeptScratch = size_t{4} << 20;

  // Writes `value` whatever its kind (the top-level rule is the caller's). False on failure;
  // error() tells why.
  bool write(const pf::Value& value);
  // What was written (after a failure, what was written before it).
  std::string text() const;
  const std::shared_ptr<const pf::Error>& error() const { return error_; }

 private:
  bool writeValue(const pf::Value& value);
  bool writeObject(const pf::Value::Dictionary& members);
  bool writeArray(const pf::Value::Array& items);
  static void prefetch(const pf::Value& value);
  static void prefetchContents(const pf::Value& value);
  bool writeReal(double d);
  void writeString(std::string_view text);  // never fails
  void writeIndentation();
  void put(char ch) { *room(1) = ch; ++cursor_; }
  void put(std::string_view text);
  // At least `n` writable bytes at the cursor, which it returns.
  char* room(size_t n) { return static_cast<size_t>(limit_ - cursor_) >= n ? cursor_ : grow(n); }
  char* grow(size_t n);
  bool fail(long code, std::string message);

  bool humanReadable_;
  unsigned depth_ = 0;
  std::unique_ptr<char[]> buffer_;  // the text is [buffer_, cursor_); limit_ ends the room
  char* cursor_;
  char* limit_;
  std::shared_ptr<const pf::Error> error_;
};
