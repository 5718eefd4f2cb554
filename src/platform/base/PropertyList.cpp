#include "platform/base/PropertyList.h"

#include <plist/plist.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/base/Url.h"

namespace pf {

namespace {

struct NodeFree {
  void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using NodePtr = std::unique_ptr<void, NodeFree>;

bool isStorableText(const std::string& text) {
  return text.find('\0') == std::string::npos && Url::isValidUtf8(text);
}

// The null-free form of `value`, or none when it holds what no property list can.
std::optional<Value> clean(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::Null: return std::nullopt;
    case Value::Kind::String:
      if (!isStorableText(value.stringRef())) return std::nullopt;
      return value;
    case Value::Kind::Decimal: {
      // Written as the nearest real, as decimal numbers are on the phone.
      auto d = value.asReal();
      if (!d) return std::nullopt;
      return Value(*d);
    }
    case Value::Kind::Date: {
      double d = *value.asDate();
      if (!std::isfinite(d) || d < INT32_MIN || d >= static_cast<double>(INT32_MAX) + 1) {
        return std::nullopt;
      }
      return value;
    }
    case Value::Kind::Array: {
      Value out = Value::array();
      for (const Value& item : *value.asArray()) {
        auto c = clean(item);
        if (!c) return std::nullopt;
        out.append(std::move(*c));
      }
      return out;
    }
    case Value::Kind::Dictionary: {
      Value out = Value::dictionary();
      for (const auto& [key, item] : *value.asDictionary()) {
        if (item.isNull()) continue;
        if (!isStorableText(key)) return std::nullopt;
        auto c = clean(item);
        if (!c) return std::nullopt;
        out.set(key, std::move(*c));
      }
      return out;
    }
    default: return value;
  }
}

// `value` must have been through clean().
NodePtr toNode(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::Null:
    case Value::Kind::Decimal: return nullptr;  // clean() made it a real
    case Value::Kind::Boolean: return NodePtr(plist_new_bool(*value.asBoolean() ? 1 : 0));
    case Value::Kind::Integer:
      return NodePtr(plist_new_uint(static_cast<uint64_t>(*value.asInteger())));
    case Value::Kind::Real: return NodePtr(plist_new_real(*value.asReal()));
    case Value::Kind::String: return NodePtr(plist_new_string(value.stringRef().c_str()));
    case Value::Kind::Date: {
      double d = *value.asDate();
      // libplist reads a negative date with a fraction back wrong (it splits toward zero),
      // so dates before 2001 are written in whole seconds.
      double seconds = d < 0 ? std::round(d) : std::floor(d);
      double micros = d < 0 ? 0 : std::round((d - seconds) * 1e6);
      if (micros >= 1e6) {  // rounded up to the next second, unless that is past the range
        if (seconds < INT32_MAX) {
          seconds += 1;
          micros = 0;
        } else {
          micros = 999999;
        }
      }
      return NodePtr(plist_new_date(static_cast<int32_t>(seconds), static_cast<int32_t>(micros)));
    }
    case Value::Kind::Data: {
      std::string bytes = *value.asData();
      return NodePtr(plist_new_data(bytes.data(), bytes.size()));
    }
    case Value::Kind::Array: {
      NodePtr array(plist_new_array());
      for (const Value& item : *value.asArray()) {
        NodePtr node = toNode(item);
        if (!node) return nullptr;
        plist_array_append_item(array.get(), node.release());  // the array owns it now
      }
      return array;
    }
    case Value::Kind::Dictionary: {
      NodePtr dict(plist_new_dict());
      for (const auto& [key, item] : *value.asDictionary()) {
        NodePtr node = toNode(item);
        if (!node) return nullptr;
        plist_dict_set_item(dict.get(), key.c_str(), node.release());
      }
      return dict;
    }
  }
  return nullptr;
}

std::optional<Value> fromNode(plist_t node) {
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      uint8_t b = 0;
      plist_get_bool_val(node, &b);
      return Value(b != 0);
    }
    case PLIST_UINT: {
      uint64_t u = 0;
      plist_get_uint_val(node, &u);
      return Value(static_cast<int64_t>(u));  // files keep integers as signed 64-bit
    }
    case PLIST_UID: {
      uint64_t u = 0;
      plist_get_uid_val(node, &u);
      return Value(static_cast<int64_t>(u));
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(node, &d);
      return Value(d);
    }
    case PLIST_STRING: {
      uint64_t length = 0;
      const char* text = plist_get_string_ptr(node, &length);
      return Value(std::string(text ? text : "", text ? length : 0));
    }
    case PLIST_DATE: {
      int32_t sec = 0;
      int32_t usec = 0;
      plist_get_date_val(node, &sec, &usec);
      return Value::date(static_cast<double>(sec) + static_cast<double>(usec) / 1e6);
    }
    case PLIST_DATA: {
      uint64_t length = 0;
      const char* bytes = plist_get_data_ptr(node, &length);
      return Value::data(std::string(bytes ? bytes : "", bytes ? length : 0));
    }
    case PLIST_ARRAY: {
      Value out = Value::array();
      uint32_t size = plist_array_get_size(node);
      for (uint32_t i = 0; i < size; ++i) {
        auto item = fromNode(plist_array_get_item(node, i));
        if (!item) return std::nullopt;
        out.append(std::move(*item));
      }
      return out;
    }
    case PLIST_DICT: {
      Value out = Value::dictionary();
      plist_dict_iter it = nullptr;
      plist_dict_new_iter(node, &it);
      for (;;) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, it, &key, &item);
        if (!item) {
          std::free(key);
          break;
        }
        std::unique_ptr<char, decltype(&std::free)> owned(key, &std::free);
        auto v = key ? fromNode(item) : std::nullopt;
        if (!v) {
          std::free(it);
          return std::nullopt;
        }
        out.set(key, std::move(*v));
      }
      std::free(it);
      return out;
    }
    default: return std::nullopt;  // a bare key or no type: not a value
  }
}

