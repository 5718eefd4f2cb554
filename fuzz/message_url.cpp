// Message-URL parsing on arbitrary text, and the script that would carry the parsed name
// back to a page, with what every result must satisfy.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/base/Url.h"
#include "sdk/encoding/GAD_SBJSON.h"
#include "sdk/notification/GADNotification.h"
#include "sdk/notification/GADNotificationCenter.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// The script is "VIZE_ReceiveMessage('<literal>');" and the literal ends at its own closing
// quote: no raw quote, backslash run, line break or line separator lets text escape it.
void checkScript(const std::string& js) {
  const std::string head = std::string(kGADReceiveMessageFunction) + "('";
  check(js.compare(0, head.size(), head) == 0);
  size_t i = head.size();
  for (;;) {
    check(i < js.size());
    const auto c = static_cast<unsigned char>(js[i]);
    if (c == '\'') break;
    check(c >= 0x20 && c != 0x7F);
    check(js.compare(i, 3, "\xE2\x80\xA8") != 0 && js.compare(i, 3, "\xE2\x80\xA9") != 0);
    i += c == '\\' ? 2 : 1;
  }
  check(js.compare(i, std::string::npos, "');") == 0 || js.compare(i, 3, "', ") == 0);
  check(pf::Url::isValidUtf8(js));
}

// With user info, what follows the name is one JSON value that reads back as the user info.
void checkScriptWithUserInfo(const std::string& js, const pf::Value& userInfo) {
  checkScript(js);
  const size_t start = js.find("', ");
  check(start != std::string::npos && js.size() >= start + 5 && js.ends_with(");"));
  std::string json = js.substr(start + 3, js.size() - start - 5);
  check(json.find("\xE2\x80\xA8") == std::string::npos && json.find("\xE2\x80\xA9") == std::string::npos);
  check(GAD_SBJSON().objectWithStringError(json) == userInfo);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  // Any bytes at all as a message name.
  checkScript(GADNotificationCenter::javaScriptForMessage(std::string(text), std::nullopt));

  auto url = pf::Url::parse(text);
  if (!url) return 0;
  auto message = GADNotification::notificationFromURL(*url);
  check(!message || GADNotification::isNotificationURL(*url));
  if (!message) return 0;

  const pf::Value& parameters = message->parameters();
  if (GADNotification::isGMSGNotificationURL(*url)) {
    check(url->path().substr(1) == message->name());
    check(parameters.isDictionary());
  } else {
    const std::string& name = message->name();
    check(name == "open" || name == "close" || name == "log");
    check(name != "close" || parameters.isNull());
    check(name != "open" || parameters["a"].stringRef() == "browser");
  }
  if (const auto* entries = parameters.asDictionary()) {
    for (const auto& [key, value] : *entries) {
      check(value.isString() && pf::Url::isValidUtf8(value.stringRef()));
      for (char c : key) check(c < 'A' || c > 'Z');
    }
  }
  (void)message->description();
  if (parameters.isDictionary())
    checkScriptWithUserInfo(GADNotificationCenter::javaScriptForMessage(message->name(), parameters),
                            parameters);
  return 0;
}
