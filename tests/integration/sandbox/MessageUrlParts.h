#pragma once

#include <glib.h>

#include <map>
#include <string>

// A message URL read the way the application reads it: "gmsg" names the message by its
// path, "rodud" by its host; the query is cut at runs of "&" and ";", and a piece that
// does not split at "=" into exactly two parts, or does not percent-decode, is dropped.
// The test counts dropped pieces, because a creative must never produce one.
struct MessageUrlParts {
  std::string scheme;
  std::string name;
  std::map<std::string, std::string> params;  // keys lower-cased, as the application does
  int dropped = 0;

  static MessageUrlParts parse(const std::string& url) {
    MessageUrlParts parts;
    size_t colon = url.find("://");
    if (colon == std::string::npos) return parts;
    parts.scheme = url.substr(0, colon);
    std::string rest = url.substr(colon + 3);
    size_t q = rest.find('?');
    std::string query = q == std::string::npos ? "" : rest.substr(q + 1);
    std::string hostPath = rest.substr(0, q);
    size_t slash = hostPath.find('/');
    std::string host = hostPath.substr(0, slash);
    std::string path = slash == std::string::npos ? "" : hostPath.substr(slash);
    parts.name = parts.scheme == "gmsg" ? (path.empty() ? "" : path.substr(1)) : host;
    g_auto(GStrv) pieces = g_regex_split_simple("[&;]+", query.c_str(), G_REGEX_DEFAULT, G_REGEX_MATCH_DEFAULT);
    for (char** p = pieces; p && *p; ++p) {
      std::string piece = g_strchug(*p);
      if (piece.empty()) continue;
      g_auto(GStrv) kv = g_strsplit(piece.c_str(), "=", -1);
      if (g_strv_length(kv) != 2) {
        ++parts.dropped;
        continue;
      }
      g_autofree char* key = g_uri_unescape_string(kv[0], nullptr);
      g_autofree char* value = g_uri_unescape_string(kv[1], nullptr);
      if (!key || !value || !g_utf8_validate(value, -1, nullptr)) {
        ++parts.dropped;
        continue;
      }
      g_autofree char* lower = g_ascii_strdown(key, -1);
      parts.params[lower] = value;
    }
    return parts;
  }
};
