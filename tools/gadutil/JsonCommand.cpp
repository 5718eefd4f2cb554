// gadutil json [--fragment] [--pretty] [--max-depth N]: reads JSON from standard input with
// the ad layer's reader and writes it back with its writer (keys sorted), to see exactly what
// the SDK makes of a payload — or why it refuses it, with every underlying cause.
//
//   echo '{"b":1 "a":[1.50,true]}' | gadutil json      → {"a":[1.5,true],"b":1}
//   echo '[1,]' | gadutil json                          → error 9: Trailing comma disallowed in array
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "GadutilCommand.h"
#include "sdk/encoding/GAD_SBJSON.h"

namespace {

constexpr const char* kUsage = "json [--fragment] [--pretty] [--max-depth N]";

int usageError(const std::string& message) {
  std::fprintf(stderr, "gadutil: %s\nusage: gadutil %s\n", message.c_str(), kUsage);
  return 2;
}

bool parseDepth(const std::string& text, unsigned& depth) {
  if (text.empty() || text.size() > 9) return false;
  for (char ch : text)
    if (ch < '0' || ch > '9') return false;
  depth = static_cast<unsigned>(std::stoul(text));
  return true;
}

void printError(const pf::Error& error) {
  std::printf("error %ld: %s\n", error.code(), error.localizedDescription().c_str());
  for (auto cause = error.underlyingError(); cause; cause = cause->underlyingError())
    std::printf("caused by %ld: %s\n", cause->code(), cause->localizedDescription().c_str());
}

int runJson(const std::vector<std::string>& args) {
  GAD_SBJSON json;
  json.setSortKeys(true);
  bool fragment = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--fragment") {
      fragment = true;
    } else if (args[i] == "--pretty") {
      json.setHumanReadable(true);
    } else if (args[i] == "--max-depth") {
      unsigned depth;
      if (i + 1 == args.size() || !parseDepth(args[i + 1], depth))
        return usageError("--max-depth needs a number");
      json.setMaxDepth(depth);
      ++i;
    } else {
      return usageError("unexpected argument '" + args[i] + "'");
    }
  }

  std::ios::sync_with_stdio(false);
  std::string input((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  pf::Error error(GAD_SBJSONErrorDomain, 0);
  auto value = json.objectWithStringAllowScalarError(input, fragment, &error);
  std::optional<std::string> text;
  if (value) text = json.stringWithObjectAllowScalarError(*value, fragment, &error);
  if (!text) {
    printError(error);
    std::fflush(stdout);
    return 1;
  }
  *text += '\n';
  std::fwrite(text->data(), 1, text->size(), stdout);
  std::fflush(stdout);
  return 0;
}

GadutilCommand command("json", kUsage, runJson);

}  // namespace
