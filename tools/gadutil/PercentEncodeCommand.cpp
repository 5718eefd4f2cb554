// gadutil percent-encode <text>: the text as a query parameter value carries it.
#include <cstdio>
#include <string>
#include <vector>

#include "GadutilCommand.h"
#include "sdk/utility/GADNetworkUtilities.h"

namespace {

int runPercentEncode(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::printf("usage: gadutil percent-encode <text>\n");
    return 1;
  }
  std::printf("%s\n", GADNetworkUtilities::encodeURL(args[0]).c_str());
  return 0;
}

GadutilCommand percentEncode("percent-encode", "percent-encode <text>", runPercentEncode);

}  // namespace
