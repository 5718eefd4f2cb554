#pragma once
// GAD_SBJSONReader: one reading of JSON text into a pf::Value tree (GAD_SBJSON's reader
// half). It holds the cursor, the nesting depth and the first failure of one conversion.
//
// A pointer scanner over the input, which is never copied: a string without escapes is copied
// once, straight into its value; numbers go straight to integers or decimals. Each container
// is read into its own storage, reserved from the size of the last container of the same
// kind at the same depth (the objects of an array mostly have one shape), so members are
// neither moved by growth nor copied from a side stack; storage that a wrong guess left much
// too large is trimmed. The guesses and the escape buffer are kept per thread from one reading
// to the next, so a stream of similar messages is read without any regrowth.
#include <cstdint>
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
  ~GAD_SBJSONReader();
  GAD_SBJSONReader(const GAD_SBJSONReader&) = delete;
  GAD_SBJSONReader& operator=(const GAD_SBJSONReader&) = delete;

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

  // Records a failure that wraps `underlying` (the inner step's failure, or none); false.
  bool fail(long code, std::string message, std::shared_ptr<const pf::Error> underlying = nullptr);

  const char* c_;
  const char* end_;
  unsigned maxDepth_;
  unsigned depth_ = 0;
  std::shared_ptr<const pf::Error> error_;
  // Capacity to reserve for a container at the current depth; what it held is remembered
  // for the next.
  static constexpr unsigned kHintedDepths = 16;
  size_t hint(const uint32_t* hints) const;
  void remember(uint32_t* hints, size_t size) const;
  template <typename Storage>
  void trim(Storage& storage) const;

  std::string text_;  // a string with escapes being read
  uint32_t arrayHints_[2 * kHintedDepths];  // per depth: the last size, the one before
  uint32_t objectHints_[2 * kHintedDepths];
};
