// The sandbox as the application meets it, asked through the application's own transport and
// read with its own JSON reader and message parser: the script's answers, the ad server's
// headers and statuses for every creative, the message URLs the creatives send, and the
// counters behind the dashboard.
#include <gtest/gtest.h>

#include <iterator>
#include <regex>
#include <sstream>

#include "RawSocket.h"
#include "SandboxNetTest.h"
#include "platform/net/URLError.h"
#include "sdk/encoding/GAD_SBJSON.h"
#include "sdk/notification/GADNotification.h"

namespace {

constexpr const char* kSlot = "slotname=a15c0f3e82d9b47";

class SandboxTest : public SandboxNetTest {
 protected:
  Answer ad(const std::string& query) { return fetch(sandbox_.ad() + "/ad?" + query); }
  static int64_t count(const pf::Value& v) { return v.asInteger().value_or(-1); }
  // The headers a filled ad carries; tracking URLs point back at the sandbox.
  void expectAdHeaders(const Answer& r, const pf::Value& c, bool finalAnswer) {
    const std::string name = c["name"].stringRef();
    std::istringstream urls(r.header("X-Vize-Tracking-Urls"));
    const std::vector<std::string> impressions{std::istream_iterator<std::string>(urls), {}};
    ASSERT_FALSE(impressions.empty());
    for (const auto& url : impressions) EXPECT_EQ(url.rfind(sandbox_.ad() + "/track/", 0), 0u) << url;
    EXPECT_NE(impressions[0].find("/track/impression?c=" + name), std::string::npos);
    const bool clicks = c["click_tracking"] == pf::Value(true) && finalAnswer;
    EXPECT_EQ(r.header("X-Vize-Click-Tracking-Urls"), clicks ? sandbox_.ad() + "/track/click?c=" + name : "");
    EXPECT_EQ(r.header("X-Vize-Orientation"), c["orientation"].stringRef());
    EXPECT_EQ(r.header("X-Vize-Interstitial-Timeout"), "8");
  }
  void expectBannerPage(const Answer& r, const std::string& name) {
    EXPECT_EQ(r.status, 200);
    EXPECT_TRUE(pf::Url::isValidUtf8(r.body));
    EXPECT_NE(r.body.find("data-creative=\"" + name + "\""), std::string::npos);
    EXPECT_EQ(r.body.find("{{"), std::string::npos) << "unfilled template field";
    // No outside resources: every web URL in the page is the sandbox's own.
    std::regex web("https?://[^\"'\\s)&]+");
    for (std::sregex_iterator it(r.body.begin(), r.body.end(), web), end; it != end; ++it)
      EXPECT_TRUE(it->str().rfind(sandbox_.ad(), 0) == 0 || it->str() == "http://127.0.0.1/") << it->str();
  }
};

TEST_F(SandboxTest, TheScriptIsServedThenRevalidatedWith304) {
  const std::string url = sandbox_.statics() + "/vize/sdk-core-v40.js";
  auto first = fetch(url);
  ASSERT_EQ(first.status, 200);
  EXPECT_NE(first.body.find("VIZE_buildAdURL"), std::string::npos);
  const std::string lastModified = first.header("Last-Modified");
  ASSERT_TRUE(lastModified.ends_with(" GMT")) << lastModified;
  // What the application sends back: the same date, with a cache buster in the query.
  auto same = fetch(url + "?unique=801234567", {{"If-Modified-Since", lastModified}});
  EXPECT_EQ(same.status, 304);
  EXPECT_EQ(same.body, "");
  EXPECT_EQ(fetch(url, {{"If-Modified-Since", "Sat, 01 Jan 2000 00:00:00 GMT"}}).body, first.body);
  EXPECT_EQ(fetch(url, {{"If-Modified-Since", "yesterday-ish"}}).status, 200);
  EXPECT_EQ(fetch(sandbox_.statics() + "/vize/other.js").status, 404);
  auto counts = stats();
  EXPECT_EQ(count(counts["script"]["200"]), 3);
  EXPECT_EQ(count(counts["script"]["304"]), 1);
}

TEST_F(SandboxTest, EveryCreativeAnswersAsItsCatalogueEntrySays) {
  const pf::Value catalogue = json(sandbox_.ad() + "/creatives.json");
  ASSERT_GE(catalogue.size(), 25u);
  for (size_t i = 0; i < catalogue.size(); ++i) {
    const pf::Value& c = catalogue[i];
    const std::string name = c["name"].stringRef(), kind = c["kind"].stringRef();
    SCOPED_TRACE(name);
    const double started = pf::Clock::monotonic();
    auto r = ad(std::string(kSlot) + "&creative=" + name + "&delay_ms=300");
    if (kind != "truncated") {
      EXPECT_EQ(r.header("X-Vize-Refresh-Rate"), "30");
    }
    if (kind == "banner") {
      expectBannerPage(r, name);
      expectAdHeaders(r, c, true);
    } else if (kind == "slow") {
      expectBannerPage(r, name);
      EXPECT_GE(pf::Clock::monotonic() - started, 0.3);
    } else if (kind == "redirect") {
      ASSERT_EQ(r.status, 302);
      expectAdHeaders(r, c, false);
      auto hop = fetch(r.header("Location"));
      ASSERT_EQ(hop.status, 302);
      EXPECT_EQ(hop.header("X-Vize-Tracking-Urls"), "");
      auto final = fetch(hop.header("Location"));
      expectBannerPage(final, name);
      expectAdHeaders(final, c, true);
    } else if (kind == "nofill") {
      EXPECT_EQ(r.status, 200);
      EXPECT_FALSE(r.body.empty());
      EXPECT_EQ(r.body.find_first_not_of(" \t\r\n"), std::string::npos) << "white space only";
    } else if (kind == "status") {
      EXPECT_EQ(r.status, count(c["status"]));
      EXPECT_EQ(r.header("X-Vize-Tracking-Urls"), "");
    } else if (kind == "truncated") {
      ASSERT_TRUE(r.error) << "a body cut short must fail the load";
      EXPECT_EQ(r.error->code(), pf::URLError::NetworkConnectionLost);
    } else if (kind == "not-utf8") {
      EXPECT_EQ(r.status, 200);
      EXPECT_FALSE(pf::Url::isValidUtf8(r.body));
    } else {
      ADD_FAILURE() << "unknown kind " << kind;
    }
  }
  EXPECT_EQ(count(stats()["ad_requests"]), static_cast<int64_t>(catalogue.size()));
}

TEST_F(SandboxTest, RequestsWithoutASlotOrWithAnUnknownCreativeAreRefused) {
  auto noSlot = ad("preqs=1&js=vize-sdk-i-v4.1.1");
  EXPECT_EQ(noSlot.status, 400);
  EXPECT_EQ(noSlot.header("X-Vize-Refresh-Rate"), "30");
  EXPECT_EQ(ad("slotname=&creative=link").status, 400);
  EXPECT_EQ(ad(std::string(kSlot) + "&creative=no-such-ad").status, 400);
  SandboxProcess quiet("--refresh-rate 0");
  ASSERT_TRUE(quiet.ready());
  EXPECT_EQ(fetch(quiet.ad() + "/ad?" + kSlot + "&creative=link").header("X-Vize-Refresh-Rate"), "");
}

// Each creative's tap sends the message URL it is named after, read with the application's
// own parser; the URLs inside lead back to the sandbox.
TEST_F(SandboxTest, MessageCreativesSendWhatTheirNamesSay) {
  const struct {
    const char* creative;
    const char* name;
    std::vector<std::pair<const char*, const char*>> parameters;  // "" : present, value not checked
  } kCases[] = {
      {"msg-click", "click", {{"ai", "SBX7q2"}, {"u", ""}}},
      {"msg-httptrack", "httpTrack", {{"u", ""}}},
      {"msg-open-browser", "open", {{"a", "browser"}, {"o", "p"}, {"u", ""}}},
      {"msg-open-webapp", "open", {{"a", "webapp"}, {"u", ""}}},
      {"msg-open-webapp-html", "open", {{"a", "webapp"}, {"html", ""}}},
      {"msg-open-video", "open", {{"a", "video"}, {"u", ""}}},
      {"msg-open-call", "open", {{"a", "call"}, {"u", ""}}},
      {"msg-open-app", "open", {{"a", "app"}, {"u", ""}}},
      {"rodud-launch", "open", {{"a", "browser"}, {"u", ""}}},
      {"msg-close", "close", {}},
      {"msg-vibrate", "vibrate", {}},
      {"msg-touch", "touch", {}},
      {"msg-log", "log", {{"string", "sandbox creative msg-log says hello & goodbye"}}},
      {"msg-canopenurls", "canOpenURLs", {{"urls", ""}}},
      {"msg-evalinopener", "evalInOpener", {{"js", "document.title"}}},
      {"msg-settings", "settings", {{"supportedorientations", "landscape"}}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.creative);
    auto page = fetch(sandbox_.ad() + "/ad/creative?c=" + c.creative).body;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(page, m, std::regex("id=\"ad\" href=\"([^\"]*)\"")));
    std::string href = m[1];
    for (auto [entity, ch] : {std::pair{"&quot;", "\""}, {"&#39;", "'"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}})
      for (size_t at; (at = href.find(entity)) != std::string::npos;) href.replace(at, std::string(entity).size(), ch);
    auto url = pf::Url::parse(href);
    ASSERT_TRUE(url) << href;
    auto message = GADNotification::notificationFromURL(*url);
    ASSERT_TRUE(message) << href;
    EXPECT_EQ(message->name(), c.name);
    for (auto [key, value] : c.parameters) {
      const pf::Value& got = message->parameters()[key];
      ASSERT_TRUE(got.isString()) << key;
      if (*value) {
        EXPECT_EQ(got.stringRef(), value) << key;
      }
      if (std::string(key) == "u" && got.stringRef().rfind("http", 0) == 0) {
        EXPECT_EQ(fetch(got.stringRef()).status, std::string(c.name) == "httpTrack" ? 302 : 200) << got.stringRef();
      }
    }
  }
  // The other roads out of a banner, and the web-app page's own messages to the application.
  EXPECT_NE(fetch(sandbox_.ad() + "/ad/creative?c=mailto").body.find("href=\"mailto:"), std::string::npos);
  EXPECT_NE(fetch(sandbox_.ad() + "/ad/creative?c=tel").body.find("href=\"tel:"), std::string::npos);
  const std::string webapp = fetch(sandbox_.ad() + "/landing/webapp.html").body;
  for (const char* needle : {"gmsg://sandbox/close", "gmsg://sandbox/settings?supportedOrientations=", "VIZE_ReceiveMessage"})
    EXPECT_NE(webapp.find(needle), std::string::npos) << needle;
}

