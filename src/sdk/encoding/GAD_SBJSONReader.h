#pragma once
// GAD_SBJSONReader: one reading of JSON text into a pf::Value tree (GAD_SBJSON's reader
// half). It holds the cursor, the nesting depth and the first failure of one conversion.
//
// A pointer scanner over the input, which is never copied: string runs are copied once into
// the value, numbers go straight to integers or decimals. The elements and members of the
// containers being read wait on two stacks owned by the reader (innermost container last);
// a container is made when its closing bracket is read, in one allocation of its final size.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Error.h"
#include "platform/base/Value.h"

class GAD_SBJSONReader {
 public:
  GAD_SBJSONReader(std::string_view text, unsigned maxDepth);

  // The whole top-level algorithm: one value, then only whitespace; unless `allowScalar`,
  // the value must be an array or an object. Absent on failure; error() tells why.
  std::optional<pf::Value> read(bool allowScalar);
  const std::shared_ptr<const pf::Error>& error() const { return error_; }

  // Whether `text` is well-formed UTF-8 (no overlongs, surrogates or code points past
  // U+10FFFF). Text that is not cannot be a string of ours, so it is refused before reading.
  static bool isValidUTF8(std::string_view text);

 private:
  bool readValue(pf::Value& out);
  bool readArray(pf::Value& out);
  bool readObject(pf::Value& out);
  [[gnu::noinline]] bool readStringValue(pf::Value& out);
  bool readString(std::string& out);  // the cursor just past the opening quote
  bool readEscape(std::string& out);  // the cursor just past the backslash
  bool readUnicodeEscape(std::string& out);  // the cursor just past "\u"
  bool readHexUnit(unsigned& unit);
  bool readNumber(pf::Value& out);
  bool readLiteral(const char* rest, size_t length, const char* message);
  bool enterContainer();

  void skipWhitespace();
  bool atEnd() const { return c_ == end_; }
  bool next(char ch) const { return c_ != end_ && *c_ == ch; }
  bool startsContainer() const { return next('[') || next('{'); }

  // Records a failure that wraps `underlying` (the inner step's failure, or none); false.
  bool fail(long code, std::string message, std::shared_ptr<const pf::Error> underlying = nullptr);

  const char* c_;
  const char* end_;
  unsigned maxDepth_;
  unsigned depth_ = 0;
  std::shared_ptr<const pf::Error> error_;
  std::string text_;  // the string value being read
  std::vector<pf::Value> elements_;
  pf::Value::Dictionary::Storage members_;
};
