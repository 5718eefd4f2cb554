#pragma once
/// @file
/// pf::Value: a property-list value, and pf::ValueDictionary, its dictionaries' entries.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/ValueAllocator.h"

namespace pf {

class ValueDictionary;

/// A property-list value, the one dynamic type of the system.
///
/// It is null, a boolean, a 64-bit integer, a real, a UTF-8 string, a date (seconds since
/// 1 January 2001), data (bytes), an array or a dictionary with text keys. A boolean is its
/// own kind, so `Value(true) != Value(1)` and the JSON writer can tell true from 1.
/// A decimal is an exact decimal number kept as its canonical text (what the JSON reader
/// makes of numbers that are not 64-bit integers, so that writing them back loses nothing).
/// Values have value semantics: copying copies (arrays and dictionaries share storage until
/// one copy is written, so passing them around is cheap). A moved-from value is null.
///
/// Storage: a string, data or decimal keeps its bytes in the value itself (a std::string, so
/// short texts need no allocation); an array or a dictionary is one shared block. A
/// dictionary is a flat vector of (key, value) pairs sorted by key in byte order, which is
/// what the JSON writer and the property-list writers walk and what the JSON reader builds
/// in one step from the members it has read. Container blocks and element storage come from
/// pf::ValueBlockCache (ValueAllocator), which recycles them per thread.
///
/// @code
/// pf::Value params = pf::Value::dictionary();
/// params.set("slotname", "a15c0f3e82d9b47");
/// params.set("u_w", 320);
/// if (auto w = params["u_w"].asInteger()) ...           // absent, never a throw
/// @endcode
class Value {
 public:
  /// What a value holds.
  enum class Kind : unsigned char {
    Null, Boolean, Integer, Real, String, Date, Data, Array, Dictionary, Decimal
  };
  /// The elements of an array value.
  using Array = std::vector<Value, ValueAllocator<Value>>;
  /// The entries of a dictionary value.
  using Dictionary = ValueDictionary;

  /// @name Making values
  /// A value of the argument's kind: null, a boolean, an integer (any integer type), a real
  /// (double or float), a string (UTF-8 text), an array or a dictionary.
  /// @{

  /// Null.
  Value() noexcept : i_(0) {}
  Value(std::nullptr_t) noexcept : i_(0) {}
  Value(bool b) noexcept : b_(b), kind_(Kind::Boolean) {}
  Value(int i) noexcept : i_(i), kind_(Kind::Integer) {}
  Value(long i) noexcept : i_(i), kind_(Kind::Integer) {}
  Value(long long i) noexcept : i_(i), kind_(Kind::Integer) {}
  Value(unsigned i) noexcept : i_(i), kind_(Kind::Integer) {}
  Value(unsigned long i) noexcept : i_(static_cast<int64_t>(i)), kind_(Kind::Integer) {}
  Value(unsigned long long i) noexcept : i_(static_cast<int64_t>(i)), kind_(Kind::Integer) {}
  Value(double d) noexcept : d_(d), kind_(Kind::Real) {}
  Value(float d) noexcept : d_(d), kind_(Kind::Real) {}
  Value(const char* s) : s_(s), kind_(Kind::String) {}
  Value(std::string s) noexcept : s_(std::move(s)), kind_(Kind::String) {}
  Value(std::string_view s) : s_(s), kind_(Kind::String) {}
  Value(Array a) : a_(makeShared<Array>(std::move(a))), kind_(Kind::Array) {}
  Value(Dictionary d);
  /// @}
  /// Values of unlisted types (pointers, unsigned long…) would pick a surprising overload.
  template <typename T>
  Value(T*) = delete;

  /// @name Copying and moving
  /// Copying copies (containers share storage until one copy is written); a moved-from
  /// value is null.
  /// @{

  /// A copy of `other`.
  Value(const Value& other);
  Value(Value&& other) noexcept { moveFrom(other); }
  Value& operator=(const Value& other);
  Value& operator=(Value&& other) noexcept {
    if (kind_ == Kind::Null) {  // filling a fresh slot, the common case: nothing to let go of
      moveFrom(other);
      return *this;
    }
    return moveAssignSlow(other);
  }  ~Value() { release(); }
  /// @}

