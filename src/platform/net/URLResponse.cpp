#include "platform/net/URLResponse.h"

#include <charconv>

#include "platform/base/AsciiText.h"

namespace pf {

namespace {
int64_t parseLength(std::string_view text) {
  text = trimAscii(text);
  int64_t n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n < 0 || text.empty())
    return kURLResponseUnknownLength;
  return n;
}
}  // namespace

URLResponse::URLResponse(Url url, int statusCode, HTTPHeaderFields headerFields)
    : url_(std::move(url)), statusCode_(statusCode), headers_(std::move(headerFields)) {
  if (auto length = headers_.value("Content-Length")) expectedContentLength_ = parseLength(*length);

  // Content-Type: type/subtype *( ";" name=value )
  auto type = headers_.value("Content-Type");
  if (!type) return;
  std::string_view rest = *type;
  size_t semi = rest.find(';');
  mimeType_ = toLowerAscii(trimAscii(rest.substr(0, semi)));
  while (semi != std::string_view::npos) {
    rest.remove_prefix(semi + 1);
    semi = rest.find(';');
    std::string_view param = trimAscii(rest.substr(0, semi));
    size_t eq = param.find('=');
    if (eq == std::string_view::npos || !equalsIgnoringAsciiCase(trimAscii(param.substr(0, eq)), "charset")) continue;
    std::string_view value = trimAscii(param.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (!value.empty()) textEncodingName_ = std::string(value);
    break;
  }
}

bool URLResponse::isRedirect() const {
  switch (statusCode_) {
    case 301:
    case 302:
    case 303:
    case 307:
    case 308: return true;
    default: return false;
  }
}

}  // namespace pf