TEST_F(SandboxTest, TheQueueAndTheCountersFollowTheTraffic) {
  ASSERT_EQ(fetch(sandbox_.ad() + "/control/next?creative=status-500&count=2").status, 200);
  EXPECT_EQ(ad(kSlot).status, 500);
  EXPECT_NE(ad(std::string(kSlot) + "&creative=link").body.find("data-creative=\"link\""), std::string::npos)
      << "a creative named by the request wins and leaves the queue alone";
  EXPECT_EQ(ad(kSlot).status, 500);
  EXPECT_NE(ad(kSlot).body.find("data-creative=\"link\""), std::string::npos) << "rotation resumes from the first";
  EXPECT_EQ(fetch(sandbox_.ad() + "/control/next?creative=nope").status, 400);
  for (const char* ping : {"/track/impression?c=link", "/track/impression?c=link", "/track/click?c=link",
                           "/track/event?c=link-tracked&kind=partner"})
    EXPECT_EQ(fetch(sandbox_.ad() + ping).status, 200) << ping;

  auto s = stats();
  EXPECT_EQ(count(s["ad_requests"]), 4);
  EXPECT_EQ(count(s["impressions"]), 2);
  EXPECT_EQ(count(s["clicks"]), 1);
  EXPECT_EQ(count(s["events"]), 1);
  EXPECT_EQ(count(s["creatives"]["link"]["served"]), 2);
  EXPECT_EQ(count(s["creatives"]["link"]["impressions"]), 2);
  EXPECT_EQ(s["last_requests"].size(), 4u);

  EXPECT_EQ(fetch(sandbox_.ad() + "/control/reset").status, 200);
  s = stats();
  for (const char* key : {"ad_requests", "impressions", "clicks", "events"}) EXPECT_EQ(count(s[key]), 0) << key;
  EXPECT_EQ(s["creatives"].size(), 0u);
}

