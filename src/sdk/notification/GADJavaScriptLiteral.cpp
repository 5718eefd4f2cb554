#include "sdk/notification/GADJavaScriptLiteral.h"

#include <cstdint>

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// The length of the well-formed UTF-8 sequence starting at `i` (RFC 3629: no overlong forms,
// no surrogates, nothing above U+10FFFF), or 0.
size_t sequenceLength(std::string_view s, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  const uint8_t b0 = byte(i);
  size_t n;
  uint8_t lo = 0x80, hi = 0xBF;  // range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) n = 2;
  else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
  for (size_t k = 2; k < n; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return n;
}

}  // namespace

std::string GADJavaScriptLiteral::escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<uint8_t>(text[i]);
    if (c < 0x80) {
      switch (c) {
        case '\\': out += "\\\\"; break;
        case '\'': out += "\\'"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
          if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
          } else {
            out += static_cast<char>(c);
          }
      }
      ++i;
      continue;
    }
    const size_t n = sequenceLength(text, i);
    if (n == 0) {
      out += "\\uFFFD";  // one replacement per stray byte
      ++i;
    } else if (n == 3 && c == 0xE2 && static_cast<uint8_t>(text[i + 1]) == 0x80 &&
               (static_cast<uint8_t>(text[i + 2]) & 0xFE) == 0xA8) {
      out += static_cast<uint8_t>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
      i += 3;
    } else {
      out.append(text.substr(i, n));
      i += n;
    }
  }
  return out;
}

std::string GADJavaScriptLiteral::quoted(std::string_view text) {
  return "'" + escaped(text) + "'";
}
