// The scripted server: which entry answers, what is recorded, cookies, offline.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RecordingDelegate.h"
#include "platform/net/HTTPSettings.h"
#include "platform/net/URLError.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimURLTransport.h"

using pf::SimResponse;
using testing::ElementsAre;

namespace {

class SimURLTransportTest : public testing::Test {
 protected:
  ~SimURLTransportTest() override {
    pf::URLConnection::cancelAll();
    pf::URLTransport::install(nullptr);
    pf::HTTPSettings::reset();
  }

  // Loads `text` to the end and answers the body, or "fail <code>".
  std::string fetch(const std::string& text, bool handleCookies = true) {
    auto d = std::make_shared<RecordingDelegate>();
    pf::URLRequest request(*pf::Url::parse(text));
    request.setHTTPShouldHandleCookies(handleCookies);
    pf::URLConnection::create(request, d);
    clock.runUntilIdle();
    if (d->error) return "fail " + std::to_string(d->error->code());
    return d->bodies.empty() ? "" : d->bodies.back();
  }

  pf::SimClock clock;
  std::shared_ptr<pf::SimURLTransport> server = pf::SimURLTransport::install();
};

TEST_F(SimURLTransportTest, UnscriptedURLCannotConnectAndIsStillRecorded) {
  EXPECT_EQ(fetch("http://nobody.example/x"), "fail -1004");
  ASSERT_EQ(server->requests().size(), 1u);
  EXPECT_EQ(server->requests()[0].url().absoluteString(), "http://nobody.example/x");
}

TEST_F(SimURLTransportTest, OneTimeEntriesComeFirstInOrderThenTheNewestStandingOne) {
  const char* u = "http://h.example/ad";
  server->respond(u, SimResponse::ok("standing-old"));
  server->respond(u, SimResponse::ok("standing-new"));
  server->respondOnce(u, SimResponse::ok("once-1"));
  server->respondOnce(u, SimResponse::ok("once-2"));
  EXPECT_EQ(fetch(u), "once-1");
  EXPECT_EQ(fetch(u), "once-2");
  EXPECT_EQ(fetch(u), "standing-new");
  EXPECT_EQ(fetch(u), "standing-new");
  server->clearScript();
  EXPECT_EQ(fetch(u), "fail -1004");
}

TEST_F(SimURLTransportTest, ExactEntriesMatchTheWholeTextPrefixEntriesItsStart) {
  server->respond("http://h.example/a", SimResponse::ok("exact"));
  server->respondToPrefix("http://t.example/track", SimResponse::withStatus(204));
  EXPECT_EQ(fetch("http://h.example/a?x=1"), "fail -1004");
  EXPECT_EQ(fetch("http://t.example/track?id=7&ai=9"), "");
  EXPECT_EQ(server->requests().back().url().query(), "id=7&ai=9");
}

TEST_F(SimURLTransportTest, ResponderSeesTheRequestAsSent) {
  // A server that revalidates: 304 when asked "If-Modified-Since", else 200.
  server->respondWhen(
      [](const pf::URLRequest& r) { return r.url().path() == "/vize/sdk-core-v40.js"; },
      [](const pf::URLRequest& r) {
        if (r.valueForHTTPHeaderField("If-Modified-Since")) return SimResponse::withStatus(304);
        return SimResponse::ok("script").header("Last-Modified", "Sat, 01 Jan 2011 00:00:00 GMT");
      });
  auto d = std::make_shared<RecordingDelegate>();
  pf::URLRequest conditional(*pf::Url::parse("http://s.example/vize/sdk-core-v40.js?unique=1"));
  conditional.setValueForHTTPHeaderField("Sat, 01 Jan 2011 00:00:00 GMT", "If-Modified-Since");
  pf::URLConnection::create(conditional, d);
  clock.runUntilIdle();
  EXPECT_THAT(d->calls, ElementsAre("will GET http://s.example/vize/sdk-core-v40.js?unique=1",
                                    "response 304", "finish"));
  EXPECT_EQ(fetch("http://s.example/vize/sdk-core-v40.js"), "script");
}

TEST_F(SimURLTransportTest, ResponseHeadersAreJoinedAndLengthIsFilledIn) {
  server->respond("http://h.example/a", SimResponse::ok("12345", "text/plain; charset=ISO-8859-1")
                                            .header("X-Vize-Tracking-Urls", "http://t/1")
                                            .header("x-vize-tracking-urls", "http://t/2"));
  struct HeadDelegate : RecordingDelegate {
    std::optional<pf::URLResponse> head;
    void connectionDidReceiveResponse(pf::URLConnection& c, const pf::URLResponse& r) override {
      head = r;
      RecordingDelegate::connectionDidReceiveResponse(c, r);
    }
  };
  auto d = std::make_shared<HeadDelegate>();
  pf::URLConnection::create(pf::URLRequest(*pf::Url::parse("http://h.example/a")), d);
  clock.runUntilIdle();
  ASSERT_TRUE(d->head);
  EXPECT_EQ(d->head->valueForHTTPHeaderField("X-VIZE-TRACKING-URLS"), "http://t/1, http://t/2");
  EXPECT_EQ(d->head->expectedContentLength(), 5);
  EXPECT_EQ(d->head->mimeType(), "text/plain");
  EXPECT_EQ(d->head->textEncodingName(), "ISO-8859-1");
  EXPECT_EQ(d->head->url().absoluteString(), "http://h.example/a");
}

TEST_F(SimURLTransportTest, OfflineFailsEveryRequestAsNotConnected) {
  server->respond("http://h.example/a", SimResponse::ok("x"));
  server->setOffline(true);
  EXPECT_EQ(fetch("http://h.example/a"), "fail -1009");
  server->setOffline(false);
  EXPECT_EQ(fetch("http://h.example/a"), "x");
}

TEST_F(SimURLTransportTest, CookiesGoWhereTheRequestAndTheSettingsAllow) {
  server->respondToPrefix("http://", SimResponse::ok("page"));  // older: consulted last
  server->respond(
      "http://h.example/login",
      SimResponse::ok("in").header("Set-Cookie", "id=42; Path=/").header("Set-Cookie", "lang=en"));

  fetch("http://h.example/login");
  fetch("http://h.example/page");
  EXPECT_EQ(server->requests().back().valueForHTTPHeaderField("Cookie"), "id=42; lang=en");

  fetch("http://other.example/page");
  EXPECT_FALSE(server->requests().back().valueForHTTPHeaderField("Cookie")) << "another host";

  fetch("http://h.example/page", /*handleCookies=*/false);
  EXPECT_FALSE(server->requests().back().valueForHTTPHeaderField("Cookie")) << "request opted out";

  pf::HTTPSettings::setCookiesEnabled(false);
  fetch("http://h.example/page");
  EXPECT_FALSE(server->requests().back().valueForHTTPHeaderField("Cookie")) << "cookies disabled";
}

TEST_F(SimURLTransportTest, CookiesAreNotStoredWhenNotHandled) {
  server->respond("http://h.example/login", SimResponse::ok("in").header("Set-Cookie", "id=42"));
  fetch("http://h.example/login", /*handleCookies=*/false);
  pf::HTTPSettings::setCookiesEnabled(false);
  fetch("http://h.example/login");
  EXPECT_FALSE(server->cookies().cookieHeader("h.example"));
  pf::HTTPSettings::setCookiesEnabled(true);
  fetch("http://h.example/login");
  EXPECT_EQ(server->cookies().value("h.example", "id"), "42");
}

}  // namespace
