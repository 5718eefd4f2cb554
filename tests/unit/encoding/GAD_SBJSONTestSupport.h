#pragma once
// Helpers shared by the JSON tests: read or write with given options and get either the
// result or the whole error chain as "code: message" lines, outermost first.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sdk/encoding/GAD_SBJSON.h"

namespace json_test {

inline std::vector<std::string> chain(const pf::Error& error) {
  std::vector<std::string> lines;
  for (const pf::Error* e = &error; e; e = e->underlyingError().get())
    lines.push_back(std::to_string(e->code()) + ": " + e->localizedDescription());
  return lines;
}

// The error chain of reading `text`; empty when the read succeeds.
inline std::vector<std::string> readFailure(std::string_view text, bool fragment = true,
                                            unsigned maxDepth = 512) {
  GAD_SBJSON json;
  json.setMaxDepth(maxDepth);
  pf::Error error("none", 0);
  if (json.objectWithStringAllowScalarError(text, fragment, &error)) return {};
  EXPECT_EQ(error.domain(), GAD_SBJSONErrorDomain);
  return chain(error);
}

inline std::optional<pf::Value> read(std::string_view text, bool fragment = true) {
  return GAD_SBJSON().objectWithStringAllowScalarError(text, fragment);
}

inline std::optional<std::string> write(const pf::Value& value, bool fragment = true,
                                        bool humanReadable = false) {
  GAD_SBJSON json;
  json.setHumanReadable(humanReadable);
  return json.stringWithObjectAllowScalarError(value, fragment);
}

}  // namespace json_test
