#include "MessageUrlParts.h"
#include "RawSocket.h"
#include "SandboxFixture.h"

#include <glib.h>

#include <regex>
#include <set>
#include <sstream>
#include <vector>

namespace {

constexpr const char* kSlot = "slotname=a15c0f3e82d9b47";

struct CreativeInfo {
  std::string name, kind, orientation;
  gint64 status = 0;
  bool rotates = false, clickTracking = false;
};

class AdServer : public SandboxFixture {
 protected:
  std::vector<CreativeInfo> catalogue() {
    auto r = http_.get(sandbox_.ad() + "/creatives.json");
    JsonDoc doc(r.body);
    std::vector<CreativeInfo> out;
    if (!doc.ok() || !JSON_NODE_HOLDS_ARRAY(doc.root())) return out;
    JsonArray* array = json_node_get_array(doc.root());
    for (guint i = 0; i < json_array_get_length(array); ++i) {
      JsonObject* o = json_array_get_object_element(array, i);
      out.push_back({json_object_get_string_member(o, "name"), json_object_get_string_member(o, "kind"),
                     json_object_get_string_member(o, "orientation"), json_object_get_int_member(o, "status"),
                     json_object_get_boolean_member(o, "rotates") != FALSE,
                     json_object_get_boolean_member(o, "click_tracking") != FALSE});
    }
    return out;
  }

  static std::vector<std::string> split(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string piece; in >> piece;) out.push_back(piece);
    return out;
  }

  // The headers every filled ad carries; tracking URLs point back at the sandbox.
  void expectAdHeaders(const HttpClient::Response& r, const CreativeInfo& c, bool finalAnswer) {
    SCOPED_TRACE(c.name);
    auto impressions = split(r.header("x-vize-tracking-urls"));
    ASSERT_FALSE(impressions.empty());
    for (const auto& url : impressions) {
      EXPECT_TRUE(g_str_has_prefix(url.c_str(), (sandbox_.ad() + "/track/").c_str())) << url;
    }
    EXPECT_NE(impressions[0].find("/track/impression?c=" + c.name), std::string::npos);
    EXPECT_EQ(r.has("x-vize-click-tracking-urls"), c.clickTracking && finalAnswer);
    if (r.has("x-vize-click-tracking-urls")) {
      EXPECT_EQ(r.header("x-vize-click-tracking-urls"), sandbox_.ad() + "/track/click?c=" + c.name);
    }
    EXPECT_EQ(r.header("x-vize-orientation"), c.orientation);
    EXPECT_EQ(r.header("x-vize-interstitial-timeout"), "8");
  }

  void expectBannerPage(const HttpClient::Response& r, const CreativeInfo& c) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(r.status, 200u);
    EXPECT_NE(r.header("content-type").find("text/html"), std::string::npos);
    EXPECT_TRUE(g_utf8_validate(r.body.data(), static_cast<gssize>(r.body.size()), nullptr));
    EXPECT_NE(r.body.find("data-creative=\"" + c.name + "\""), std::string::npos);
    EXPECT_EQ(r.body.find("{{"), std::string::npos) << "unfilled template field";
    EXPECT_NE(r.body.find("width: 320px; height: 50px"), std::string::npos);
    // No outside resources: every web URL in the page is the sandbox's own.
    std::regex web("https?://[^\"'\\s)&]+");
    for (std::sregex_iterator it(r.body.begin(), r.body.end(), web), end; it != end; ++it) {
      std::string url = it->str();
      EXPECT_TRUE(g_str_has_prefix(url.c_str(), sandbox_.ad().c_str()) || url == "http://127.0.0.1/")
          << url;
    }
  }
};