// Each landing page counts its loads and keeps the Referer of the last one ("" without).
TEST_F(SandboxTest, LandingPagesCountLoadsAndTheLastReferer) {
  const std::pair<const char*, const char*> kLoads[] = {
      {"browser.html", "http://127.0.0.1/ad/creative?c=link"}, {"browser.html", nullptr},
      {"webapp.html", nullptr}, {"webapp.html", "http://127.0.0.1/from-the-banner"},
      {"video.html", "first"}, {"missing.html", "not counted"},
  };
  for (const auto& [page, referer] : kLoads) {
    pf::HTTPHeaderFields headers;
    if (referer) headers.setValue(std::string(referer), "Referer");
    fetch(sandbox_.ad() + "/landing/" + page + "?c=link", headers);
  }
  // A Referer of bytes that are not UTF-8 (Latin-1 "café") still leaves the JSON UTF-8.
  RawSocket socket(sandbox_.adPort());
  ASSERT_TRUE(socket.send("GET /landing/video.html HTTP/1.1\r\nHost: 127.0.0.1\r\nReferer: caf\xE9\r\nConnection: close\r\n\r\n"));
  EXPECT_EQ(socket.receive(3000).status(), 200);

  auto s = stats();
  const struct {
    const char* page;
    int64_t hits;
    const char* referer;
  } kExpected[] = {{"browser.html", 2, ""}, {"webapp.html", 2, "http://127.0.0.1/from-the-banner"},
                   {"video.html", 2, "caf\uFFFD"}};
  for (const auto& e : kExpected) {
    SCOPED_TRACE(e.page);
    EXPECT_EQ(count(s["landing"][e.page]["hits"]), e.hits);
    EXPECT_EQ(s["landing"][e.page]["referer"], pf::Value(e.referer));
  }
  EXPECT_EQ(s["landing"].size(), 3u) << "only pages that were served";
  EXPECT_NE(fetch(sandbox_.ad() + "/").body.find("from-the-banner"), std::string::npos) << "on the dashboard";
  EXPECT_EQ(fetch(sandbox_.ad() + "/control/reset").status, 200);
  EXPECT_EQ(stats()["landing"].size(), 0u);
}

