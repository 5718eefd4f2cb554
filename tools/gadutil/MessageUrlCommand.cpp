// gadutil message-url <url>: what the bridge makes of a message URL a page navigates to.
//
//   gadutil message-url 'gmsg://x/click?u=http%3A%2F%2Fa.example%2F&ai=7'
//   name=click
//   param ai=7
//   param u=http://a.example/
//
// One "param" line per parameter, in key order; exit 1 with "no notification" when the URL
// carries no message (another scheme, no name, an unknown rodud verb).
#include <cstdio>
#include <string>
#include <vector>

#include "GadutilCommand.h"
#include "platform/base/Url.h"
#include "sdk/notification/GADNotification.h"

namespace {

int fail(const std::string& message) {
  std::printf("%s\n", message.c_str());
  return 1;
}

int runMessageUrl(const std::vector<std::string>& args) {
  if (args.size() != 1) return fail("usage: gadutil message-url <url>");
  auto url = pf::Url::parse(args[0]);
  if (!url) return fail("not a URL: " + args[0]);
  auto message = GADNotification::notificationFromURL(*url);
  if (!message) return fail("no notification");
  std::printf("name=%s\n", message->name().c_str());
  if (const auto* parameters = message->parameters().asDictionary()) {
    for (const auto& [key, value] : *parameters)
      std::printf("param %s=%s\n", key.c_str(), value.stringRef().c_str());
  }
  return 0;
}

GadutilCommand messageUrl("message-url", "message-url <url>", runMessageUrl);

}  // namespace
