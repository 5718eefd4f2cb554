#include "platform/base/Url.h"

#include <uriparser/Uri.h>

#include <memory>

namespace pf {

namespace {
struct UriHolder {
  UriUriA uri{};
  bool owned = false;
  ~UriHolder() {
    if (owned) uriFreeUriMembersA(&uri);
  }
};

bool parseUri(std::string_view text, UriHolder& holder) {
  const char* errorPos = nullptr;
  if (uriParseSingleUriExA(&holder.uri, text.data(), text.data() + text.size(), &errorPos) !=
      URI_SUCCESS)
    return false;
  holder.owned = true;
  return true;
}

std::string range(const UriTextRangeA& r) {
  if (!r.first || !r.afterLast) return {};
  return std::string(r.first, r.afterLast);
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::optional<Url> Url::parse(std::string_view text) {
  // uriparser takes no NUL inside; RFC 3986 has none either.
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  UriHolder holder;
  if (!parseUri(text, holder)) return std::nullopt;

  Url url;
  url.text_ = std::string(text);
  url.scheme_ = range(holder.uri.scheme);
  url.host_ = range(holder.uri.hostText);
  std::string portText = range(holder.uri.portText);
  if (!portText.empty()) {
    if (portText.size() > 9) return std::nullopt;
    url.port_ = std::stoi(portText);
  }

  // The components by the split of RFC 3986 appendix B; the text is known valid here.
  std::string_view rest = text;
  if (!url.scheme_.empty()) rest.remove_prefix(url.scheme_.size() + 1);
  if (rest.substr(0, 2) == "//") {
    url.hasAuthority_ = true;
    rest.remove_prefix(2);
    size_t end = rest.find_first_of("/?#");
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
  }
  size_t hash = rest.find('#');
  if (hash != std::string_view::npos) {
    url.fragment_ = std::string(rest.substr(hash + 1));
    rest = rest.substr(0, hash);
  }
  size_t question = rest.find('?');
  if (question != std::string_view::npos) {
    url.query_ = std::string(rest.substr(question + 1));
    rest = rest.substr(0, question);
  }
  url.rawPath_ = std::string(rest);
  return url;
}

std::optional<Url> Url::parse(std::string_view reference, const Url& base) {
  if (base.scheme_.empty()) return std::nullopt;
  if (reference.find('\0') != std::string_view::npos) return std::nullopt;
  UriHolder rel, abs, out;
  if (!parseUri(reference, rel) || !parseUri(base.text_, abs)) return std::nullopt;
  if (uriAddBaseUriA(&out.uri, &rel.uri, &abs.uri) != URI_SUCCESS) return std::nullopt;
  out.owned = true;
  int chars = 0;
  if (uriToStringCharsRequiredA(&out.uri, &chars) != URI_SUCCESS) return std::nullopt;
  std::string text(static_cast<size_t>(chars) + 1, '\0');
  if (uriToStringA(text.data(), &out.uri, chars + 1, nullptr) != URI_SUCCESS) return std::nullopt;
  text.resize(static_cast<size_t>(chars));
  return parse(text);
}

std::string Url::path() const {
  std::string_view raw = rawPath_;
  if (raw.size() > 1 && raw.back() == '/') raw.remove_suffix(1);
  auto decoded = percentDecodeUtf8(raw);
  return decoded ? *decoded : std::string();
}

std::string Url::resourceSpecifier() const {
  return scheme_.empty() ? text_ : text_.substr(scheme_.size() + 1);
}

std::optional<std::string> Url::percentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    int hi = hexValue(text[i + 1]);
    int lo = hexValue(text[i + 2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return out;
}

std::optional<std::string> Url::percentDecodeUtf8(std::string_view text) {
  auto decoded = percentDecode(text);
  if (!decoded || !isValidUtf8(*decoded)) return std::nullopt;
  return decoded;
}

bool Url::isValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t n;
    uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;
    for (size_t k = 1; k <= n; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

}  // namespace pf
