#include "platform/base/Value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace pf {

namespace {
const Value& nullValue() {
  static const Value null;
  return null;
}

void quote(std::string& out, const std::string& s) {
  out += '"';
  for (char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  out += '"';
}

void describe(std::string& out, const Value& v) {
  char buf[64];
  switch (v.kind()) {
    case Value::Kind::Null: out += "<null>"; break;
    case Value::Kind::Boolean: out += *v.asBoolean() ? "true" : "false"; break;
    case Value::Kind::Integer: out += std::to_string(*v.asInteger()); break;
    case Value::Kind::Real:
      std::snprintf(buf, sizeof buf, "%.17g", *v.asReal());
      out += buf;
      break;
    case Value::Kind::String: quote(out, v.stringRef()); break;
    case Value::Kind::Decimal: out += v.decimalText(); break;
    case Value::Kind::Date:
      std::snprintf(buf, sizeof buf, "<date %.3f>", *v.asDate());
      out += buf;
      break;
    case Value::Kind::Data: {
      out += '<';
      static const char* hex = "0123456789abcdef";
      std::string bytes = *v.asData();
      for (size_t i = 0; i < bytes.size(); ++i) {
        if (i && i % 4 == 0) out += ' ';
        out += hex[static_cast<unsigned char>(bytes[i]) >> 4];
        out += hex[static_cast<unsigned char>(bytes[i]) & 15];
      }
      out += '>';
      break;
    }
    case Value::Kind::Array: {
      out += '(';
      bool first = true;
      for (const auto& item : *v.asArray()) {
        if (!first) out += ", ";
        first = false;
        describe(out, item);
      }
      out += ')';
      break;
    }
    case Value::Kind::Dictionary: {
      out += '{';
      for (const auto& [key, item] : *v.asDictionary()) {
        out += ' ';
        quote(out, key);
        out += " = ";
        describe(out, item);
        out += ';';
      }
      out += " }";
      break;
    }
  }
}
}  // namespace

const std::string Value::kEmptyString;

Value::Value(const Value& other) { copyFrom(other); }

void Value::copyFrom(const Value& other) {
  switch (other.kind_) {
    case Kind::String:
    case Kind::Data:
    case Kind::Decimal: ::new (&s_) std::string(other.s_); break;
    case Kind::Array: ::new (&a_) std::shared_ptr<Array>(other.a_); break;
    case Kind::Dictionary: ::new (&m_) std::shared_ptr<Dictionary>(other.m_); break;
    case Kind::Boolean: b_ = other.b_; break;
    case Kind::Integer: i_ = other.i_; break;
    case Kind::Real:
    case Kind::Date: d_ = other.d_; break;
    case Kind::Null: break;
  }
  kind_ = other.kind_;
}

Value& Value::operator=(const Value& other) {
  if (this == &other) return *this;
  if (holdsText() && other.holdsText()) {  // reuses the buffer
    s_ = other.s_;
    kind_ = other.kind_;
  } else if (kind_ == Kind::Array || kind_ == Kind::Dictionary) {
    // `other` may live inside this container: copy it before letting go of the container.
    Value copy(other);
    release();
    moveFrom(copy);
  } else {
    release();
    copyFrom(other);
  }
  return *this;
}

Value& Value::moveAssignSlow(Value& other) noexcept {
  if (this == &other) return *this;
  if (kind_ == Kind::Array || kind_ == Kind::Dictionary) {
    Value taken(std::move(other));  // `other` may live inside the container let go of
    release();
    moveFrom(taken);
  } else {
    release();
    moveFrom(other);
  }
  return *this;
}

void ValueDictionary::normalise(bool lastWins) {
  auto keyLess = [](const value_type& a, const value_type& b) {
    return std::string_view(a.first) < std::string_view(b.first);
  };
  // Neighbouring keys mostly differ in their first byte, which settles it without a memcmp.
  auto notAscending = [&](const value_type& a, const value_type& b) {
    if (!a.first.empty() && !b.first.empty() && a.first[0] != b.first[0])
      return static_cast<unsigned char>(a.first[0]) > static_cast<unsigned char>(b.first[0]);
    return !keyLess(a, b);
  };
  if (std::adjacent_find(entries_.begin(), entries_.end(), notAscending) == entries_.end())
    return;  // strictly ascending already: sorted and no key twice
  std::stable_sort(entries_.begin(), entries_.end(), keyLess);
  size_t kept = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (kept > 0 && entries_[kept - 1].first == entries_[i].first) {
      if (lastWins) entries_[kept - 1].second = std::move(entries_[i].second);
    } else {
      if (kept != i) entries_[kept] = std::move(entries_[i]);
      ++kept;
    }
  }
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(kept), entries_.end());
}

const char* kindName(Value::Kind kind) {
  switch (kind) {
    case Value::Kind::Null: return "null";
    case Value::Kind::Boolean: return "boolean";
    case Value::Kind::Integer: return "integer";
    case Value::Kind::Real: return "real";
    case Value::Kind::String: return "string";
    case Value::Kind::Date: return "date";
    case Value::Kind::Data: return "data";
    case Value::Kind::Array: return "array";
    case Value::Kind::Dictionary: return "dictionary";
    case Value::Kind::Decimal: return "decimal";
  }
  return "?";
}

