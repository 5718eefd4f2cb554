#pragma once
// GAD_SBJSON: the ad layer's JSON reader and writer, between text and pf::Value trees.
//
// The writer is on the main road (the parameter object handed to the ad core script, the
// user info of native-to-page messages); the reader takes JSON coming from pages and tools.
// Make one object per conversion or reuse one for several in turn; it holds only options.
//
//   GAD_SBJSON json;
//   json.setHumanReadable(true);
//   std::optional<std::string> text = json.stringWithObjectError(params, &error);
//   std::optional<pf::Value> tree = GAD_SBJSON().objectWithStringError(text, &error);
//
// Failures are pf::Error values in GAD_SBJSONErrorDomain with the codes below; a failure
// inside a container carries the inner failure as its underlying error, so a bad string in
// an array reads "Expected value while parsing array" caused by "Broken unicode character"
// caused by "Invalid high character in surrogate pair".
//
// Numbers are read exactly: an integer that fits 64 bits becomes an integer value, any other
// number a decimal value holding its canonical text (at most 38 significant digits, and
// representable as m × 10^e with m below 10^38 and e in −128…127; otherwise the read fails
// with "Failed creating decimal instance"). So writing a read number back gives the same
// number, not its nearest double. A boolean is written true/false, never 1/0.
//
// Leniencies kept on purpose, because pages and servers in the field rely on them: members
// and elements need no comma between them ("[1 2]" is [1, 2]); vertical tab and form feed
// count as whitespace; a later duplicate key replaces an earlier one.
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/Error.h"
#include "platform/base/Value.h"

inline constexpr const char* GAD_SBJSONErrorDomain = "org.kelvarn.JSON.ErrorDomain";

enum GAD_SBJSONErrorCode : long {
  GAD_SBJSONErrorUnsupported = 1,      // writer: a value or key with no JSON form
  GAD_SBJSONErrorNumber = 2,           // reader: malformed or unrepresentable number
  GAD_SBJSONErrorParse = 3,            // reader: unexpected character, wrapped inner failures
  GAD_SBJSONErrorFragment = 4,         // top level is a scalar where a container is required
  GAD_SBJSONErrorControlCharacter = 5, // reader: raw control byte (or end of input) in a string
  GAD_SBJSONErrorUnicode = 6,          // reader: bad \u escape or surrogate pair
  GAD_SBJSONErrorDepth = 7,            // reader: "Nested too deep"
  GAD_SBJSONErrorEscape = 8,           // reader: unknown backslash escape
  GAD_SBJSONErrorTrailingComma = 9,    // reader: "[1,]" and "{"a":1,}"
  GAD_SBJSONErrorGarbage = 10,         // reader: text after the value
  GAD_SBJSONErrorEndOfInput = 11,      // reader: input ends inside a value
  GAD_SBJSONErrorInput = 12,           // reader: no input, or input that is not UTF-8
};

class GAD_SBJSON {
 public:
  // However maxDepth is set, nesting deeper than this fails with "Nested too deep": trees
  // are read, written, compared and released recursively, so an unbounded depth could
  // exhaust the stack on hostile input. 2048 keeps a margin of two even in a sanitizer
  // build's large frames, and is far beyond any document of ours.
  static constexpr unsigned kDepthCeiling = 2048;

  GAD_SBJSON() = default;  // maxDepth 512

  // Writer: line breaks, two-space indentation and " : " between key and value.
  bool humanReadable() const { return humanReadable_; }
  void setHumanReadable(bool v) { humanReadable_ = v; }
  // Writer: members in ascending key order. pf::Value dictionaries keep their keys in byte
  // order already (which for UTF-8 is code point order), so members always come out sorted.
  bool sortKeys() const { return sortKeys_; }
  void setSortKeys(bool v) { sortKeys_ = v; }
  // Reader: the most arrays and objects open at once; 0 means no limit of its own (the
  // ceiling above still applies).
  unsigned maxDepth() const { return maxDepth_; }
  void setMaxDepth(unsigned v) { maxDepth_ = v; }

  // Reader. `text` absent fails with code 12. objectWithString requires an array or object
  // at the top; fragmentWithString takes any single value. `error` may be null.
  std::optional<pf::Value> objectWithStringError(std::optional<std::string_view> text,
                                                 pf::Error* error = nullptr) const;
  std::optional<pf::Value> fragmentWithStringError(std::optional<std::string_view> text,
                                                   pf::Error* error = nullptr) const;
  std::optional<pf::Value> objectWithStringAllowScalarError(std::optional<std::string_view> text,
                                                            bool allowScalar,
                                                            pf::Error* error = nullptr) const;

  // Writer. stringWithObject requires a dictionary or an array at the top.
  std::optional<std::string> stringWithObjectError(const pf::Value& value,
                                                   pf::Error* error = nullptr) const;
  std::optional<std::string> stringWithFragmentError(const pf::Value& value,
                                                     pf::Error* error = nullptr) const;
  std::optional<std::string> stringWithObjectAllowScalarError(const pf::Value& value,
                                                              bool allowScalar,
                                                              pf::Error* error = nullptr) const;

 private:
  bool humanReadable_ = false;
  bool sortKeys_ = false;
  unsigned maxDepth_ = 512;
};
