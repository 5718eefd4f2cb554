#include "sdk/utility/GADMacros.h"

#include "sdk/encoding/GAD_SBJSON.h"

std::optional<pf::Value> GADMacros::readJson(std::optional<std::string_view> text) {
  if (!text) return std::nullopt;
  auto value = GAD_SBJSON().objectWithStringError(text);
  if (!value || !value->isDictionary()) return std::nullopt;
  return value;
}

std::optional<std::string> GADMacros::jsonify(const std::optional<pf::Value>& object) {
  if (!object) return std::nullopt;
  return GAD_SBJSON().stringWithObjectError(*object).value_or("");
}
