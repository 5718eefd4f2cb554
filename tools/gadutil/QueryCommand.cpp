// gadutil query: the query-string helpers of GADNetworkUtilities.
//
//   gadutil query parse <query>               decoded pairs, "key=value" per line in key order
//   gadutil query value <key> <url>           the raw value of the parameter, exit 1 when none
//   gadutil query append <url> <key> [value]  the URL with the parameter appended
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "GadutilCommand.h"
#include "platform/base/Url.h"
#include "sdk/utility/GADNetworkUtilities.h"

namespace {

int fail(const std::string& message) {
  std::printf("%s\n", message.c_str());
  return 1;
}

int parse(const std::vector<std::string>& args) {
  if (args.size() != 2) return fail("usage: gadutil query parse <query>");
  pf::Value pairs = GADNetworkUtilities::dictionaryFromQueryString(args[1]);
  for (const auto& [key, value] : *pairs.asDictionary())
    std::printf("%s=%s\n", key.c_str(), value.stringRef().c_str());
  return 0;
}

int value(const std::vector<std::string>& args) {
  if (args.size() != 3) return fail("usage: gadutil query value <key> <url>");
  auto url = pf::Url::parse(args[2]);
  if (!url) return fail("not a URL: " + args[2]);
  auto found = GADNetworkUtilities::parameterValueForKeyFromURL(args[1], *url);
  if (!found) return fail("no value for \"" + args[1] + "\"");
  std::printf("%s\n", found->c_str());
  return 0;
}

int append(const std::vector<std::string>& args) {
  if (args.size() != 3 && args.size() != 4)
    return fail("usage: gadutil query append <url> <key> [<value>]");
  auto url = pf::Url::parse(args[1]);
  if (!url) return fail("not a URL: " + args[1]);
  std::optional<std::string> text;
  if (args.size() == 4) text = args[3];
  auto result = GADNetworkUtilities::appendQueryKeyValueToURL(args[2], text, *url);
  if (!result) return fail("the result is not a URL (is the key URL-safe?)");
  std::printf("%s\n", result->absoluteString().c_str());
  return 0;
}

int runQuery(const std::vector<std::string>& args) {
  if (args.empty()) return fail("usage: gadutil query parse|value|append ...");
  if (args[0] == "parse") return parse(args);
  if (args[0] == "value") return value(args);
  if (args[0] == "append") return append(args);
  return fail("unknown query command \"" + args[0] + "\" (parse, value, append)");
}

GadutilCommand query("query",
                     "query parse <query> | query value <key> <url> | query append <url> <key> [<value>]",
                     runQuery);

}  // namespace
