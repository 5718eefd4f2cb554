#pragma once
// pf::Value: a property-list value, the one dynamic type of the system.
//
// It is null, a boolean, a 64-bit integer, a real, a UTF-8 string, a date (seconds since
// 1 January 2001), data (bytes), an array or a dictionary with text keys. A boolean is its
// own kind, so `Value(true) != Value(1)` and the JSON writer can tell true from 1.
// A decimal is an exact decimal number kept as its canonical text (what the JSON reader
// makes of numbers that are not 64-bit integers, so that writing them back loses nothing).
// Values have value semantics: copying copies (arrays and dictionaries share storage until
// one copy is written, so passing them around is cheap).
//
//   pf::Value params = pf::Value::dictionary();
//   params.set("slotname", "a15c0f3e82d9b47");
//   params.set("u_w", 320);
//   if (auto w = params["u_w"].asInteger()) ...           // absent, never a throw
#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pf {

class Value {
 public:
  enum class Kind { Null, Boolean, Integer, Real, String, Date, Data, Array, Dictionary, Decimal };
  using Array = std::vector<Value>;
  using Dictionary = std::map<std::string, Value, std::less<>>;

  Value() = default;
  Value(std::nullptr_t) {}
  Value(bool b) : kind_(Kind::Boolean), b_(b) {}
  Value(int i) : kind_(Kind::Integer), i_(i) {}
  Value(long i) : kind_(Kind::Integer), i_(i) {}
  Value(long long i) : kind_(Kind::Integer), i_(i) {}
  Value(unsigned i) : kind_(Kind::Integer), i_(i) {}
  Value(unsigned long i) : kind_(Kind::Integer), i_(static_cast<int64_t>(i)) {}
  Value(unsigned long long i) : kind_(Kind::Integer), i_(static_cast<int64_t>(i)) {}
  Value(double d) : kind_(Kind::Real), d_(d) {}
  Value(float d) : kind_(Kind::Real), d_(d) {}
  Value(const char* s) : kind_(Kind::String), s_(std::make_shared<std::string>(s)) {}
  Value(std::string s) : kind_(Kind::String), s_(std::make_shared<std::string>(std::move(s))) {}
  Value(std::string_view s) : kind_(Kind::String), s_(std::make_shared<std::string>(s)) {}
  Value(Array a) : kind_(Kind::Array), a_(std::make_shared<Array>(std::move(a))) {}
  Value(Dictionary d) : kind_(Kind::Dictionary), m_(std::make_shared<Dictionary>(std::move(d))) {}
  // Values of unlisted types (pointers, unsigned long…) would pick a surprising overload.
  template <typename T>
  Value(T*) = delete;

  static Value date(double secondsSince2001);
  static Value data(std::string bytes);
  // `canonicalText` must be canonical: an optional "-", no exponent, no leading zeros before
  // the units digit, a fraction (if any) without trailing zeros, not zero ("-12.5", "0.001",
  // "100000000000000000000"). Equality compares the text, so the form must be unique.
  static Value decimal(std::string canonicalText);
  static Value array(std::initializer_list<Value> items = {});
  static Value dictionary(std::initializer_list<std::pair<const std::string, Value>> items = {});

  Kind kind() const { return kind_; }
  bool isNull() const { return kind_ == Kind::Null; }
  bool isBoolean() const { return kind_ == Kind::Boolean; }
  bool isInteger() const { return kind_ == Kind::Integer; }
  bool isReal() const { return kind_ == Kind::Real; }
  bool isNumber() const {
    return kind_ == Kind::Integer || kind_ == Kind::Real || kind_ == Kind::Decimal;
  }
  bool isString() const { return kind_ == Kind::String; }
  bool isDate() const { return kind_ == Kind::Date; }
  bool isData() const { return kind_ == Kind::Data; }
  bool isArray() const { return kind_ == Kind::Array; }
  bool isDictionary() const { return kind_ == Kind::Dictionary; }
  bool isDecimal() const { return kind_ == Kind::Decimal; }

  // Typed accessors answer absent when the kind differs. asInteger converts a real (toward
  // zero) and asReal an integer, as numbers do; neither converts a boolean. A decimal
  // converts like a real (asReal rounds to the nearest double).
  std::optional<bool> asBoolean() const;
  std::optional<int64_t> asInteger() const;
  std::optional<double> asReal() const;
  std::optional<std::string> asString() const;
  std::optional<double> asDate() const;  // seconds since 1 January 2001
  std::optional<std::string> asData() const;
  const Array* asArray() const;
  const Dictionary* asDictionary() const;

  // A string's text (empty when not a string), without copying.
  const std::string& stringRef() const;
  // A decimal's canonical text (empty when not a decimal).
  const std::string& decimalText() const;

  // Dictionary access. operator[] on a non-dictionary or a missing key gives null.
  const Value& operator[](std::string_view key) const;
  bool contains(std::string_view key) const;
  void set(std::string key, Value v);  // turns a null value into a dictionary first
  bool remove(std::string_view key);

  // Array access. operator[] out of range gives null.
  const Value& operator[](size_t index) const;
  void append(Value v);  // turns a null value into an array first

  // Elements of an array or entries of a dictionary; 0 for the other kinds.
  size_t size() const;

  bool operator==(const Value& other) const;
  bool operator!=(const Value& other) const { return !(*this == other); }

  // A readable, stable description in the old-style property-list text form, e.g.
  // {a = 1; b = ("x", true); } — for logs, test messages and request descriptions.
  std::string description() const;

 private:
  Array& mutableArray();
  Dictionary& mutableDictionary();

  Kind kind_ = Kind::Null;
  bool b_ = false;
  int64_t i_ = 0;
  double d_ = 0;
  std::shared_ptr<std::string> s_;  // string text, data bytes or decimal text
  std::shared_ptr<Array> a_;
  std::shared_ptr<Dictionary> m_;
};

const char* kindName(Value::Kind kind);

}  // namespace pf
