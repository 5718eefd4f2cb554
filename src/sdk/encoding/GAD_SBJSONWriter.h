#pragma once
// GAD_SBJSONWriter: one writing of a pf::Value tree as JSON text (GAD_SBJSON's writer half).
//
// Writes through a cursor into one std::string that grows by doubling: each piece makes room
// for its worst case once (a string six bytes per byte), then plain runs are copied in bulk,
// escapes come from a table and numbers are formatted in place.
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/Error.h"
#include "platform/base/Value.h"

class GAD_SBJSONWriter {
 public:
  explicit GAD_SBJSONWriter(bool humanReadable);

  // Writes `value` whatever its kind (the top-level rule is the caller's). False on failure;
  // error() tells why and text() holds what was written before it.
  bool write(const pf::Value& value);
  std::string takeText();
  const std::shared_ptr<const pf::Error>& error() const { return error_; }

 private:
  bool writeValue(const pf::Value& value);
  bool writeObject(const pf::Value::Dictionary& members);
  bool writeArray(const pf::Value::Array& items);
  static void prefetch(const pf::Value& value);
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
  std::string out_;  // its size is the capacity; the text ends at the cursor
  char* cursor_;
  char* limit_;
  std::shared_ptr<const pf::Error> error_;
};