// libplist 2.2 aborts (an assertion in plist_get_key_val) on a binary dictionary key that
// holds a NUL character, so such a file must never reach it: a damaged preferences or store
// metadata file would otherwise end the process. This walks the binary format's object table
// and refuses any text object with a NUL inside; a table that does not fit the file is
// refused too (libplist would reject it anyway).
bool binaryTextsAreFreeOfNul(std::string_view b) {
  if (b.size() < 8 + 32 || b.substr(0, 6) != "bplist") return true;  // not binary: XML path
  const auto* u = reinterpret_cast<const unsigned char*>(b.data());
  auto readBE = [&](size_t pos, size_t width) {
    uint64_t v = 0;
    for (size_t i = 0; i < width; ++i) v = (v << 8) | u[pos + i];
    return v;
  };
  const size_t trailer = b.size() - 32;
  const size_t offsetSize = u[trailer + 6];
  const uint64_t objects = readBE(trailer + 8, 8);
  const uint64_t tableAt = readBE(trailer + 24, 8);
  if (offsetSize < 1 || offsetSize > 8 || tableAt > trailer) return false;
  if (objects > (trailer - tableAt) / offsetSize) return false;
  for (uint64_t i = 0; i < objects; ++i) {
    uint64_t at = readBE(static_cast<size_t>(tableAt + i * offsetSize), offsetSize);
    if (at >= trailer) return false;
    unsigned type = u[at] >> 4, low = u[at] & 0x0F;
    if (type != 0x5 && type != 0x6) continue;  // ASCII and UTF-16 texts
    uint64_t length = low;
    size_t pos = static_cast<size_t>(at) + 1;
    if (low == 0x0F) {  // the length follows as an integer object
      if (pos >= trailer || (u[pos] >> 4) != 0x1) return false;
      size_t width = size_t{1} << (u[pos] & 0x0F);
      if (width > 8 || pos + 1 + width > trailer) return false;
      length = readBE(pos + 1, width);
      pos += 1 + width;
    }
    uint64_t bytes = type == 0x6 ? length * 2 : length;
    if (length > trailer || bytes > trailer - pos) return false;
    for (uint64_t k = 0; k < bytes; k += (type == 0x6 ? 2 : 1)) {
      if (u[pos + k] == 0 && (type == 0x5 || u[pos + k + 1] == 0)) return false;
    }
  }
  return true;
}

}  // namespace

std::optional<Value> PropertyList::read(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > UINT32_MAX) return std::nullopt;
  if (!binaryTextsAreFreeOfNul(bytes)) return std::nullopt;
  plist_t root = nullptr;
  plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
  if (!root) return std::nullopt;
  NodePtr owned(root);
  return fromNode(root);
}

std::optional<std::string> PropertyList::write(const Value& value, Format format) {
  auto cleaned = clean(value);
  if (!cleaned) return std::nullopt;
  NodePtr root = toNode(*cleaned);
  if (!root) return std::nullopt;
  char* out = nullptr;
  uint32_t length = 0;
  if (format == Format::Binary) {
    plist_to_bin(root.get(), &out, &length);
  } else {
    plist_to_xml(root.get(), &out, &length);
  }
  if (!out) return std::nullopt;
  std::string bytes(out, length);
  if (format == Format::Binary) {
    plist_to_bin_free(out);
  } else {
    plist_to_xml_free(out);
  }
  return bytes;
}

std::optional<Value> PropertyList::storable(const Value& value) { return clean(value); }

}  // namespace pf