Value Value::date(double secondsSince2001) {
  Value v;
  v.kind_ = Kind::Date;
  v.d_ = secondsSince2001;
  return v;
}

Value Value::data(std::string bytes) {
  Value v;
  ::new (&v.s_) std::string(std::move(bytes));
  v.kind_ = Kind::Data;
  return v;
}

Value Value::decimal(std::string canonicalText) {
  Value v;
  ::new (&v.s_) std::string(std::move(canonicalText));
  v.kind_ = Kind::Decimal;
  return v;
}

Value Value::array(std::initializer_list<Value> items) { return Value(Array(items)); }

Value Value::dictionary(std::initializer_list<std::pair<const std::string, Value>> items) {
  return Value(Dictionary(items.begin(), items.end()));
}

std::optional<bool> Value::asBoolean() const {
  if (kind_ == Kind::Boolean) return b_;
  return std::nullopt;
}

std::optional<int64_t> Value::asInteger() const {
  if (kind_ == Kind::Integer) return i_;
  if (kind_ == Kind::Real && std::isfinite(d_) && d_ >= -9.2233720368547758e18 && d_ < 9.2233720368547758e18)
    return static_cast<int64_t>(d_);
  if (kind_ == Kind::Decimal) {  // the units part of the text, toward zero like a real
    const std::string& t = s_;
    size_t point = t.find('.');
    if (point == std::string::npos) point = t.size();
    int64_t n = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + point, n);
    if (ec == std::errc() && end == t.data() + point) return n;
  }
  return std::nullopt;
}

std::optional<double> Value::asReal() const {
  if (kind_ == Kind::Real) return d_;
  if (kind_ == Kind::Integer) return static_cast<double>(i_);
  if (kind_ == Kind::Decimal) {
    double d = 0;
    auto [end, ec] = std::from_chars(s_.data(), s_.data() + s_.size(), d);
    if (ec == std::errc()) return d;
    if (ec == std::errc::result_out_of_range)  // beyond a double: the infinity or zero it tends to
      return s_[0] == '-' ? (s_.find('.') == std::string::npos ? -HUGE_VAL : -0.0)
                          : (s_.find('.') == std::string::npos ? HUGE_VAL : 0.0);
  }
  return std::nullopt;
}

std::optional<std::string> Value::asString() const {
  if (kind_ == Kind::String) return s_;
  return std::nullopt;
}

std::optional<double> Value::asDate() const {
  if (kind_ == Kind::Date) return d_;
  return std::nullopt;
}

std::optional<std::string> Value::asData() const {
  if (kind_ == Kind::Data) return s_;
  return std::nullopt;
}

const Value& Value::operator[](std::string_view key) const {
  if (kind_ != Kind::Dictionary) return nullValue();
  auto it = m_->find(key);
  return it == m_->end() ? nullValue() : it->second;
}

bool Value::contains(std::string_view key) const {
  return kind_ == Kind::Dictionary && m_->find(key) != m_->end();
}

Value::Dictionary& Value::mutableDictionary() {
  if (kind_ == Kind::Null) {
    ::new (&m_) std::shared_ptr<Dictionary>(makeShared<Dictionary>());
    kind_ = Kind::Dictionary;
  } else if (m_.use_count() > 1) {
    m_ = makeShared<Dictionary>(*m_);  // copy on write
  }
  return *m_;
}

Value::Array& Value::mutableArray() {
  if (kind_ == Kind::Null) {
    ::new (&a_) std::shared_ptr<Array>(makeShared<Array>());
    kind_ = Kind::Array;
  } else if (a_.use_count() > 1) {
    a_ = makeShared<Array>(*a_);
  }
  return *a_;
}

void Value::set(std::string key, Value v) {
  if (kind_ != Kind::Dictionary && kind_ != Kind::Null) return;
  mutableDictionary().insert_or_assign(std::move(key), std::move(v));
}

bool Value::remove(std::string_view key) {
  if (kind_ != Kind::Dictionary) return false;
  auto& dict = mutableDictionary();
  auto it = dict.find(key);
  if (it == dict.end()) return false;
  dict.erase(it);
  return true;
}

const Value& Value::operator[](size_t index) const {
  if (kind_ != Kind::Array || index >= a_->size()) return nullValue();
  return (*a_)[index];
}

void Value::append(Value v) {
  if (kind_ != Kind::Array && kind_ != Kind::Null) return;
  mutableArray().push_back(std::move(v));
}

size_t Value::size() const {
  if (kind_ == Kind::Array) return a_->size();
  if (kind_ == Kind::Dictionary) return m_->size();
  return 0;
}

bool Value::operator==(const Value& o) const {
  if (kind_ != o.kind_) return false;
  switch (kind_) {
    case Kind::Null: return true;
    case Kind::Boolean: return b_ == o.b_;
    case Kind::Integer: return i_ == o.i_;
    case Kind::Real:
    case Kind::Date: return d_ == o.d_;
    case Kind::String:
    case Kind::Data:
    case Kind::Decimal: return s_ == o.s_;
    case Kind::Array: return a_ == o.a_ || *a_ == *o.a_;
    case Kind::Dictionary: return m_ == o.m_ || *m_ == *o.m_;
  }
  return false;
}

std::string Value::description() const {
  std::string out;
  describe(out, *this);
  return out;
}

}  // namespace pf