TEST_F(AdServer, EveryCreativeAnswersAsItsCatalogueEntrySays) {
  auto creatives = catalogue();
  ASSERT_GE(creatives.size(), 25u);
  for (const auto& c : creatives) {
    SCOPED_TRACE(c.name);
    gint64 started = g_get_monotonic_time();
    auto r = ad(std::string(kSlot) + "&creative=" + c.name + "&delay_ms=300");
    gint64 tookMs = (g_get_monotonic_time() - started) / 1000;
    EXPECT_EQ(r.header("x-vize-refresh-rate"), "30");
    if (c.kind == "banner") {
      expectBannerPage(r, c);
      expectAdHeaders(r, c, true);
    } else if (c.kind == "redirect") {
      ASSERT_EQ(r.status, 302u);
      expectAdHeaders(r, c, false);
      auto hop = http_.get(r.header("location"));
      ASSERT_EQ(hop.status, 302u);
      EXPECT_FALSE(hop.has("x-vize-tracking-urls"));
      auto final = http_.get(hop.header("location"));
      expectBannerPage(final, c);
      expectAdHeaders(final, c, true);
      EXPECT_NE(r.header("x-vize-tracking-urls"), final.header("x-vize-tracking-urls"));
    } else if (c.kind == "nofill") {
      EXPECT_EQ(r.status, 200u);
      EXPECT_FALSE(r.body.empty());
      EXPECT_EQ(r.body.find_first_not_of(" \t\r\n"), std::string::npos) << "body must be white space only";
    } else if (c.kind == "status") {
      EXPECT_EQ(r.status, static_cast<guint>(c.status));
      if (c.status == 204) {
        EXPECT_TRUE(r.body.empty());
      }
      EXPECT_FALSE(r.has("x-vize-tracking-urls"));
    } else if (c.kind == "truncated") {
      // libsoup's client reports no error for a body cut short; a client has to compare
      // what arrived with the promised Content-Length, as this does.
      EXPECT_EQ(r.status, 200u);
      EXPECT_EQ(r.header("content-length"), "4096");
      EXPECT_GT(r.body.size(), 0u);
      EXPECT_LT(r.body.size(), 4096u);
      // Written by hand, but with the headers of every filled answer.
      expectAdHeaders(r, c, true);
      EXPECT_EQ(r.header("cache-control"), "no-store");
    } else if (c.kind == "slow") {
      EXPECT_GE(tookMs, 300);
      expectBannerPage(r, c);
    } else if (c.kind == "not-utf8") {
      EXPECT_EQ(r.status, 200u);
      EXPECT_FALSE(r.body.empty());
      EXPECT_FALSE(g_utf8_validate(r.body.data(), static_cast<gssize>(r.body.size()), nullptr));
    } else {
      ADD_FAILURE() << "unknown kind " << c.kind;
    }
  }
  auto counts = stats();
  EXPECT_EQ(counts->integer({"ad_requests"}), static_cast<gint64>(creatives.size()));
  EXPECT_EQ(counts->integer({"creatives", "slow", "served"}), 1);
}

TEST_F(AdServer, BannerCatalogueCoversEveryRoadTheApplicationTakes) {
  auto creatives = catalogue();
  std::set<std::string> names;
  for (const auto& c : creatives) names.insert(c.name);
  for (const char* needed :
       {"link", "link-tracked", "mailto", "tel", "redirect", "nofill", "status-204", "status-400", "status-404",
        "status-500", "truncated", "slow", "not-utf8", "msg-click", "msg-httptrack", "msg-open-browser",
        "msg-open-webapp", "msg-open-webapp-html", "msg-open-video", "msg-open-call", "msg-open-app", "msg-close",
        "msg-log", "msg-touch", "msg-vibrate", "msg-canopenurls", "msg-evalinopener", "msg-settings",
        "auto-redirect"}) {
    EXPECT_TRUE(names.count(needed)) << needed;
  }
  // The two link roads differ exactly in click tracking: browser versus web-app overlay.
  auto link = ad(std::string(kSlot) + "&creative=link");
  auto tracked = ad(std::string(kSlot) + "&creative=link-tracked");
  EXPECT_FALSE(link.has("x-vize-click-tracking-urls"));
  EXPECT_TRUE(tracked.has("x-vize-click-tracking-urls"));
  EXPECT_EQ(split(tracked.header("x-vize-tracking-urls")).size(), 2u) << "two URLs separated by a blank";
  EXPECT_NE(ad(std::string(kSlot) + "&creative=mailto").body.find("href=\"mailto:"), std::string::npos);
  EXPECT_NE(ad(std::string(kSlot) + "&creative=tel").body.find("href=\"tel:"), std::string::npos);
}