// A banner that, untouched, tries six ways out in turn; served only when asked for.
TEST_F(SandboxTest, AutoRedirectIsOnDemandAndTriesSixWaysOut) {
  for (int i = 0; i < 30; ++i)
    EXPECT_EQ(ad(kSlot).body.find("data-creative=\"auto-redirect\""), std::string::npos) << "in the rotation";
  ASSERT_EQ(fetch(sandbox_.ad() + "/control/next?creative=auto-redirect").status, 200);
  auto r = ad(kSlot);
  ASSERT_NE(r.body.find("data-creative=\"auto-redirect\""), std::string::npos) << "served when queued";
  std::smatch m;
  ASSERT_TRUE(std::regex_search(r.body, m, std::regex("var leaves = (\\[[^\\]]*\\]);")));
  auto leaves = GAD_SBJSON().fragmentWithStringError(m[1].str());
  ASSERT_TRUE(leaves && leaves->size() == 6) << m[1];
  const std::string page = sandbox_.ad() + "/landing/browser.html?c=auto-redirect";
  auto open = GADNotification::notificationFromURL(*pf::Url::parse((*leaves)[0].stringRef()));
  auto launch = GADNotification::notificationFromURL(*pf::Url::parse((*leaves)[1].stringRef()));
  ASSERT_TRUE(open && launch);
  EXPECT_EQ(open->name(), "open");
  EXPECT_EQ(open->parameters()["a"], pf::Value("browser"));
  EXPECT_EQ(open->parameters()["u"], pf::Value(page));
  EXPECT_EQ((*leaves)[1].stringRef().rfind("rodud://launch", 0), 0u);
  EXPECT_EQ(launch->parameters()["u"], pf::Value(page));
  const std::string plain[] = {"mailto:auto@ashenmoor.example?subject=auto", "tel:+15550199",
                               "itms-apps://apps.example/app/auto", page};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ((*leaves)[i + 2].stringRef(), plain[i]);
}

}  // namespace
