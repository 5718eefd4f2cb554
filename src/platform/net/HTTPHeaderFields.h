#pragma once
// pf::HTTPHeaderFields: the header fields of a request or a response.
//
// Names compare without regard to ASCII case ("content-type" finds "Content-Type"), but each
// field keeps the spelling it was first given, in the order fields were first added, so an
// enumeration shows what the server sent. Adding a value to a field that exists joins the two
// with ", ", as HTTP allows for repeated fields (and as the phone platform does, even for
// "Set-Cookie").
//
//   pf::HTTPHeaderFields h;
//   h.addValue("a=1", "Set-Cookie");
//   h.addValue("b=2", "set-cookie");
//   h.value("SET-COOKIE");   // "a=1, b=2"
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/Value.h"

namespace pf {

class HTTPHeaderFields {
 public:
  using Field = std::pair<std::string, std::string>;  // name as first spelt, value

  HTTPHeaderFields() = default;
  HTTPHeaderFields(std::initializer_list<Field> fields);

  std::optional<std::string> value(std::string_view name) const;
  bool contains(std::string_view name) const { return find(name) != fields_.end(); }

  // Replaces the field's value (keeping its place and first spelling); none removes it.
  void setValue(std::optional<std::string> value, std::string_view name);
  // Appends to the field's value with ", ", or adds the field.
  void addValue(std::string value, std::string_view name);
  bool remove(std::string_view name);

  const std::vector<Field>& fields() const { return fields_; }
  size_t size() const { return fields_.size(); }
  bool empty() const { return fields_.empty(); }

  // A dictionary of name (as spelt) to value text, for code that keeps headers as a Value.
  Value toValue() const;

  // Same fields with the same values, names compared without case, order ignored.
  bool operator==(const HTTPHeaderFields& other) const;

  static bool namesEqual(std::string_view a, std::string_view b);

 private:
  std::vector<Field>::const_iterator find(std::string_view name) const;
  std::vector<Field>::iterator find(std::string_view name);

  std::vector<Field> fields_;  // few fields: a linear search beats a map here
};

}  // namespace pf