  /// A date, in seconds since 1 January 2001.
  static Value date(double secondsSince2001);
  /// Data: bytes, not text.
  static Value data(std::string bytes);
  /// `canonicalText` must be canonical: an optional "-", no exponent, no leading zeros before
  /// the units digit, a fraction (if any) without trailing zeros, not zero ("-12.5", "0.001",
  /// "100000000000000000000"). Equality compares the text, so the form must be unique.
  static Value decimal(std::string canonicalText);
  /// An array of `items`.
  static Value array(std::initializer_list<Value> items = {});
  /// A dictionary of `items` (of several with one key, the first is kept).
  static Value dictionary(std::initializer_list<std::pair<const std::string, Value>> items = {});

  /// What the value holds.
  Kind kind() const { return kind_; }
  /// @name Kinds
  /// Whether the value is of that kind (isNumber: an integer, a real or a decimal).
  /// @{

  /// Whether the value is null.
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
  /// @}

  /// @name Typed accessors
  /// Typed accessors answer absent when the kind differs. asInteger converts a real (toward
  /// zero) and asReal an integer, as numbers do; neither converts a boolean. A decimal
  /// converts like a real (asReal rounds to the nearest double). asDate answers seconds since
  /// 1 January 2001; asArray and asDictionary a pointer, null for another kind.
  /// @{

  /// The boolean, if the value is one.
  std::optional<bool> asBoolean() const;
  std::optional<int64_t> asInteger() const;
  std::optional<double> asReal() const;
  std::optional<std::string> asString() const;
  std::optional<double> asDate() const;
  std::optional<std::string> asData() const;
  const Array* asArray() const { return kind_ == Kind::Array ? a_.get() : nullptr; }
  const Dictionary* asDictionary() const {
    return kind_ == Kind::Dictionary ? m_.get() : nullptr;
  }
  /// @}

  /// A string's text (empty when not a string), without copying.
  const std::string& stringRef() const { return kind_ == Kind::String ? s_ : emptyString(); }
  /// A decimal's canonical text (empty when not a decimal).
  const std::string& decimalText() const { return kind_ == Kind::Decimal ? s_ : emptyString(); }

  /// @name Payloads
  /// The payload of a value whose kind the caller has just checked, without the conversions
  /// of the as… accessors: for loops over large trees (the JSON writer).
  /// @{

  /// A boolean's payload (false for another kind).
  bool booleanPayload() const { return kind_ == Kind::Boolean && b_; }
  int64_t integerPayload() const { return kind_ == Kind::Integer ? i_ : 0; }
  double realPayload() const { return kind_ == Kind::Real || kind_ == Kind::Date ? d_ : 0.0; }
  /// @}

  /// The value under `key`; null on a non-dictionary or for a missing key.
  const Value& operator[](std::string_view key) const;
  /// Whether a dictionary has `key`.
  bool contains(std::string_view key) const;
  /// Sets the value under `key`; turns a null value into a dictionary first.
  void set(std::string key, Value v);
  /// Removes `key` from a dictionary; whether it was there.
  bool remove(std::string_view key);

  /// The element at `index`; null on a non-array or out of range.
  const Value& operator[](size_t index) const;
  /// Appends `v`; turns a null value into an array first.
  void append(Value v);

  /// Elements of an array or entries of a dictionary; 0 for the other kinds.
  size_t size() const;

  /// Same kind and same contents (a boolean never equals a number).
  bool operator==(const Value& other) const;
  /// Not operator==.
  bool operator!=(const Value& other) const { return !(*this == other); }

  /// A readable, stable description in the old-style property-list text form, e.g.
  /// {a = 1; b = ("x", true); } — for logs, test messages and request descriptions.
  std::string description() const;

