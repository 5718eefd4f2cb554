// Message URLs: which URLs are messages, and the name and parameters each form yields.
#include "sdk/notification/GADNotification.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

namespace {

using pf::Value;

// One row per form: "gmsg" names the message by its path (the host is ignored), "rodud" by a
// fixed verb; the query goes through the query parser (keys lower-cased, bad pairs dropped).
TEST(GADNotificationTest, EachURLYieldsItsNameAndParametersOrNothing) {
  const struct {
    const char* url;
    std::optional<std::string> name;  // none: no message
    Value parameters = Value::dictionary();
  } kCases[] = {
      {"gmsg://mobileads.example/loadAdURL", "loadAdURL"},  // case as sent; no query: empty
      {"gmsg://anything.at.all:99/loadAdURL", "loadAdURL"},
      {"gmsg:///loadAdURL", "loadAdURL"},
      {"gmsg:/loadAdURL", "loadAdURL"},
      {"gmsg://x/a/b", "a/b"},
      {"gmsg://x/load%41d%20URL", "loadAd URL"},  // decoded
      {"gmsg://x/close/", "close"},               // the URL type drops one "/"
      {"gmsg://x/click#frag", "click"},
      {"gmsg://x/?a=1", "", Value::dictionary({{"a", "1"}})},  // a bare "/" is a path
      {"gmsg://ads.example/click?u=http%3A%2F%2Fland.example%2Fp%3Fq%3D1%26r%3D2&ai=7", "click",
       Value::dictionary({{"u", "http://land.example/p?q=1&r=2"}, {"ai", "7"}})},
      {"gmsg://x/m?a=b=c&x=1", "m", Value::dictionary({{"x", "1"}})},
      {"gmsg://x/loadAdURL?URL=u&Type=2", "loadAdURL", Value::dictionary({{"url", "u"}, {"type", "2"}})},
      {"gmsg://x/m?q=a+b;;k=1&k=2&bad=%C3&flag", "m", Value::dictionary({{"q", "a+b"}, {"k", "2"}})},
      {"gmsg://x/m?", "m"},
      {"gmsg://x", std::nullopt},  // no name path
      {"gmsg://x?u=1", std::nullopt},
      {"gmsg:", std::nullopt},
      {"gmsg:click", std::nullopt},   // opaque: no "/" to take off
      {"gmsg://x/%FF", std::nullopt},  // a path that is not UTF-8 reads as empty
      {"rodud://launch/ignored/path?url=http%3A%2F%2Fland.example%2F%3Fa%3D1&x=2", "open",
       Value::dictionary({{"a", "browser"}, {"u", "http://land.example/?a=1"}})},
      {"rodud://launch?URL=u", "open", Value::dictionary({{"a", "browser"}, {"u", "u"}})},
      {"rodud://launch?u=x", "open", Value::dictionary({{"a", "browser"}})},
      {"rodud://closecanvas?a=1", "close", Value()},  // no parameters at all, not an empty dictionary
      {"rodud://log/x?String=hello%20there&level=2", "log",
       Value::dictionary({{"string", "hello there"}, {"level", "2"}})},
      {"rodud://log", "log"},
      {"rodud://open?url=x", std::nullopt},
      {"rodud://Launch?url=x", std::nullopt},
      {"rodud://CLOSECANVAS", std::nullopt},
      {"rodud://", std::nullopt},
      {"rodud:launch", std::nullopt},
      {"rodud:///launch", std::nullopt},
      // Only the two schemes exactly as written are messages.
      {"GMSG://x/click", std::nullopt},
      {"Gmsg://x/click", std::nullopt},
      {"RODUD://launch", std::nullopt},
      {"gmsgx://x/click", std::nullopt},
      {"http://x/click", std::nullopt},
      {"about:blank", std::nullopt},
      {"/click", std::nullopt},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.url);
    auto url = pf::Url::parse(c.url);
    ASSERT_TRUE(url);
    auto n = GADNotification::notificationFromURL(*url);
    const std::string scheme = url->scheme();
    EXPECT_EQ(GADNotification::isGMSGNotificationURL(*url), scheme == "gmsg");
    EXPECT_EQ(GADNotification::isRoDudNotificationURL(*url), scheme == "rodud");
    EXPECT_EQ(GADNotification::isNotificationURL(*url), scheme == "gmsg" || scheme == "rodud");
    ASSERT_EQ(n != nullptr, c.name.has_value());
    if (!n) continue;
    EXPECT_EQ(n->name(), *c.name);
    EXPECT_EQ(n->parameters(), c.parameters);
  }
}

TEST(GADNotificationTest, DescriptionNamesClassAddressNameAndParameters) {
  auto n = GADNotification::create("click", Value::dictionary({{"u", "x"}}));
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<const void*>(n.get()));
  EXPECT_EQ(n->description(), "GADNotification<" + std::string(address) +
                                  ">: name:click parameters:" + n->parameters().description());
  n->setParameters({});
  n->setName("close");
  EXPECT_EQ(n->description(), "GADNotification<" + std::string(address) + ">: name:close parameters:(null)");
}

}  // namespace
