#pragma once
// ASCII text helpers for the protocol texts we read: header fields, query strings, schemes,
// dates. Only A–Z fold to a–z: a locale's case mapping would make the same text read
// differently on different machines.
//
//   pf::equalsIgnoringAsciiCase("Content-Type", "content-type")  → true
//   pf::trimAscii("  text/html \t")                               → "text/html"
#include <string>
#include <string_view>

namespace pf {

constexpr char toLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string toLowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = toLowerAscii(c);
  return out;
}

constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (toLowerAscii(a[i]) != toLowerAscii(b[i])) return false;
  return true;
}

// `text` without the characters of `blanks` at either end: spaces and tabs unless told.
constexpr std::string_view trimAscii(std::string_view text, std::string_view blanks = " \t") {
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace pf