 private:
  static const std::string& emptyString() { return kEmptyString; }
  static const std::string kEmptyString;
  bool holdsText() const {
    return kind_ == Kind::String || kind_ == Kind::Data || kind_ == Kind::Decimal;
  }
  /// Ends the payload's lifetime; the value is null afterwards.
  [[gnu::always_inline]] void release() noexcept {
    if (holdsText()) s_.~basic_string();
    else if (kind_ == Kind::Array) a_.~shared_ptr();
    else if (kind_ == Kind::Dictionary) m_.~shared_ptr();
    kind_ = Kind::Null;
  }
  /// Takes `other`'s payload into this value, whose payload must already be released;
  /// `other` is null afterwards.
  [[gnu::always_inline]] void moveFrom(Value& other) noexcept {
    kind_ = other.kind_;
    switch (kind_) {
      case Kind::String:
      case Kind::Data:
      case Kind::Decimal: ::new (&s_) std::string(std::move(other.s_)); break;
      case Kind::Array: ::new (&a_) std::shared_ptr<Array>(std::move(other.a_)); break;
      case Kind::Dictionary: ::new (&m_) std::shared_ptr<Dictionary>(std::move(other.m_)); break;
      case Kind::Boolean: b_ = other.b_; break;
      case Kind::Integer: i_ = other.i_; break;
      case Kind::Real:
      case Kind::Date: d_ = other.d_; break;
      case Kind::Null: break;
    }
    other.release();
  }
  void copyFrom(const Value& other);
  Value& moveAssignSlow(Value& other) noexcept;
  /// A container's shared block, from the same cache as its elements.
  template <typename C, typename... Args>
  static std::shared_ptr<C> makeShared(Args&&... args) {
    return std::allocate_shared<C>(ValueAllocator<C>(), std::forward<Args>(args)...);
  }
  Array& mutableArray();
  Dictionary& mutableDictionary();

  union {
    bool b_;
    int64_t i_;
    double d_;
    std::string s_;  // string text, data bytes or decimal text
    std::shared_ptr<Array> a_;
    std::shared_ptr<Dictionary> m_;
  };
  Kind kind_ = Kind::Null;
};

/// The entries of a dictionary value: (key, value) pairs in a vector sorted by key in byte
/// order, keys unique. It offers the part of std::map's interface that callers use, so
/// `for (const auto& [key, value] : *v.asDictionary())` and lookups by std::string_view read
/// as before. Iterators and references are invalidated by any insertion or erasure.
/// Iterating gives pairs whose key is not const: never change a key through one.
class ValueDictionary {
 public:
  /// @name Types, as std::map names them
  /// @{

  /// The key type: text.
  using key_type = std::string;
  using mapped_type = Value;
  using value_type = std::pair<std::string, Value>;
  using Storage = std::vector<value_type, ValueAllocator<value_type>>;
  using size_type = std::size_t;
  using iterator = Storage::iterator;
  using const_iterator = Storage::const_iterator;
  /// @}

  /// No entries.
  ValueDictionary() = default;
  /// @name From entries
  /// Like std::map, the first of several entries with the same key is the one kept.
  /// @{

  /// The entries of `items`.
  ValueDictionary(std::initializer_list<std::pair<const std::string, Value>> items)
      : ValueDictionary(items.begin(), items.end()) {}
  template <typename InputIt>
  ValueDictionary(InputIt first, InputIt last) {
    for (; first != last; ++first) entries_.emplace_back(first->first, first->second);
    normalise(/*lastWins=*/false);
  }
  /// @}

  /// Takes `entries` in any order; of several with the same key the last one is kept (a
  /// later member of a JSON object replaces an earlier one). No work beyond one pass when
  /// the keys are already strictly ascending.
  static ValueDictionary fromUnsorted(Storage entries) {
    ValueDictionary d;
    d.entries_ = std::move(entries);
    d.normalise(/*lastWins=*/true);
    return d;
  }

  /// @name The std::map interface
  /// As std::map's members of the same names, keys looked up as std::string_view.
  /// @{

  /// The first entry.
  iterator begin() noexcept { return entries_.begin(); }
  iterator end() noexcept { return entries_.end(); }
  const_iterator begin() const noexcept { return entries_.begin(); }
  const_iterator end() const noexcept { return entries_.end(); }
  const_iterator cbegin() const noexcept { return entries_.cbegin(); }
  const_iterator cend() const noexcept { return entries_.cend(); }

  bool empty() const noexcept { return entries_.empty(); }
  size_type size() const noexcept { return entries_.size(); }
  void reserve(size_type n) { entries_.reserve(n); }
  void clear() noexcept { entries_.clear(); }

  /// The first entry whose key is not less than `key`.
  iterator lower_bound(std::string_view key) { return begin() + lowerIndex(key); }
  const_iterator lower_bound(std::string_view key) const { return begin() + lowerIndex(key); }

