#pragma once
// pf::Url: an absolute or relative URL, checked against RFC 3986 when made.
//
// As with the phone's URL type, making a URL from a text that is not one (a blank inside,
// a bad percent escape, a character outside the URL alphabet) gives none:
//
//   auto url = pf::Url::parse("gmsg://mobileads.example/loadAdURL?url=x");
//   url->scheme();  // "gmsg"     url->path();  // "/loadAdURL"     url->query();  // "url=x"
//
// The scheme, host and query are the text as written; the path is percent-decoded.
#include <optional>
#include <string>
#include <string_view>

namespace pf {

class Url {
 public:
  static std::optional<Url> parse(std::string_view text);
  // `reference` resolved against `base` (RFC 3986 section 5), as a link or a redirect's
  // "Location" is. None when either is no URL or the base is not absolute.
  static std::optional<Url> parse(std::string_view reference, const Url& base);

  const std::string& absoluteString() const { return text_; }
  const std::string& scheme() const { return scheme_; }  // empty for a relative reference
  bool hasAuthority() const { return hasAuthority_; }
  const std::string& host() const { return host_; }  // empty when none; IPv6 without brackets
  std::optional<int> port() const { return port_; }
  // The path percent-decoded, one trailing "/" dropped as on the phone (but "/" stays
  // "/"). Empty when the decoded bytes are not UTF-8.
  std::string path() const;
  const std::string& rawPath() const { return rawPath_; }
  std::optional<std::string> query() const { return query_; }        // raw, without "?"
  std::optional<std::string> fragment() const { return fragment_; }  // raw, without "#"
  // Everything after "<scheme>:" as written.
  std::string resourceSpecifier() const;

  bool operator==(const Url& o) const { return text_ == o.text_; }

  // Percent-decoding: none when a "%" is not followed by two hexadecimal digits.
  static std::optional<std::string> percentDecode(std::string_view text);
  // The same, also none when the decoded bytes are not well-formed UTF-8.
  static std::optional<std::string> percentDecodeUtf8(std::string_view text);
  static bool isValidUtf8(std::string_view bytes);

 private:
  Url() = default;

  std::string text_;
  std::string scheme_;
  bool hasAuthority_ = false;
  std::string host_;
  std::optional<int> port_;
  std::string rawPath_;
  std::optional<std::string> query_;
  std::optional<std::string> fragment_;
};

}  // namespace pf
