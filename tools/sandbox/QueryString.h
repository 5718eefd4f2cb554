#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A URL query as ordered (key, value) pairs. Parsing is tolerant, as the ad server must be:
// pieces are cut at "&" and ";", a piece without "=" is kept as a bare key with an empty
// value (the application appends its signal text that way), and a piece whose percent
// escapes are broken is kept undecoded rather than dropped. "+" stays "+".
class QueryString {
 public:
  using Pairs = std::vector<std::pair<std::string, std::string>>;

  static Pairs parse(std::string_view query);
  static std::optional<std::string> value(const Pairs& pairs, std::string_view key);
  // key=value pairs, each side percent-encoded, joined by "&".
  static std::string build(const Pairs& pairs);

  // Raw (not decoded) views of a query as sent, for the application's signal tokens:
  // the pieces that hold no "=", in order, and the values of every `key=` piece, each cut
  // at a further "=" as the application's URL utilities cut them.
  static std::vector<std::string> bareNames(std::string_view query);
  static std::vector<std::string> rawValues(std::string_view query, std::string_view key);
};
