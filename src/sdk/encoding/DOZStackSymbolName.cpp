#include "sdk/encoding/DOZStackSymbolName.h"

#include <cxxabi.h>

#include <cstdlib>
#include <vector>

namespace {

bool isIdentifierChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool opens(char c) { return c == '<' || c == '(' || c == '[' || c == '{'; }
bool closes(char c) { return c == '>' || c == ')' || c == ']' || c == '}'; }

// Drops every "[abi:…]" tag.
std::string withoutAbiTags(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, 5, "[abi:") == 0) {
      size_t end = text.find(']', i);
      if (end == std::string_view::npos) break;
      i = end + 1;
      continue;
    }
    out.push_back(text[i++]);
  }
  return out;
}

// Drops what follows the function's name: clone marks, trailing qualifiers, the parameters.
std::string_view withoutSignature(std::string_view text) {
  static constexpr std::string_view kQualifiers[] = {" const", " volatile", " &&", " &", " noexcept",
                                                     " restrict"};
  for (bool changed = true; changed;) {
    changed = false;
    if (text.ends_with(']')) {
      size_t clone = text.rfind(" [clone ");
      if (clone != std::string_view::npos) {
        text = text.substr(0, clone);
        changed = true;
      }
    }
    for (std::string_view q : kQualifiers) {
      if (text.ends_with(q)) {
        text.remove_suffix(q.size());
        changed = true;
      }
    }
  }
  if (!text.ends_with(')')) return text;
  int depth = 0;
  for (size_t i = text.size(); i-- > 0;) {
    if (text[i] == ')') {
      ++depth;
    } else if (text[i] == '(' && --depth == 0) {
      return text.substr(0, i);
    }
  }
  return text;  // unbalanced: not a parameter list
}

// The last part of a scope without its template arguments: "vector" for "std::vector<int>".
std::string_view lastScopePart(std::string_view scope) {
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < scope.size(); ++i) {
    if (opens(scope[i])) {
      ++depth;
    } else if (closes(scope[i])) {
      if (depth > 0) --depth;
    } else if (depth == 0 && scope.compare(i, 2, "::") == 0) {
      start = i + 2;
      ++i;
    }
  }
  std::string_view last = scope.substr(start);
  size_t angle = last.find('<');
  return angle == std::string_view::npos ? last : last.substr(0, angle);
}

}  // namespace

DOZFunctionName DOZSplitFunctionName(std::string_view demangled) {
  const std::string_view name = withoutSignature(demangled);
  std::vector<std::string_view> parts;
  size_t start = 0;
  int depth = 0;
  for (size_t i = 0; i < name.size();) {
    if (depth == 0 && i == start && name.compare(i, 8, "operator") == 0 &&
        (i + 8 == name.size() || !isIdentifierChar(name[i + 8]))) {
      break;  // "operator<<", "operator()", "operator new[]": the rest is the name
    }
    const char c = name[i];
    if (opens(c)) {
      ++depth;
    } else if (closes(c)) {
      if (depth > 0) --depth;
    } else if (depth == 0 && c == ':' && i + 1 < name.size() && name[i + 1] == ':') {
      parts.push_back(name.substr(start, i - start));
      i += 2;
      start = i;
      continue;
    } else if (depth == 0 && c == ' ') {
      parts.clear();  // what came before was a template function's return type
      start = i + 1;
    }
    ++i;
  }
  DOZFunctionName result;
  result.name = withoutAbiTags(name.substr(start));
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) result.scope += "::";
    result.scope += withoutAbiTags(parts[i]);
  }
  return result;
}

std::string_view DOZSymbolWithoutCloneMark(std::string_view symbol) {
  size_t dot = symbol.find('.', 1);
  return dot == std::string_view::npos ? symbol : symbol.substr(0, dot);
}

std::string DOZDemangleSymbol(std::string_view symbol) {
  const std::string base(DOZSymbolWithoutCloneMark(symbol));
  if (!base.starts_with("_Z")) return base;
  int status = 0;
  char* text = abi::__cxa_demangle(base.c_str(), nullptr, nullptr, &status);
  if (status != 0 || !text) return base;
  std::string out(text);
  std::free(text);
  return out;
}

bool DOZMangledNameIsQualifiedMember(std::string_view mangled) {
  // <nested-name> ::= N [<CV-qualifiers>] [<ref-qualifier>] <prefix> <unqualified-name> E
  if (!mangled.starts_with("_ZN") || mangled.size() < 4) return false;
  const char c = mangled[3];
  return c == 'K' || c == 'V' || c == 'r' || c == 'R' || c == 'O';
}

bool DOZIsConstructorOrDestructor(const DOZFunctionName& name) {
  if (name.scope.empty()) return false;
  std::string_view own = name.name;
  if (own.starts_with('~')) own.remove_prefix(1);
  size_t angle = own.find('<');
  if (angle != std::string_view::npos) own = own.substr(0, angle);
  return !own.empty() && own == lastScopePart(name.scope);
}
