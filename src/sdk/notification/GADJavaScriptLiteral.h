#pragma once
// GADJavaScriptLiteral: text made safe to stand inside a script we hand a web view, as a
// single-quoted JavaScript string literal.
//
//   std::string js = "VIZE_ReceiveMessage(" + GADJavaScriptLiteral::quoted(name) + ");";
//
// Whatever the text holds — quotes, backslashes, line breaks, U+2028/U+2029 (line
// terminators inside older engines' literals), bytes that are not UTF-8 — the literal ends
// exactly at its closing quote and evaluates to the same characters (malformed UTF-8 to
// U+FFFD, as the engine's own decoding would make of it). Text from a page or a server never
// becomes script.
#include <string>
#include <string_view>

class GADJavaScriptLiteral {
 public:
  GADJavaScriptLiteral() = delete;

  // `text` between single quotes, escaped.
  static std::string quoted(std::string_view text);
  // The escaped body alone (what goes between the quotes).
  static std::string escaped(std::string_view text);
};
