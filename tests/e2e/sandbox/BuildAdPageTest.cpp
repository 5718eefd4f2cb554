#include "HttpClient.h"
#include "JsonDoc.h"
#include "MessageUrlParts.h"
#include "SandboxProcess.h"
#include "WebViewHarness.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A parameter object like the application's, written the way JSON.stringify writes it
// back, so objects and arrays can be compared as text.
const std::map<std::string, std::string> kParams = {
    {"preqs", "3"},
    {"session_id", "2315574001"},
    {"js", "\"vize-sdk-i-v4.1.1\""},
    {"net", "\"wi\""},
    {"hl", "\"en_GB\""},
    {"u_audio", "\"1\""},
    {"u_so", "\"p\""},
    {"u_sd", "\"1\""},
    {"u_w", "\"320\""},
    {"u_h", "\"480\""},
    {"app_name", "\"1.0.iphone.org.ashenmoor.app\""},
    {"isu", "\"8B2F94A1C3D0E7F6A5B4C3D2E1F0A9B8\""},
    {"platform", "\"iPhone\""},
    {"submodel", "\"iPhone3,1\""},
    {"uule", "\"w+CAIQICIaQXNoZW5tb29y/Q==\""},
    {"cust_age", "\"19840229\""},
    {"ptime", "1520"},
    {"testing", "true"},
    {"ios_metadata", "{}"},
    {"kw", "[\"moor & fog\",\"a=b;c\"]"},
    {"extras", "{\"color_bg\":\"2f3e46\",\"note\":\"caf\u00e9 \\\"quoted\\\"\"}"},
    {"slotname", "\"a15c0f3e82d9b47\""},
    {"ad_frame", "{\"x\":0,\"y\":365,\"w\":320,\"h\":50}"},
    {"ad_bounds", "{\"x\":0,\"y\":0,\"w\":320,\"h\":50}"},
};

std::string objectText(const std::map<std::string, std::string>& params) {
  std::string json = "{";
  for (const auto& [key, value] : params) {
    if (json.size() > 1) json += ",";
    json += "\"" + key + "\":" + value;
  }
  return json + "}";
}

// What the ad URL must carry for a JSON value: strings without their quotes (and
// escapes undone), everything else as its JSON text.
std::string expectedText(const std::string& json) {
  if (json.size() < 2 || json.front() != '"') return json;
  JsonDoc doc("[" + json + "]");
  return json_array_get_string_element(json_node_get_array(doc.root()), 0);
}

class BuildAdPage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sandbox_.ready());
    auto script = http_.get(sandbox_.statics() + "/vize/sdk-core-v40.js");
    ASSERT_EQ(script.status, 200u);
    script_ = script.body;
  }

  // The build-ad page exactly as the application composes it, on the ad server's base URL.
  std::vector<std::string> build(const std::string& json) {
    web_.clearMessages();
    web_.loadHtml("<html><head><script>" + script_ + "</script><script>VIZE_buildAdURL(" + json +
                      ");</script></head><body></body></html>",
                  sandbox_.ad());
    web_.waitForMessages(1);
    // It navigates once: nothing else follows.
    WebViewHarness::spin([] { return false; }, 300);
    return web_.messages();
  }

  MessageUrlParts buildOne(const std::string& json) {
    auto messages = build(json);
    EXPECT_EQ(messages.size(), 1u);
    auto parts = MessageUrlParts::parse(messages.empty() ? "" : messages[0]);
    EXPECT_EQ(parts.dropped, 0);
    EXPECT_EQ(parts.scheme, "gmsg");
    return parts;
  }

  static std::map<std::string, std::string> adQuery(const std::string& url) {
    std::map<std::string, std::string> query;
    auto q = url.find('?');
    if (q == std::string::npos) return query;
    g_auto(GStrv) pieces = g_strsplit(url.substr(q + 1).c_str(), "&", -1);
    for (char** p = pieces; *p; ++p) {
      g_auto(GStrv) kv = g_strsplit(*p, "=", -1);
      EXPECT_EQ(g_strv_length(kv), 2u) << *p;
      if (g_strv_length(kv) != 2) continue;
      g_autofree char* key = g_uri_unescape_string(kv[0], nullptr);
      g_autofree char* value = g_uri_unescape_string(kv[1], nullptr);
      EXPECT_TRUE(key && value) << *p;
      if (key && value) query[key] = value;
    }
    return query;
  }

  SandboxProcess sandbox_;
  HttpClient http_;
  WebViewHarness web_{1, 1};
  std::string script_;
};

