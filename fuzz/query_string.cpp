// The query-string parser on arbitrary text, with what every result must satisfy.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/base/Url.h"
#include "sdk/utility/GADNetworkUtilities.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  pf::Value pairs = GADNetworkUtilities::dictionaryFromQueryString(text);
  if (!pairs.isDictionary()) std::abort();
  for (const auto& [key, value] : *pairs.asDictionary()) {
    // Keys are lower-cased; both halves were decoded as UTF-8.
    for (char c : key)
      if (c >= 'A' && c <= 'Z') std::abort();
    if (!value.isString() || !pf::Url::isValidUtf8(key) || !pf::Url::isValidUtf8(value.stringRef()))
      std::abort();
  }
  // Encoding a decoded value gives text the parser decodes back to the same value.
  for (const auto& [key, value] : *pairs.asDictionary()) {
    std::string query = "k=" + GADNetworkUtilities::encodeURL(value.stringRef());
    pf::Value again = GADNetworkUtilities::dictionaryFromQueryString(query);
    if (again["k"] != value) std::abort();
    (void)key;
  }
  return 0;
}
