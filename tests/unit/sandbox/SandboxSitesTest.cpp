// The sandbox's sites on their three routers, with plain requests.
#include "SandboxSites.h"

#include <gtest/gtest.h>

#include <memory>

#include "sdk/signals/GADSignals.h"

namespace {

class SandboxSitesTest : public ::testing::Test {
 protected:
  Request get(const std::string& target, std::vector<std::pair<std::string, std::string>> headers = {}) {
    Request r;
    size_t q = target.find('?');
    r.path = target.substr(0, q);
    r.query = q == std::string::npos ? "" : target.substr(q + 1);
    r.headers = std::move(headers);
    r.localOrigin = "http://127.0.0.1:47312";
    return r;
  }
  Answer ad(const std::string& target, std::vector<std::pair<std::string, std::string>> headers = {}) {
    return adRouter_.dispatch(get(target, std::move(headers)));
  }

  WwwRoot www_{ASHENMOOR_SOURCE_DIR "/tools/sandbox/www"};
  Router contentRouter_, staticRouter_, adRouter_;
  std::unique_ptr<SandboxSites> sites_ =
      std::make_unique<SandboxSites>(SandboxSites::Routers{contentRouter_, staticRouter_, adRouter_}, www_,
                                     AdServer::Settings{30, 4000});
};

// The truncated answer carries what every filled ad answer carries, its tracking URL on the
// origin the request named. (Its head is written by hand, by http1Head(): that it writes each
// header once and none that would break it is SandboxAnswer's.)
TEST_F(SandboxSitesTest, TruncatedAnswerHasTheHeadersOfEveryFilledAnswer) {
  Answer banner = ad("/ad?slotname=s&creative=link");
  Answer cut = ad("/ad?slotname=s&creative=truncated", {{"Host", "ad.example:8080"}});
  EXPECT_EQ(cut.promisedLength, 4096u);
  EXPECT_LT(cut.body.size(), 4096u);
  for (const char* name : {"Cache-Control", "X-Vize-Refresh-Rate", "X-Vize-Tracking-Urls", "X-Vize-Interstitial-Timeout"}) {
    ASSERT_NE(banner.find(name), nullptr) << name;
    ASSERT_NE(cut.find(name), nullptr) << name;
    if (std::string(name) != "X-Vize-Tracking-Urls") {
      EXPECT_EQ(*cut.find(name), *banner.find(name)) << name;
    }
  }
  EXPECT_EQ(*cut.find("X-Vize-Tracking-Urls"), "http://ad.example:8080/track/impression?c=truncated");
}

// A landing page counts under its own name, and only when it was loaded (a GET served).
TEST_F(SandboxSitesTest, LandingLoadsCountUnderThePageTheyServed) {
  const struct {
    const char* method;
    const char* path;
    unsigned status;
  } requests[] = {
      {"GET", "/landing/browser.html", 200}, {"GET", "/landing//./webapp.html", 200},
      {"HEAD", "/landing/video.html", 200},  {"GET", "/landingbrowser.html", 404},
  };
  for (const auto& r : requests) {
    SCOPED_TRACE(std::string(r.method) + " " + r.path);
    Request request = get(r.path, {{"Referer", r.path}});
    request.method = r.method;
    EXPECT_EQ(adRouter_.dispatch(request).status, r.status);
  }
  const auto& landing = sites_->stats().landing();
  ASSERT_EQ(landing.size(), 2u);
  EXPECT_EQ(landing.at("browser.html").hits, 1);
  EXPECT_EQ(landing.at("webapp.html").referer, "/landing//./webapp.html");
}

// The application's signals are read where it sends them — "ms" on the ad URL, the bare
// token on a click ping — and counted; elsewhere, or without one, nothing is counted.
TEST_F(SandboxSitesTest, SignalsAreCountedWhereTheApplicationSendsThem) {
  gad_signals_reset();
  gad_htg(7, 8, 9);
  std::string ms, click;
  ASSERT_TRUE(gad_gmrs(ms));
  ASSERT_TRUE(gad_gmcs("SBX7q2", click));
  const std::string bad = ms.substr(0, ms.size() - 2) + (ms[ms.size() - 2] == 'A' ? "B" : "A") + ms.back();
  const struct {
    std::string target;
    int valid, invalid;  // counts after the request
  } cases[] = {
      {"/ad?slotname=s&" + ms, 1, 0},
      {"/ad?" + ms, 2, 0},  // refused for want of a slot, the signal is still read
      {"/ad?slotname=s&" + bad, 2, 1},
      {"/ad?slotname=s&ms=" + click, 2, 2},
      {"/ad?slotname=s", 2, 2},
      {"/track/click?c=msg-click&ai=SBX7q2&" + click, 3, 2},
      {"/track/click?c=msg-click&ai=SBX7q3&" + click, 3, 3},
      {"/track/click?c=msg-click;ai=SBX7q2;" + click + "&to=http%3A%2F%2Fx", 4, 3},
      {"/track/click?c=msg-click&ai=SBX7q2", 4, 3},
      {"/track/click?c=link&ai=SBX7q2&" + ms.substr(3), 4, 4},
      {"/track/impression?c=msg-click&ai=SBX7q2&" + click, 4, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    ad(c.target);
    EXPECT_EQ(sites_->stats().validSignals(), c.valid);
    EXPECT_EQ(sites_->stats().invalidSignals(), c.invalid);
  }
  std::string json = ad("/stats.json").body;
  EXPECT_NE(json.find("\"signals\": {\"valid\": 4, \"invalid\": 4}"), std::string::npos) << json;
  // The latest ad requests: none, a wrong kind, tampered, then genuine (the oldest of the five).
  const auto& last = sites_->stats().lastRequests();
  ASSERT_EQ(last.size(), 5u);
  EXPECT_FALSE(last[0].signal);
  EXPECT_EQ(last[1].signal->fault, SignalReader::Fault::WrongKind);
  EXPECT_EQ(last[2].signal->fault, SignalReader::Fault::Tampered);
  ASSERT_TRUE(last[4].signal->record);
  std::string dashboard = ad("/").body;
  EXPECT_NE(dashboard.find("signal invalid: tampered"), std::string::npos);
  EXPECT_NE(dashboard.find("1 touch, last at 7,8 held 9 ms"), std::string::npos);
}

// A site's handlers use the site; they go when it goes, not when the router does.
TEST_F(SandboxSitesTest, SitesTakeTheirRoutesAlongWhenTheyGo) {
  // (That a later route takes a path over until it goes is SandboxRouter's.)
  EXPECT_EQ(ad("/track/click?c=link").body, "counted\n");
  sites_.reset();
  for (Router* router : {&contentRouter_, &staticRouter_, &adRouter_}) {
    for (const char* path : {"/", "/ad", "/stats.json", "/track/click", "/landing/browser.html", "/vize/sdk-core-v40.js"})
      EXPECT_EQ(router->dispatch(get(path)).status, 404u) << path;
  }
}

}  // namespace
