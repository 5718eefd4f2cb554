#include "RawSocket.h"
#include "SandboxFixture.h"

#include <glib.h>

#include <map>

namespace {

constexpr const char* kSlot = "slotname=a15c0f3e82d9b47";
using ControlAndStats = SandboxFixture;

TEST_F(ControlAndStats, QueueServesTheNextRequestsThenRotationResumes) {
  auto queued = http_.get(sandbox_.ad() + "/control/next?creative=status-500&count=2");
  ASSERT_EQ(queued.status, 200u) << queued.body;
  EXPECT_EQ(ad(kSlot).status, 500u);
  // A creative named by the request wins and leaves the queue alone.
  auto named = ad(std::string(kSlot) + "&creative=link");
  EXPECT_EQ(named.status, 200u);
  EXPECT_NE(named.body.find("data-creative=\"link\""), std::string::npos);
  EXPECT_EQ(ad(kSlot).status, 500u);
  // Rotation: the banner creatives, in order, from the first.
  auto first = ad(kSlot);
  EXPECT_NE(first.body.find("data-creative=\"link\""), std::string::npos);
  auto second = ad(kSlot);
  EXPECT_NE(second.body.find("data-creative=\"link-tracked\""), std::string::npos);

  EXPECT_EQ(http_.get(sandbox_.ad() + "/control/next?creative=nope").status, 400u);
  EXPECT_EQ(http_.get(sandbox_.ad() + "/control/next?creative=link&count=0").status, 400u);
  EXPECT_EQ(http_.get(sandbox_.ad() + "/control/next?creative=link&count=x").status, 400u);

  // A queued slow answer keeps its own delay.
  ASSERT_EQ(http_.get(sandbox_.ad() + "/control/next?creative=slow&delay_ms=250").status, 200u);
  gint64 started = g_get_monotonic_time();
  EXPECT_EQ(ad(kSlot).status, 200u);
  EXPECT_GE((g_get_monotonic_time() - started) / 1000, 250);
}

TEST_F(ControlAndStats, CountersMoveAndReset) {
  ad(std::string(kSlot) + "&creative=link&extras=%7B%22sandbox_creative%22%3A%22link%22%7D&u_w=320");
  ad(std::string(kSlot) + "&creative=redirect");
  for (const char* ping : {"/track/impression?c=link", "/track/impression?c=link", "/track/click?c=link",
                           "/track/click?c=redirect", "/track/event?c=link-tracked&kind=partner"}) {
    EXPECT_EQ(http_.get(sandbox_.ad() + ping).status, 200u) << ping;
  }
  auto away = http_.get(sandbox_.ad() + "/track/click?c=link&to=" + "http%3A%2F%2F127.0.0.1%3A1%2Fthere");
  EXPECT_EQ(away.status, 302u);
  EXPECT_EQ(away.header("location"), "http://127.0.0.1:1/there");

  auto s = stats();
  EXPECT_EQ(s->integer({"ad_requests"}), 2);
  EXPECT_EQ(s->integer({"impressions"}), 2);
  EXPECT_EQ(s->integer({"clicks"}), 3);
  EXPECT_EQ(s->integer({"events"}), 1);
  EXPECT_EQ(s->integer({"creatives", "link", "served"}), 1);
  EXPECT_EQ(s->integer({"creatives", "link", "impressions"}), 2);
  EXPECT_EQ(s->integer({"creatives", "link", "clicks"}), 2);
  EXPECT_EQ(s->integer({"creatives", "redirect", "clicks"}), 1);

  // The latest request comes first, its parameters decoded.
  JsonNode* last = s->at({"last_requests"});
  ASSERT_TRUE(last && JSON_NODE_HOLDS_ARRAY(last));
  JsonArray* requests = json_node_get_array(last);
  ASSERT_EQ(json_array_get_length(requests), 2u);
  JsonObject* newest = json_array_get_object_element(requests, 0);
  EXPECT_STREQ(json_object_get_string_member(newest, "creative"), "redirect");
  JsonObject* older = json_array_get_object_element(requests, 1);
  JsonArray* params = json_object_get_array_member(older, "params");
  bool sawExtras = false;
  for (guint i = 0; i < json_array_get_length(params); ++i) {
    JsonArray* kv = json_array_get_array_element(params, i);
    if (g_strcmp0(json_array_get_string_element(kv, 0), "extras") == 0) {
      sawExtras = true;
      EXPECT_STREQ(json_array_get_string_element(kv, 1), "{\"sandbox_creative\":\"link\"}");
    }
  }
  EXPECT_TRUE(sawExtras);

  auto dashboard = http_.get(sandbox_.ad() + "/");
  EXPECT_EQ(dashboard.status, 200u);
  EXPECT_NE(dashboard.body.find("http-equiv=\"refresh\""), std::string::npos);
  EXPECT_NE(dashboard.body.find("sandbox_creative"), std::string::npos) << "decoded parameters on the dashboard";

  EXPECT_EQ(http_.get(sandbox_.ad() + "/control/reset").status, 200u);
  s = stats();
  for (const char* key : {"ad_requests", "impressions", "clicks", "events"}) EXPECT_EQ(s->integer({key}), 0) << key;
  EXPECT_EQ(s->integer({"script", "200"}), 0);
  EXPECT_EQ(json_object_get_size(json_node_get_object(s->at({"creatives"}))), 0u);
  EXPECT_EQ(json_array_get_length(json_node_get_array(s->at({"last_requests"}))), 0u);
  // Reset restarts the rotation too.
  EXPECT_NE(ad(kSlot).body.find("data-creative=\"link\""), std::string::npos);
}

// Each landing page counts its loads and keeps the Referer of the last one ("" without).
TEST_F(ControlAndStats, LandingPagesCountLoadsAndTheLastReferer) {
  struct Load {
    const char* page;
    const char* referer;  // nullptr: none sent
  };
  const Load loads[] = {
      {"browser.html", "http://127.0.0.1/ad/creative?c=link"}, {"browser.html", nullptr},
      {"webapp.html", nullptr}, {"webapp.html", "http://127.0.0.1/from-the-banner"},
      {"video.html", "first"}, {"video.html", "second"}, {"missing.html", "not counted"},
  };
  for (const auto& load : loads) {
    std::map<std::string, std::string> headers;
    if (load.referer) headers["Referer"] = load.referer;
    http_.get(sandbox_.ad() + "/landing/" + load.page + "?c=link", false, headers);
  }
  // A Referer of bytes that are not UTF-8 (Latin-1 "café") still leaves the JSON UTF-8.
  RawSocket socket(sandbox_.adPort());
  ASSERT_TRUE(socket.send("GET /landing/video.html HTTP/1.1\r\nHost: 127.0.0.1\r\nReferer: caf\xE9\r\nConnection: close\r\n\r\n"));
  EXPECT_EQ(socket.receive(3000).status(), 200);

  auto body = http_.get(sandbox_.ad() + "/stats.json").body;
  EXPECT_TRUE(g_utf8_validate(body.data(), static_cast<gssize>(body.size()), nullptr));
  JsonDoc s(body);
  ASSERT_TRUE(s.ok()) << body;
  const struct {
    const char* page;
    gint64 hits;
    const char* referer;
  } expected[] = {{"browser.html", 2, ""}, {"webapp.html", 2, "http://127.0.0.1/from-the-banner"},
                  {"video.html", 3, "caf\uFFFD"}};
  for (const auto& e : expected) {
    SCOPED_TRACE(e.page);
    EXPECT_EQ(s.integer({"landing", e.page, "hits"}), e.hits);
    JsonNode* referer = s.at({"landing", e.page, "referer"});
    ASSERT_TRUE(referer && JSON_NODE_HOLDS_VALUE(referer));
    EXPECT_STREQ(json_node_get_string(referer), e.referer);
  }
  EXPECT_EQ(json_object_get_size(json_node_get_object(s.at({"landing"}))), 3u) << "only pages that were served";
  EXPECT_NE(http_.get(sandbox_.ad() + "/").body.find("from-the-banner"), std::string::npos) << "on the dashboard";

  EXPECT_EQ(http_.get(sandbox_.ad() + "/control/reset").status, 200u);
  EXPECT_EQ(json_object_get_size(json_node_get_object(stats()->at({"landing"}))), 0u);
}

TEST_F(ControlAndStats, StopsCleanlyOnSigterm) {
  EXPECT_TRUE(sandbox_.stop()) << "exit status 0 within 5 s";
}

// A slow answer still held when the sandbox stops is answered, not dropped with the connection.
TEST_F(ControlAndStats, AHeldAnswerIsAnsweredWhenItStops) {
  ASSERT_EQ(http_.get(sandbox_.ad() + "/control/next?creative=slow&delay_ms=60000").status, 200u);
  RawSocket socket(sandbox_.adPort());
  ASSERT_TRUE(socket.send(std::string("GET /ad?") + kSlot + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"));
  // The request is counted when its answer is put on hold.
  gint64 deadline = g_get_monotonic_time() + 5 * G_USEC_PER_SEC;
  while (stats()->integer({"ad_requests"}) < 1 && g_get_monotonic_time() < deadline) g_usleep(10000);
  ASSERT_EQ(stats()->integer({"ad_requests"}), 1);

  gint64 started = g_get_monotonic_time();
  EXPECT_TRUE(sandbox_.stop()) << "exit status 0 within 5 s";
  auto reply = socket.receive(3000);
  EXPECT_EQ(reply.status(), 503) << reply.bytes;
  EXPECT_NE(reply.bytes.find("Connection: close"), std::string::npos) << reply.bytes;
  EXPECT_TRUE(reply.closed);
  EXPECT_LT((g_get_monotonic_time() - started) / 1000, 5000);
}

TEST(SandboxCommandLine, HelpNamesEveryCreativeAndBadArgumentsFail) {
  g_autofree char* out = nullptr;
  int status = -1;
  const char* help[] = {ASHENMOOR_SANDBOX_BIN, "--help", nullptr};
  ASSERT_TRUE(g_spawn_sync(nullptr, const_cast<char**>(help), nullptr, G_SPAWN_STDERR_TO_DEV_NULL, nullptr, nullptr,
                           &out, nullptr, &status, nullptr));
  EXPECT_TRUE(g_spawn_check_wait_status(status, nullptr));
  std::string text = out;
  for (const char* word : {"--content-port", "--static-port", "--ad-port", "/control/next", "/stats.json",
                           "msg-open-webapp-html", "not-utf8", "sandbox_creative", "ready content="}) {
    EXPECT_NE(text.find(word), std::string::npos) << word;
  }
  const char* bad[] = {ASHENMOOR_SANDBOX_BIN, "--ad-port", "70000", nullptr};
  ASSERT_TRUE(g_spawn_sync(nullptr, const_cast<char**>(bad), nullptr,
                           GSpawnFlags(G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL), nullptr, nullptr,
                           nullptr, nullptr, &status, nullptr));
  EXPECT_FALSE(g_spawn_check_wait_status(status, nullptr));
}

}  // namespace
