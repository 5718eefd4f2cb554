#pragma once
// GADNetworkUtilities: reading and extending URL query strings, percent-encoding parameter
// values, and the process-wide user-agent text our own HTTP requests present.
//
//   auto params = GADNetworkUtilities::dictionaryFromQueryString(url.query().value_or(""));
//   params["url"].stringRef();                                  // decoded, keys lower-cased
//   auto ai = GADNetworkUtilities::parameterValueForKeyFromURL("ai", url);   // raw, or none
//   auto busted = GADNetworkUtilities::appendQueryKeyValueToURL("unique", "1712", *url);
//
// No instances; everything runs on the main thread.
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/Url.h"
#include "platform/base/Value.h"

class GADNetworkUtilities {
 public:
  GADNetworkUtilities() = delete;

  // None until first set.
  static const std::optional<std::string>& userAgentString();
  // An empty text is ignored (the last good value stays).
  static void setUserAgentString(std::string_view userAgent);

  // A dictionary of strings. Pairs are separated by runs of "&" and ";", white space before
  // a pair is skipped; only "k=v" with exactly one "=" counts. Both halves are percent-decoded
  // as UTF-8 ("+" stays "+"), a pair with a bad escape is dropped, keys are lower-cased and a
  // later pair replaces an earlier one with the same key.
  static pf::Value dictionaryFromQueryString(std::string_view query);

  // The raw (still encoded) value of the first "&"-separated piece of the URL's query whose
  // name is exactly `key` and which has an "=". The value ends at a second "=", if any.
  static std::optional<std::string> parameterValueForKeyFromURL(std::string_view key,
                                                                const pf::Url& url);

  // The URL with each entry of `parameters` (a dictionary) appended to its query in key
  // order: the key as given, then "=" and the value's text percent-encoded — or the key alone
  // when that text is empty. The parameters go before a fragment, and a bare "?" takes the
  // first one without another separator. None when the result is no URL (a key with a blank).
  static std::optional<pf::Url> appendQueryParametersToURL(const pf::Value& parameters,
                                                           const pf::Url& url);
  // One parameter; no value (or an empty one) appends the key alone.
  static std::optional<pf::Url> appendQueryKeyValueToURL(std::string key,
                                                         std::optional<std::string> value,
                                                         const pf::Url& url);

  // Every byte except ASCII letters, digits and "-._~" as "%" and two upper-case hex digits.
  static std::string encodeURL(std::string_view text);

  // The text a value contributes to a query: a string itself, a number in decimal
  // (a boolean as 1 or 0), anything else its description.
  static std::string textForm(const pf::Value& value);

  // Forgets the user agent (between tests).
  static void resetForTesting();
};
