// Message URLs: which URLs are messages, and the name and parameters each form yields.
#include "sdk/notification/GADNotification.h"

#include <gtest/gtest.h>

#include "platform/sim/SimEnvironment.h"

namespace {

class GADNotificationTest : public ::testing::Test {
 protected:
  pf::SimEnvironment sim;

  static pf::Url url(const char* text) {
    auto parsed = pf::Url::parse(text);
    EXPECT_TRUE(parsed) << text;
    return parsed ? *parsed : *pf::Url::parse("about:blank");
  }
  static std::shared_ptr<GADNotification> parse(const char* text) {
    return GADNotification::notificationFromURL(url(text));
  }
};

// --- recognising message URLs ---------------------------------------------------------------

TEST_F(GADNotificationTest, OnlyTheTwoSchemesExactlyAsWrittenAreMessageURLs) {
  EXPECT_TRUE(GADNotification::isGMSGNotificationURL(url("gmsg://x/click")));
  EXPECT_FALSE(GADNotification::isRoDudNotificationURL(url("gmsg://x/click")));
  EXPECT_TRUE(GADNotification::isRoDudNotificationURL(url("rodud://launch")));
  EXPECT_TRUE(GADNotification::isNotificationURL(url("gmsg://x/click")));
  EXPECT_TRUE(GADNotification::isNotificationURL(url("rodud://log")));
  for (const char* other : {"GMSG://x/click", "Gmsg://x/click", "RODUD://launch",
                            "http://x/click", "gmsgx://x/click", "about:blank", "/click"}) {
    EXPECT_FALSE(GADNotification::isNotificationURL(url(other))) << other;
    EXPECT_EQ(parse(other), nullptr) << other;
  }
}

// --- gmsg ------------------------------------------------------------------------------------

TEST_F(GADNotificationTest, GmsgNameIsThePathAfterItsSlashAndTheHostIsIgnored) {
  auto n = parse("gmsg://mobileads.example/loadAdURL");
  ASSERT_TRUE(n);
  EXPECT_EQ(n->name(), "loadAdURL");  // case as sent
  EXPECT_EQ(n->parameters(), pf::Value::dictionary());  // no query: empty, not absent
  EXPECT_EQ(parse("gmsg://anything.at.all:99/loadAdURL")->name(), "loadAdURL");
  EXPECT_EQ(parse("gmsg:///loadAdURL")->name(), "loadAdURL");
  EXPECT_EQ(parse("gmsg:/loadAdURL")->name(), "loadAdURL");
  EXPECT_EQ(parse("gmsg://x/a/b")->name(), "a/b");
  EXPECT_EQ(parse("gmsg://x/load%41d%20URL")->name(), "loadAd URL");  // decoded
  EXPECT_EQ(parse("gmsg://x/close/")->name(), "close");  // the URL type drops one "/"
  EXPECT_EQ(parse("gmsg://x/click#frag")->name(), "click");
}

TEST_F(GADNotificationTest, GmsgWithoutANamePathYieldsNothing) {
  EXPECT_EQ(parse("gmsg://x"), nullptr);       // empty path
  EXPECT_EQ(parse("gmsg://x?u=1"), nullptr);
  EXPECT_EQ(parse("gmsg:"), nullptr);
  EXPECT_EQ(parse("gmsg:click"), nullptr);     // opaque: no "/" to take off
  EXPECT_EQ(parse("gmsg://x/%FF"), nullptr);   // path not UTF-8 reads as empty
  // A bare "/" is a path: an empty name is still a message.
  auto n = parse("gmsg://x/?a=1");
  ASSERT_TRUE(n);
  EXPECT_EQ(n->name(), "");
  EXPECT_EQ(n->parameters()["a"].stringRef(), "1");
}

TEST_F(GADNotificationTest, GmsgClickCarriesTheDecodedClickURL) {
  auto n = parse("gmsg://ads.example/click?u=http%3A%2F%2Fland.example%2Fp%3Fq%3D1%26r%3D2&ai=7");
  ASSERT_TRUE(n);
  EXPECT_EQ(n->name(), "click");
  EXPECT_EQ(n->parameters(),
            pf::Value::dictionary({{"u", "http://land.example/p?q=1&r=2"}, {"ai", "7"}}));
}

TEST_F(GADNotificationTest, GmsgQueryFollowsTheQueryParser) {
  EXPECT_EQ(parse("gmsg://x/m?a=b=c&x=1")->parameters(), pf::Value::dictionary({{"x", "1"}}));
  EXPECT_EQ(parse("gmsg://x/m?Key=%41")->parameters(), pf::Value::dictionary({{"key", "A"}}));
  EXPECT_EQ(parse("gmsg://x/loadAdURL?URL=u&Type=2")->parameters(),
            pf::Value::dictionary({{"url", "u"}, {"type", "2"}}));
  EXPECT_EQ(parse("gmsg://x/m?q=a+b;;k=1&k=2&bad=%C3&flag")->parameters(),
            pf::Value::dictionary({{"q", "a+b"}, {"k", "2"}}));
  EXPECT_EQ(parse("gmsg://x/m?")->parameters(), pf::Value::dictionary());
}

// --- rodud -----------------------------------------------------------------------------------

TEST_F(GADNotificationTest, RodudLaunchOpensTheURLInTheBrowser) {
  auto n = parse("rodud://launch/ignored/path?url=http%3A%2F%2Fland.example%2F%3Fa%3D1&x=2");
  ASSERT_TRUE(n);
  EXPECT_EQ(n->name(), "open");
  EXPECT_EQ(n->parameters(),
            pf::Value::dictionary({{"a", "browser"}, {"u", "http://land.example/?a=1"}}));
  // The key is lower-cased by the query parser, so "URL" counts too.
  EXPECT_EQ(parse("rodud://launch?URL=u")->parameters()["u"].stringRef(), "u");
  // Without "url" only the action.
  EXPECT_EQ(parse("rodud://launch")->parameters(), pf::Value::dictionary({{"a", "browser"}}));
  EXPECT_EQ(parse("rodud://launch?u=x")->parameters(), pf::Value::dictionary({{"a", "browser"}}));
}

TEST_F(GADNotificationTest, RodudCloseHasNoParametersAndLogTheWholeQuery) {
  auto close = parse("rodud://closecanvas?a=1");
  ASSERT_TRUE(close);
  EXPECT_EQ(close->name(), "close");
  EXPECT_TRUE(close->parameters().isNull());  // none at all, not an empty dictionary

  auto log = parse("rodud://log/x?String=hello%20there&level=2");
  ASSERT_TRUE(log);
  EXPECT_EQ(log->name(), "log");
  EXPECT_EQ(log->parameters(),
            pf::Value::dictionary({{"string", "hello there"}, {"level", "2"}}));
  EXPECT_EQ(parse("rodud://log")->parameters(), pf::Value::dictionary());
}

TEST_F(GADNotificationTest, RodudUnknownOrDifferentlyCasedVerbsYieldNothing) {
  for (const char* text : {"rodud://open?url=x", "rodud://Launch?url=x", "rodud://CLOSECANVAS",
                           "rodud://", "rodud:launch", "rodud:///launch"})
    EXPECT_EQ(parse(text), nullptr) << text;
}

// --- the object ------------------------------------------------------------------------------

TEST_F(GADNotificationTest, DescriptionNamesClassAddressNameAndParameters) {
  auto n = GADNotification::create("click", pf::Value::dictionary({{"u", "x"}}));
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<const void*>(n.get()));
  EXPECT_EQ(n->description(), "GADNotification<" + std::string(address) +
                                  ">: name:click parameters:" + n->parameters().description());
  n->setParameters({});
  n->setName("close");
  EXPECT_EQ(n->description(), "GADNotification<" + std::string(address) + ">: name:close parameters:(null)");
}

}  // namespace
