#pragma once

#include <string>
#include <string_view>

// Escaping for the three languages the sandbox writes by hand: JSON string literals,
// HTML text and attribute values, and URL query components.
class TextEscape {
 public:
  // A complete JSON string literal, quotes included; control characters become \uXXXX and
  // each byte that is not part of well-formed UTF-8 becomes U+FFFD, so the result is UTF-8.
  static std::string json(std::string_view text);
  // Safe inside HTML text and inside double-quoted attribute values.
  static std::string html(std::string_view text);
  // Percent-encodes everything but the RFC 3986 unreserved characters.
  static std::string uriComponent(std::string_view text);
};