TEST_F(BuildAdPage, LoadAdUrlCarriesEveryParameter) {
  auto message = buildOne(objectText(kParams));
  EXPECT_EQ(message.name, "loadAdURL");
  EXPECT_EQ(message.params["type"], "html");
  EXPECT_EQ(message.params.count("errors"), 0u);
  const std::string url = message.params["url"];
  ASSERT_TRUE(g_str_has_prefix(url.c_str(), (sandbox_.ad() + "/ad?").c_str())) << url;

  auto query = adQuery(url);
  EXPECT_EQ(query.size(), kParams.size());
  for (const auto& [key, json] : kParams) {
    ASSERT_TRUE(query.count(key)) << key;
    EXPECT_EQ(query[key], expectedText(json)) << key;
  }

  // The server takes the URL as built, and shows it decoded.
  auto answer = http_.get(url);
  EXPECT_EQ(answer.status, 200u);
  EXPECT_TRUE(answer.has("x-vize-tracking-urls"));
  JsonDoc stats(http_.get(sandbox_.ad() + "/stats.json").body);
  EXPECT_EQ(stats.integer({"ad_requests"}), 1);
}

TEST_F(BuildAdPage, ExtrasSelectTheGwhirlRoadAndACreative) {
  auto params = kParams;
  params["extras"] = "{\"sandbox_type\":\"gwhirl\",\"sandbox_creative\":\"nofill\"}";
  auto message = buildOne(objectText(params));
  EXPECT_EQ(message.name, "loadAdURL");
  EXPECT_EQ(message.params["type"], "gwhirl");
  auto query = adQuery(message.params["url"]);
  EXPECT_EQ(query["creative"], "nofill");
  // The application appends the sequence number for this road.
  auto answer = http_.get(message.params["url"] + "&seq_num=1");
  EXPECT_EQ(answer.status, 200u);
  EXPECT_EQ(answer.body.find_first_not_of(" \t\r\n"), std::string::npos);
}

TEST_F(BuildAdPage, FailuresAnswerWithErrorsInvalidRequestOrUnableToServe) {
  auto noSlot = kParams;
  noSlot.erase("slotname");
  auto missing = buildOne(objectText(noSlot));
  EXPECT_EQ(missing.name, "loadAdURL");
  EXPECT_NE(missing.params["errors"].find("slotname"), std::string::npos);
  EXPECT_EQ(missing.params.count("url"), 0u);

  auto badFrame = kParams;
  badFrame["ad_frame"] = "{\"x\":0,\"y\":\"365\",\"w\":320}";
  auto malformed = buildOne(objectText(badFrame));
  EXPECT_EQ(malformed.name, "loadAdURL");
  EXPECT_NE(malformed.params["errors"].find("ad_frame"), std::string::npos);

  EXPECT_EQ(buildOne("\"not an object\"").params.count("errors"), 1u);

  auto interstitial = kParams;
  interstitial.erase("ad_frame");
  interstitial.erase("ad_bounds");
  interstitial["format"] = "\"interstitial_mb\"";
  auto unable = buildOne(objectText(interstitial));
  EXPECT_EQ(unable.name, "unableToServe");
  EXPECT_EQ(unable.params["slotname"], "a15c0f3e82d9b47");

  auto odd = kParams;
  odd["format"] = "\"skyscraper\"";
  EXPECT_EQ(buildOne(objectText(odd)).name, "invalidRequest");

  auto forced = kParams;
  forced["extras"] = "{\"sandbox_reply\":\"unableToServe\"}";
  EXPECT_EQ(buildOne(objectText(forced)).name, "unableToServe");
}

}  // namespace
