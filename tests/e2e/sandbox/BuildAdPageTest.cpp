// The ad core script in the real web view (WebKitGTK behind pf::WebView, in a window) as the
// application runs it: the build-ad page on the ad server's base URL, the message URL it
// navigates to, read with the application's parser, and the ad URL the sandbox then takes.
#include <gtest/gtest.h>

#include <map>

#include "DesktopHarness.h"
#include "DesktopNetTest.h"
#include "SandboxProcess.h"
#include "TestData.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "sdk/encoding/GAD_SBJSON.h"
#include "sdk/notification/GADNotification.h"
#include "sdk/utility/GADNetworkUtilities.h"

namespace {

// A parameter object like the application's (tests/testdata/build-ad-params.tsv), each value
// as JSON text the way JSON.stringify writes it back, so objects and arrays compare as text.
std::map<std::string, std::string> appParams() {
  std::map<std::string, std::string> params;
  for (const auto& row : test_data::rows("build-ad-params.tsv")) params[row[0]] = row[1];
  return params;
}

std::string objectText(const std::map<std::string, std::string>& params) {
  std::string json = "{";
  for (const auto& [key, value] : params) json += (json.size() > 1 ? ",\"" : "\"") + key + "\":" + value;
  return json + "}";
}

// What the ad URL must carry for a JSON value: strings without their quotes (and escapes
// undone), everything else as its JSON text.
std::string expectedText(const std::string& json) {
  if (json.size() < 2 || json.front() != '"') return json;
  return GAD_SBJSON().objectWithStringAllowScalarError(json, true)->stringRef();
}

// Records the message URLs the page navigates to and refuses them, as the application does.
class MessageCatcher : public pf::WebViewDelegate {
 public:
  bool webViewShouldStartLoadWithRequest(const std::shared_ptr<pf::WebView>&, const pf::URLRequest& request,
                                         pf::WebViewNavigationType) override {
    if (!GADNotification::isNotificationURL(request.url())) return true;
    messages.push_back(request.url());
    return false;
  }
  std::vector<pf::Url> messages;
};

class BuildAdPage : public DesktopNetTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sandbox_.ready());
    auto script = fetch(sandbox_.statics() + "/vize/sdk-core-v40.js");
    ASSERT_EQ(script.status, 200);
    script_ = script.body;
    window_ = pf::Window::create();
    web_ = pf::WebView::create(pf::Rect(0, 0, 320, 50));
    web_->setDelegate(catcher_);
    window_->addSubview(web_);
    window_->makeKeyAndVisible();
  }
  void TearDown() override {
    web_.reset();
    window_.reset();
    DesktopHarness::settle(50);
    DesktopNetTest::TearDown();
  }

  // The build-ad page exactly as the application composes it: one message comes back,
  // nothing after it.
  std::shared_ptr<GADNotification> build(const std::string& json) {
    catcher_->messages.clear();
    web_->loadHTMLString("<html><head><script>" + script_ + "</script><script>VIZE_buildAdURL(" + json +
                             ");</script></head><body></body></html>",
                         pf::Url::parse(sandbox_.ad()));
    DesktopHarness::spin([&] { return !catcher_->messages.empty(); }, 15000);
    DesktopHarness::settle(300);
    EXPECT_EQ(catcher_->messages.size(), 1u);
    if (catcher_->messages.empty()) return GADNotification::create("(none)", pf::Value::dictionary());
    EXPECT_EQ(catcher_->messages[0].scheme(), "gmsg");
    auto message = GADNotification::notificationFromURL(catcher_->messages[0]);
    EXPECT_TRUE(message);
    return message ? message : GADNotification::create("(unreadable)", pf::Value::dictionary());
  }
  std::string param(const std::shared_ptr<GADNotification>& m, const char* key) {
    return m->parameters()[key].asString().value_or("");
  }

  SandboxProcess sandbox_;
  std::string script_;
  std::shared_ptr<MessageCatcher> catcher_ = std::make_shared<MessageCatcher>();
  std::shared_ptr<pf::Window> window_;
  std::shared_ptr<pf::WebView> web_;
};

TEST_F(BuildAdPage, LoadAdUrlCarriesEveryParameter) {
  auto message = build(objectText(appParams()));
  EXPECT_EQ(message->name(), "loadAdURL");
  EXPECT_EQ(param(message, "type"), "html");
  EXPECT_FALSE(message->parameters().contains("errors"));
  const std::string url = param(message, "url");
  ASSERT_EQ(url.rfind(sandbox_.ad() + "/ad?", 0), 0u) << url;
  auto query = GADNetworkUtilities::dictionaryFromQueryString(url.substr(url.find('?') + 1));
  EXPECT_EQ(query.size(), appParams().size());
  for (const auto& [key, json] : appParams()) EXPECT_EQ(query[key].asString(), expectedText(json)) << key;
  // The server takes the URL as built.
  auto answer = fetch(url);
  EXPECT_EQ(answer.status, 200);
  EXPECT_NE(answer.header("X-Vize-Tracking-Urls"), "");
}

TEST_F(BuildAdPage, ExtrasSelectTheGwhirlRoadAndACreative) {
  auto params = appParams();
  params["extras"] = "{\"sandbox_type\":\"gwhirl\",\"sandbox_creative\":\"nofill\"}";
  auto message = build(objectText(params));
  EXPECT_EQ(message->name(), "loadAdURL");
  EXPECT_EQ(param(message, "type"), "gwhirl");
  const std::string url = param(message, "url");
  EXPECT_EQ(GADNetworkUtilities::dictionaryFromQueryString(url.substr(url.find('?') + 1))["creative"], pf::Value("nofill"));
  // The application appends the sequence number for this road.
  auto answer = fetch(url + "&seq_num=1");
  EXPECT_EQ(answer.status, 200);
  EXPECT_EQ(answer.body.find_first_not_of(" \t\r\n"), std::string::npos);
}

TEST_F(BuildAdPage, FailuresAnswerWithErrorsInvalidRequestOrUnableToServe) {
  auto without = [](std::initializer_list<const char*> keys, std::map<std::string, std::string> more = {}) {
    auto params = appParams();
    for (const char* key : keys) params.erase(key);
    for (auto& [key, value] : more) params[key] = value;
    return objectText(params);
  };
  const struct {
    std::string json;
    const char* name;
    const char* errorsNaming;  // nullptr: no "errors"
  } kCases[] = {
      {without({"slotname"}), "loadAdURL", "slotname"},
      {without({}, {{"ad_frame", "{\"x\":0,\"y\":\"365\",\"w\":320}"}}), "loadAdURL", "ad_frame"},
      {"\"not an object\"", "loadAdURL", ""},
      {without({"ad_frame", "ad_bounds"}, {{"format", "\"interstitial_mb\""}}), "unableToServe", nullptr},
      {without({}, {{"format", "\"skyscraper\""}}), "invalidRequest", nullptr},
      {without({}, {{"extras", "{\"sandbox_reply\":\"unableToServe\"}"}}), "unableToServe", nullptr},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.json.substr(0, 60));
    auto message = build(c.json);
    EXPECT_EQ(message->name(), c.name);
    EXPECT_EQ(message->parameters().contains("errors"), c.errorsNaming != nullptr);
    if (c.errorsNaming) {
      EXPECT_NE(param(message, "errors").find(c.errorsNaming), std::string::npos);
      EXPECT_FALSE(message->parameters().contains("url"));
    }
  }
}

}  // namespace