// A banner that, untouched, tries six ways out in turn; served only when asked for.
TEST_F(AdServer, AutoRedirectIsOnDemandAndTriesSixWaysOut) {
  size_t rotating = 0;
  for (const auto& c : catalogue()) rotating += c.rotates;
  for (size_t i = 0; i < rotating; ++i) {
    EXPECT_EQ(ad(kSlot).body.find("data-creative=\"auto-redirect\""), std::string::npos) << "in the rotation";
  }
  ASSERT_EQ(http_.get(sandbox_.ad() + "/control/next?creative=auto-redirect").status, 200u);
  auto r = ad(kSlot);
  ASSERT_NE(r.body.find("data-creative=\"auto-redirect\""), std::string::npos) << "served when queued";

  std::smatch m;
  ASSERT_TRUE(std::regex_search(r.body, m, std::regex("var leaves = (\\[[^\\]]*\\]);")));
  JsonDoc leaves(m[1]);
  ASSERT_TRUE(leaves.ok() && JSON_NODE_HOLDS_ARRAY(leaves.root())) << m[1];
  JsonArray* array = json_node_get_array(leaves.root());
  ASSERT_EQ(json_array_get_length(array), 6u);
  auto target = [&](guint i) { return std::string(json_array_get_string_element(array, i)); };

  const std::string page = sandbox_.ad() + "/landing/browser.html?c=auto-redirect";
  EXPECT_EQ(http_.get(page).status, 200u);
  auto open = MessageUrlParts::parse(target(0));
  EXPECT_EQ(open.scheme + " " + open.name, "gmsg open");
  EXPECT_EQ(open.params["a"], "browser");
  EXPECT_EQ(open.params["u"], page);
  auto launch = MessageUrlParts::parse(target(1));
  EXPECT_EQ(launch.scheme + " " + launch.name, "rodud launch");
  EXPECT_EQ(launch.params["url"], page);
  EXPECT_EQ(open.dropped + launch.dropped, 0);
  const std::string plain[] = {"mailto:auto@ashenmoor.example?subject=auto", "tel:+15550199",
                               "itms-apps://apps.example/app/auto", page};
  for (guint i = 0; i < 4; ++i) EXPECT_EQ(target(i + 2), plain[i]);
}

TEST_F(AdServer, RejectsRequestsWithoutSlotOrWithUnknownCreative) {
  auto noSlot = ad("preqs=1&js=vize-sdk-i-v4.1.1");
  EXPECT_EQ(noSlot.status, 400u);
  EXPECT_EQ(noSlot.header("x-vize-refresh-rate"), "30");
  EXPECT_EQ(ad("slotname=&creative=link").status, 400u);
  EXPECT_EQ(ad(std::string(kSlot) + "&creative=no-such-ad").status, 400u);
  EXPECT_EQ(http_.get(sandbox_.ad() + "/ad/creative?c=status-500").status, 404u) << "no page to preview";
  auto counts = stats();
  EXPECT_EQ(counts->integer({"ad_requests"}), 3);
}

TEST_F(AdServer, RefreshRateIsConfigurable) {
  SandboxProcess quiet("--refresh-rate 0");
  ASSERT_TRUE(quiet.ready());
  auto r = http_.get(quiet.ad() + "/ad?" + kSlot + "&creative=link");
  EXPECT_EQ(r.status, 200u);
  EXPECT_FALSE(r.has("x-vize-refresh-rate"));
  EXPECT_FALSE(http_.get(quiet.ad() + "/ad?" + kSlot + "&creative=truncated").has("x-vize-refresh-rate"));
  SandboxProcess fast("--refresh-rate 12");
  ASSERT_TRUE(fast.ready());
  EXPECT_EQ(http_.get(fast.ad() + "/ad?" + kSlot + "&creative=status-500").header("x-vize-refresh-rate"), "12");
  // The truncated answer's head is written by hand: the header once, as in any answer.
  RawSocket socket(fast.adPort());
  ASSERT_TRUE(socket.send(std::string("GET /ad?") + kSlot + "&creative=truncated HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"));
  std::string head = socket.receive(3000).bytes;
  head = head.substr(0, head.find("\r\n\r\n") + 2);
  size_t first = head.find("X-Vize-Refresh-Rate: 12\r\n");
  ASSERT_NE(first, std::string::npos) << head;
  EXPECT_EQ(head.find("X-Vize-Refresh-Rate", first + 1), std::string::npos) << head;
}

}  // namespace
