#include "QueryString.h"

#include "TextEscape.h"

#include <glib.h>

namespace {

std::string decode(std::string_view raw) {
  std::string text(raw);
  g_autofree char* decoded = g_uri_unescape_string(text.c_str(), nullptr);
  return decoded ? std::string(decoded) : text;
}

}  // namespace

QueryString::Pairs QueryString::parse(std::string_view query) {
  Pairs pairs;
  size_t start = 0;
  while (start <= query.size()) {
    size_t end = query.find_first_of("&;", start);
    if (end == std::string_view::npos) end = query.size();
    std::string_view piece = query.substr(start, end - start);
    if (!piece.empty()) {
      size_t eq = piece.find('=');
      if (eq == std::string_view::npos) {
        pairs.emplace_back(decode(piece), std::string());
      } else {
        pairs.emplace_back(decode(piece.substr(0, eq)), decode(piece.substr(eq + 1)));
      }
    }
    start = end + 1;
  }
  return pairs;
}

std::optional<std::string> QueryString::value(const Pairs& pairs, std::string_view key) {
  for (const auto& [k, v] : pairs) {
    if (k == key) return v;
  }
  return std::nullopt;
}

std::string QueryString::build(const Pairs& pairs) {
  std::string out;
  for (const auto& [k, v] : pairs) {
    if (!out.empty()) out += '&';
    out += TextEscape::uriComponent(k);
    out += '=';
    out += TextEscape::uriComponent(v);
  }
  return out;
}
