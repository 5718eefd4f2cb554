#include "platform/net/HTTPHeaderFields.h"

#include <algorithm>

#include "platform/base/AsciiText.h"

namespace pf {

bool HTTPHeaderFields::namesEqual(std::string_view a, std::string_view b) {
  return equalsIgnoringAsciiCase(a, b);
}

HTTPHeaderFields::HTTPHeaderFields(std::initializer_list<Field> fields) {
  for (const auto& [name, value] : fields) addValue(value, name);
}

std::vector<HTTPHeaderFields::Field>::const_iterator HTTPHeaderFields::find(
    std::string_view name) const {
  return std::find_if(fields_.begin(), fields_.end(),
                      [name](const Field& f) { return namesEqual(f.first, name); });
}

std::vector<HTTPHeaderFields::Field>::iterator HTTPHeaderFields::find(std::string_view name) {
  return std::find_if(fields_.begin(), fields_.end(),
                      [name](const Field& f) { return namesEqual(f.first, name); });
}

std::optional<std::string> HTTPHeaderFields::value(std::string_view name) const {
  auto it = find(name);
  if (it == fields_.end()) return std::nullopt;
  return it->second;
}

void HTTPHeaderFields::setValue(std::optional<std::string> value, std::string_view name) {
  auto it = find(name);
  if (!value) {
    if (it != fields_.end()) fields_.erase(it);
    return;
  }
  if (it != fields_.end())
    it->second = std::move(*value);
  else
    fields_.emplace_back(std::string(name), std::move(*value));
}

void HTTPHeaderFields::addValue(std::string value, std::string_view name) {
  auto it = find(name);
  if (it == fields_.end()) {
    fields_.emplace_back(std::string(name), std::move(value));
    return;
  }
  it->second += ", ";
  it->second += value;
}

bool HTTPHeaderFields::remove(std::string_view name) {
  auto it = find(name);
  if (it == fields_.end()) return false;
  fields_.erase(it);
  return true;
}

Value HTTPHeaderFields::toValue() const {
  Value out = Value::dictionary();
  for (const auto& [name, value] : fields_) out.set(name, Value(value));
  return out;
}

bool HTTPHeaderFields::operator==(const HTTPHeaderFields& other) const {
  if (fields_.size() != other.fields_.size()) return false;
  return std::all_of(fields_.begin(), fields_.end(), [&other](const Field& f) {
    auto v = other.value(f.first);
    return v && *v == f.second;
  });
}

}  // namespace pf
