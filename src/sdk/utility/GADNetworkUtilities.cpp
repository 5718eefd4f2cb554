#include "sdk/utility/GADNetworkUtilities.h"

#include <charconv>
#include <vector>

#include "platform/base/AsciiText.h"

namespace {

std::optional<std::string>& storedUserAgent() {
  static std::optional<std::string> userAgent;
  return userAgent;
}

// Length in bytes of the white space or line break character at `i` (Unicode's separators,
// tab to carriage return and NEL), 0 when there is none.
size_t whitespaceLength(std::string_view s, size_t i) {
  auto byte = [&](size_t k) { return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0; };
  unsigned char c = byte(0);
  if (c == ' ' || (c >= '\t' && c <= '\r')) return 1;
  if (c == 0xC2 && (byte(1) == 0x85 || byte(1) == 0xA0)) return 2;
  if (c == 0xE1 && byte(1) == 0x9A && byte(2) == 0x80) return 3;  // U+1680
  if (c == 0xE2 && byte(1) == 0x80) {
    unsigned char c2 = byte(2);
    if ((c2 >= 0x80 && c2 <= 0x8A) || c2 == 0xA8 || c2 == 0xA9 || c2 == 0xAF) return 3;
  }
  if (c == 0xE2 && byte(1) == 0x81 && byte(2) == 0x9F) return 3;  // U+205F
  if (c == 0xE3 && byte(1) == 0x80 && byte(2) == 0x80) return 3;  // U+3000
  return 0;
}

bool isPairDelimiter(char c) { return c == '&' || c == ';'; }

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (true) {
    size_t end = text.find(separator, start);
    if (end == std::string_view::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

bool isUnreserved(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

}  // namespace

const std::optional<std::string>& GADNetworkUtilities::userAgentString() { return storedUserAgent(); }

void GADNetworkUtilities::setUserAgentString(std::string_view userAgent) {
  if (userAgent.empty()) return;
  auto& stored = storedUserAgent();
  if (stored && *stored == userAgent) return;
  stored = std::string(userAgent);
}

void GADNetworkUtilities::resetForTesting() { storedUserAgent().reset(); }

pf::Value GADNetworkUtilities::dictionaryFromQueryString(std::string_view query) {
  pf::Value result = pf::Value::dictionary();
  size_t i = 0;
  while (true) {
    while (size_t n = whitespaceLength(query, i)) i += n;
    if (i >= query.size()) break;
    size_t end = i;
    while (end < query.size() && !isPairDelimiter(query[end])) ++end;
    std::string_view pair = query.substr(i, end - i);
    i = end;
    while (i < query.size() && isPairDelimiter(query[i])) ++i;

    auto pieces = split(pair, '=');
    if (pieces.size() != 2) continue;
    auto key = pf::Url::percentDecodeUtf8(pieces[0]);
    auto value = pf::Url::percentDecodeUtf8(pieces[1]);
    if (!key || !value) continue;
    result.set(pf::toLowerAscii(*key), std::move(*value));
  }
  return result;
}

std::optional<std::string> GADNetworkUtilities::parameterValueForKeyFromURL(std::string_view key,
                                                                            const pf::Url& url) {
  auto query = url.query();
  if (!query) return std::nullopt;
  for (std::string_view piece : split(*query, '&')) {
    auto parts = split(piece, '=');
    if (parts.size() >= 2 && parts[0] == key) return std::string(parts[1]);
  }
  return std::nullopt;
}

std::optional<pf::Url> GADNetworkUtilities::appendQueryParametersToURL(const pf::Value& parameters,
                                                                       const pf::Url& url) {
  const std::string& absolute = url.absoluteString();
  // Parameters belong in the query: appended after a fragment the server would never see them.
  size_t hash = absolute.find('#');
  std::string text = absolute.substr(0, hash);
  std::string fragment = hash == std::string::npos ? std::string() : absolute.substr(hash);

  auto query = url.query();
  // "&" after an existing query; nothing after a bare "?", which would otherwise make the
  // first key "?key".
  const char* separator = query ? (query->empty() ? "" : "&") : "?";
  if (const auto* entries = parameters.asDictionary()) {
    for (const auto& [key, value] : *entries) {
      text += separator;
      text += key;
      std::string encoded = encodeURL(textForm(value));
      if (!encoded.empty()) {
        text += '=';
        text += encoded;
      }
      separator = "&";
    }
  }
  text += fragment;
  return pf::Url::parse(text);
}

std::optional<pf::Url> GADNetworkUtilities::appendQueryKeyValueToURL(std::string key,
                                                                     std::optional<std::string> value,
                                                                     const pf::Url& url) {
  pf::Value parameters = pf::Value::dictionary();
  parameters.set(std::move(key), value ? std::move(*value) : std::string());
  return appendQueryParametersToURL(parameters, url);
}

std::string GADNetworkUtilities::encodeURL(std::string_view text) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3);
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (isUnreserved(c)) {
      out += ch;
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string GADNetworkUtilities::textForm(const pf::Value& value) {
  switch (value.kind()) {
    case pf::Value::Kind::String: return value.stringRef();
    case pf::Value::Kind::Boolean: return *value.asBoolean() ? "1" : "0";
    case pf::Value::Kind::Integer: return std::to_string(*value.asInteger());
    case pf::Value::Kind::Real: {
      char buf[64];
      auto [end, ec] = std::to_chars(buf, buf + sizeof buf, *value.asReal());
      return ec == std::errc() ? std::string(buf, end) : value.description();
    }
    default: return value.description();
  }
}
