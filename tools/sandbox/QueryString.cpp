#include "QueryString.h"

#include "TextEscape.h"

#include <glib.h>

namespace {

std::string decode(std::string_view raw) {
  std::string text(raw);
  g_autofree char* decoded = g_uri_unescape_string(text.c_str(), nullptr);
  return decoded ? std::string(decoded) : text;
}

// Calls visit(piece) for each non-empty piece between "&" and ";".
template <typename Visit>
void eachPiece(std::string_view query, Visit visit) {
  size_t start = 0;
  while (start <= query.size()) {
    size_t end = query.find_first_of("&;", start);
    if (end == std::string_view::npos) end = query.size();
    if (end > start) visit(query.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace

QueryString::Pairs QueryString::parse(std::string_view query) {
  Pairs pairs;
  eachPiece(query, [&](std::string_view piece) {
    size_t eq = piece.find('=');
    if (eq == std::string_view::npos) {
      pairs.emplace_back(decode(piece), std::string());
    } else {
      pairs.emplace_back(decode(piece.substr(0, eq)), decode(piece.substr(eq + 1)));
    }
  });
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

std::vector<std::string> QueryString::bareNames(std::string_view query) {
  std::vector<std::string> names;
  eachPiece(query, [&](std::string_view piece) {
    if (piece.find('=') == std::string_view::npos) names.emplace_back(piece);
  });
  return names;
}

std::vector<std::string> QueryString::rawValues(std::string_view query, std::string_view key) {
  std::vector<std::string> values;
  eachPiece(query, [&](std::string_view piece) {
    if (piece.size() > key.size() && piece.substr(0, key.size()) == key && piece[key.size()] == '=') {
      std::string_view value = piece.substr(key.size() + 1);
      values.emplace_back(value.substr(0, value.find('=')));
    }
  });
  return values;
}
