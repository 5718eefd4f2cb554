#pragma once
// GADMacros: the ad layer's JSON wrappers over GAD_SBJSON, for callers that only want a
// result: the parameter object for the ad core script and the user info of page messages.
//
//   std::string json = GADMacros::jsonify(params).value_or("");
//   if (auto dict = GADMacros::readJson(text)) ...
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/Value.h"

class GADMacros {
 public:
  GADMacros() = delete;

  // The dictionary `text` holds as JSON; absent for no text, a parse error, or any other
  // top-level value (an array too).
  static std::optional<pf::Value> readJson(std::optional<std::string_view> text);

  // `object` (a dictionary or an array) as compact JSON; absent for no object. When the
  // writer fails — a scalar at the top, a value with no JSON form anywhere inside — the
  // result is "", never absent, so a caller embedding it in script still has a text.
  static std::optional<std::string> jsonify(const std::optional<pf::Value>& object);
};