  iterator find(std::string_view key) {
    size_t i = lowerIndex(key);
    return i < entries_.size() && entries_[i].first == key ? begin() + i : end();
  }
  const_iterator find(std::string_view key) const {
    size_t i = lowerIndex(key);
    return i < entries_.size() && entries_[i].first == key ? begin() + i : end();
  }
  bool contains(std::string_view key) const { return find(key) != end(); }
  size_type count(std::string_view key) const { return contains(key) ? 1 : 0; }

  Value& at(std::string_view key) {
    auto it = find(key);
    if (it == end()) throw std::out_of_range("ValueDictionary::at: no such key");
    return it->second;
  }
  const Value& at(std::string_view key) const {
    auto it = find(key);
    if (it == end()) throw std::out_of_range("ValueDictionary::at: no such key");
    return it->second;
  }

  /// The value for `key`, a null one inserted first when there is none.
  Value& operator[](std::string_view key) {
    auto [i, found] = slotFor(key);
    if (!found) entries_.emplace(begin() + i, std::string(key), Value());
    return entries_[i].second;
  }

  /// Adds the entry unless the key is present; the entry and whether it was added.
  template <typename... Args>
  std::pair<iterator, bool> try_emplace(std::string key, Args&&... args) {
    auto [i, found] = slotFor(key);
    if (found) return {begin() + i, false};
    auto it = entries_.emplace(begin() + i, std::piecewise_construct,
                               std::forward_as_tuple(std::move(key)),
                               std::forward_as_tuple(std::forward<Args>(args)...));
    return {it, true};
  }
  template <typename K, typename V>
  std::pair<iterator, bool> emplace(K&& key, V&& value) {
    return try_emplace(std::string(std::forward<K>(key)), std::forward<V>(value));
  }
  std::pair<iterator, bool> insert(value_type entry) {
    return try_emplace(std::move(entry.first), std::move(entry.second));
  }
  template <typename InputIt>
  void insert(InputIt first, InputIt last) {
    for (; first != last; ++first) try_emplace(std::string(first->first), first->second);
  }

  /// Adds the entry or replaces the value of the one with that key.
  std::pair<iterator, bool> insert_or_assign(std::string key, Value value) {
    auto [i, found] = slotFor(key);
    if (found) {
      entries_[i].second = std::move(value);
      return {begin() + i, false};
    }
    return {entries_.emplace(begin() + i, std::move(key), std::move(value)), true};
  }
  /// The hint is accepted for std::map's sake; the position is always found from the key.
  iterator insert_or_assign(const_iterator, std::string key, Value value) {
    return insert_or_assign(std::move(key), std::move(value)).first;
  }

  size_type erase(std::string_view key) {
    auto it = find(key);
    if (it == end()) return 0;
    entries_.erase(it);
    return 1;
  }
  iterator erase(const_iterator position) { return entries_.erase(position); }
  iterator erase(const_iterator first, const_iterator last) { return entries_.erase(first, last); }

  void swap(ValueDictionary& other) noexcept { entries_.swap(other.entries_); }

  bool operator==(const ValueDictionary& other) const { return entries_ == other.entries_; }
  bool operator!=(const ValueDictionary& other) const { return !(*this == other); }
  /// @}

 private:
  size_t lowerIndex(std::string_view key) const {
    auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                               [](const value_type& e, std::string_view k) {
                                 return std::string_view(e.first) < k;
                               });
    return static_cast<size_t>(it - entries_.begin());
  }
  /// Where `key` is or would go; appending in key order, the common way of building, is
  /// answered without a search.
  std::pair<size_t, bool> slotFor(std::string_view key) const {
    if (entries_.empty() || std::string_view(entries_.back().first) < key)
      return {entries_.size(), false};
    size_t i = lowerIndex(key);
    return {i, entries_[i].first == key};
  }
  /// Sorts the entries by key and keeps one entry per key: the first or the last given.
  void normalise(bool lastWins);

  Storage entries_;
};

inline Value::Value(Dictionary d)
    : m_(makeShared<Dictionary>(std::move(d))), kind_(Kind::Dictionary) {}

/// The name of a Kind ("null", "boolean", …), for messages.
const char* kindName(Value::Kind kind);

}  // namespace pf
