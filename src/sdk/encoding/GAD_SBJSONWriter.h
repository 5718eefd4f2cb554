#pragma once
// GAD_SBJSONWriter: one writing of a pf::Value tree as JSON text (GAD_SBJSON's writer half).
//
// Appends to one reserved std::string: plain runs of a string are copied in bulk, escapes
// come from a table, numbers are formatted on the stack.
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
  std::string& text() { return out_; }
  const std::shared_ptr<const pf::Error>& error() const { return error_; }

  // Appends `text` as a JSON string; never fails.
  static void appendString(std::string& out, std::string_view text);

 private:
  bool writeValue(const pf::Value& value);
  bool writeObject(const pf::Value::Dictionary& members);
  bool writeArray(const pf::Value::Array& items);
  bool writeReal(double d);
  void writeIndentation();
  bool fail(long code, std::string message);

  bool humanReadable_;
  unsigned depth_ = 0;
  std::string out_;
  std::shared_ptr<const pf::Error> error_;
};
