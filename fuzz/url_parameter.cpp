// Looking a parameter up in a URL, and appending one: input is "<key>\n<value>\n<url>".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/base/Url.h"
#include "sdk/utility/GADNetworkUtilities.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t first = input.find('\n');
  if (first == std::string_view::npos) return 0;
  size_t second = input.find('\n', first + 1);
  if (second == std::string_view::npos) return 0;
  std::string key(input.substr(0, first));
  std::string value(input.substr(first + 1, second - first - 1));
  auto url = pf::Url::parse(input.substr(second + 1));
  if (!url) return 0;

  if (auto found = GADNetworkUtilities::parameterValueForKeyFromURL(key, *url)) {
    // A value is raw text from inside one piece of the query.
    if (found->find('&') != std::string::npos || found->find('=') != std::string::npos) std::abort();
    if (url->query()->find(*found) == std::string::npos) std::abort();
  }

  auto appended = GADNetworkUtilities::appendQueryKeyValueToURL(key, value, *url);
  // Keys are appended as given (they are our own names), so one holding "#" starts a
  // fragment of its own; the checks below are for the others.
  if (appended && key.find('#') == std::string::npos) {
    // The fragment survives, and the query keeps what it had as its beginning.
    if (appended->fragment() != url->fragment()) std::abort();
    auto before = url->query().value_or("");
    if (appended->query().value_or("").compare(0, before.size(), before) != 0) std::abort();
    // A plain key that was not there before reads back as the encoded value.
    bool plain = !key.empty() && key.find_first_of("&=#?%") == std::string::npos;
    if (plain && !GADNetworkUtilities::parameterValueForKeyFromURL(key, *url) && !value.empty() &&
        GADNetworkUtilities::parameterValueForKeyFromURL(key, *appended) !=
            GADNetworkUtilities::encodeURL(value))
      std::abort();
  }
  return 0;
}
