// The bridge's center: posting page messages to observers (at once and on a later run-loop
// pass), matching by name and sending web view, and native-to-page script calls.
#include "sdk/notification/GADNotificationCenter.h"

#include <gtest/gtest.h>

#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimUIWebView.h"
#include "platform/ui/WebView.h"
#include "sdk/encoding/GAD_SBJSON.h"

namespace {

struct Heard {
  std::string name;
  const void* sender;
  pf::Value userInfo;
};

class GADNotificationCenterTest : public ::testing::Test {
 protected:
  pf::SimEnvironment sim;
  GADNotificationCenter center;
  std::vector<Heard> heard;
  std::shared_ptr<pf::WebView> webA = pf::WebView::create(pf::Rect(0, 0, 320, 50));

  static pf::Url url(const char* text) { return *pf::Url::parse(text); }

  // Records what an observer registered for `name` and `sender` hears.
  void listen(std::string_view name, const void* sender) {
    center.addObserver(this, name, sender, [this](const pf::Notification& n) {
      heard.push_back({n.name(), n.sender(), n.userInfo()});
    });
  }
};


TEST_F(GADNotificationCenterTest, APostedMessageCarriesNameWebViewAndParameters) {
  std::shared_ptr<pf::WebView> objectSeen;
  center.addObserver(this, "loadAdURL", webA.get(), [&](const pf::Notification& n) {
    objectSeen = n.objectAs<pf::WebView>();
    heard.push_back({n.name(), n.sender(), n.userInfo()});
  });
  center.postNotificationFromURLObject(url("gmsg://x/loadAdURL?url=http%3A%2F%2Fad%2F&type=1"), webA);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].name, "loadAdURL");
  EXPECT_EQ(heard[0].userInfo, pf::Value::dictionary({{"url", "http://ad/"}, {"type", "1"}}));
  EXPECT_EQ(objectSeen, webA);
}

TEST_F(GADNotificationCenterTest, AURLThatYieldsNoMessagePostsNothing) {
  listen("", nullptr);  // every name, every sender
  center.postNotificationFromURLObject(url("gmsg://x"), webA);  // which URLs yield none: GADNotificationTest
  center.postNotificationFromURLObjectWithDelay(url("gmsg://x"), webA, 0.0);  // dropped when due
  sim.clock().runUntilIdle();
  EXPECT_TRUE(heard.empty());
  center.postNotificationFromURLObject(url("rodud://closecanvas"), webA);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].name, "close");
  EXPECT_TRUE(heard[0].userInfo.isNull());  // no parameters: no user info
}

TEST_F(GADNotificationCenterTest, TheDefaultCenterIsOneInstanceApartFromThePlatformsCenter) {
  auto& bridge = GADNotificationCenter::defaultCenter();
  int onBridge = 0, onPlatform = 0;
  bridge.addObserver(this, "close", nullptr, [&](const pf::Notification&) { ++onBridge; });
  pf::NotificationCenter::defaultCenter().addObserver(this, "close", nullptr,
                                                      [&](const pf::Notification&) { ++onPlatform; });
  bridge.postNotificationFromURLObject(url("rodud://closecanvas"), webA);
  bridge.removeObserver(this);
  pf::NotificationCenter::defaultCenter().removeObserver(this);
  EXPECT_EQ(onBridge, 1);
  EXPECT_EQ(onPlatform, 0);
}


TEST_F(GADNotificationCenterTest, ADelayedPostingWaitsForItsDelayAndKeepsOrder) {
  listen("", nullptr);
  center.postNotificationFromURLObjectWithDelay(url("gmsg://x/late"), webA, 0.5);
  center.postNotificationFromURLObjectWithDelay(url("gmsg://x/first"), webA, 0.0);
  center.postNotificationFromURLObjectWithDelay(url("gmsg://x/second"), nullptr, 0.0);
  sim.clock().advance(0.4);
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].name, "first");
  EXPECT_EQ(heard[1].name, "second");
  EXPECT_EQ(heard[1].sender, nullptr);
  sim.clock().advance(0.1);
  ASSERT_EQ(heard.size(), 3u);
  EXPECT_EQ(heard[2].name, "late");
}

// A web view delegate that forwards every message URL with delay 0, as the base delegate does.
class ForwardingDelegate : public pf::WebViewDelegate {
 public:
  explicit ForwardingDelegate(GADNotificationCenter& center) : center_(center) {}
  ~ForwardingDelegate() override { pf::RunLoop::main().cancelPendingCalls(this); }
  bool webViewShouldStartLoadWithRequest(const std::shared_ptr<pf::WebView>& view,
                                         const pf::URLRequest& request, pf::WebViewNavigationType) override {
    center_.postNotificationFromURLObjectWithDelay(request.url(), view, 0.0, this);
    returned = false;
    return false;
  }
  bool returned = true;

 private:
  GADNotificationCenter& center_;
};

TEST_F(GADNotificationCenterTest, AMessageFromAPageReachesItsObserverAfterTheDelegateReturns) {
  auto delegate = std::make_shared<ForwardingDelegate>(center);
  webA->setDelegate(delegate);
  bool returnedFirst = false;
  center.addObserver(this, "loadAdURL", webA.get(),
                     [&](const pf::Notification&) { returnedFirst = delegate->returned; heard.push_back({}); });
  // The sim clears `returned` in the decision and sets it once the page's navigation is done.
  EXPECT_FALSE(pf::SimUIWebView::of(*webA)->navigate("gmsg://x/loadAdURL?url=a",
                                                    pf::WebViewNavigationType::Other));
  EXPECT_TRUE(heard.empty());
  delegate->returned = true;
  sim.clock().runUntilIdle();
  EXPECT_EQ(heard.size(), 1u);
  EXPECT_TRUE(returnedFirst);
}

TEST_F(GADNotificationCenterTest, PostingsAreCancelledWithTheirOwner) {
  listen("", nullptr);
  auto delegate = std::make_shared<ForwardingDelegate>(center);
  webA->setDelegate(delegate);
  pf::SimUIWebView::of(*webA)->navigate("gmsg://x/loadAdURL", pf::WebViewNavigationType::Other);
  center.postNotificationFromURLObjectWithDelay(url("gmsg://x/unowned"), webA, 0.0);
  delegate.reset();  // its destructor cancels what it scheduled
  sim.clock().runUntilIdle();
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].name, "unowned");

  // Without an owner the center is the owner.
  center.postNotificationFromURLObjectWithDelay(url("gmsg://x/dropped"), webA, 0.0);
  pf::RunLoop::main().cancelPendingCalls(&center);
  sim.clock().runUntilIdle();
  EXPECT_EQ(heard.size(), 1u);
}

TEST_F(GADNotificationCenterTest, APostingKeepsItsWebViewUntilItFires) {
  listen("", nullptr);
  auto webB = pf::WebView::create(pf::Rect(0, 0, 320, 50));
  std::weak_ptr<pf::WebView> weak = webB;
  const void* identity = webB.get();
  center.postNotificationFromURLObjectWithDelay(url("gmsg://x/settings"), webB, 0.0);
  webB.reset();
  EXPECT_FALSE(weak.expired());
  sim.clock().runUntilIdle();
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].sender, identity);
  EXPECT_TRUE(weak.expired());  // let go once delivered
}

TEST_F(GADNotificationCenterTest, APostingOutlivedByNoCenterIsDropped) {
  int calls = 0;
  {
    GADNotificationCenter local;
    local.addObserver(this, "", nullptr, [&](const pf::Notification&) { ++calls; });
    local.postNotificationFromURLObjectWithDelay(url("gmsg://x/a"), webA, 0.0);
    local.postNotificationFromURLObjectWithDelay(url("gmsg://x/b"), webA, 0.0, this);  // other owner
  }
  sim.clock().runUntilIdle();  // would touch the destroyed center (ASan) if not dropped
  EXPECT_EQ(calls, 0);
}


TEST_F(GADNotificationCenterTest, ThePageRunsTheCallAndItsAnswerIsIgnored) {
  center.postJSNotificationUserInfoWebView("onhide", std::nullopt, webA);
  center.postJSNotificationUserInfoWebView("onshow", pf::Value::dictionary(), webA);
  center.postJSNotificationUserInfoWebView("onhide", std::nullopt, nullptr);  // no web view, no script
  auto* page = pf::SimUIWebView::of(*webA);
  EXPECT_EQ(page->evaluatedScripts(),
            (std::vector<std::string>{"VIZE_ReceiveMessage('onhide');", "VIZE_ReceiveMessage('onshow', {});"}));
  EXPECT_TRUE(page->answerScript(std::nullopt));  // whatever it is
  EXPECT_TRUE(page->answerScript("1"));
}

// A name cannot break out of its string literal: quotes, backslashes, line ends (U+2028 and
// U+2029 end lines in older engines' literals) are escaped; malformed UTF-8 becomes U+FFFD.
// User info the writer refuses leaves the argument empty.
TEST(GADNotificationCenterScript, TheCallIsAlwaysOneWellFormedStatement) {
  static const struct {
    const char* name;
    std::optional<pf::Value> userInfo;
    const char* script;
  } kCases[] = {
      {"a');alert(1);//", std::nullopt, "VIZE_ReceiveMessage('a\\');alert(1);//');"},
      {"\\'", std::nullopt, "VIZE_ReceiveMessage('\\\\\\'');"},
      {"l1\nl2\r\"\t\x01\x7f", std::nullopt, "VIZE_ReceiveMessage('l1\\nl2\\r\\\"\\t\\x01\\x7F');"},
      {"a\u2028b\u2029c", std::nullopt, "VIZE_ReceiveMessage('a\\u2028b\\u2029c');"},
      {"\xC3\xA9\xF0\x9F\x98\x80", std::nullopt, "VIZE_ReceiveMessage('\xC3\xA9\xF0\x9F\x98\x80');"},
      {"\xE2\x80", std::nullopt, "VIZE_ReceiveMessage('\\uFFFD\\uFFFD');"},
      {"\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80", std::nullopt,
       "VIZE_ReceiveMessage('\\uFFFD\\uFFFD\\uFFFD\\uFFFD\\uFFFD\\uFFFD\\uFFFD\\uFFFD\\uFFFD');"},
      {"x", pf::Value::dictionary({{"when", pf::Value::date(0)}}), "VIZE_ReceiveMessage('x', );"},  // no JSON form
      {"x", pf::Value("scalar"), "VIZE_ReceiveMessage('x', );"},
      {"openableURLs", pf::Value::dictionary({{"tel:1", false}, {"http://a.example/", true}}),
       "VIZE_ReceiveMessage('openableURLs', {\"http://a.example/\":true,\"tel:1\":false});"},
  };
  for (const auto& c : kCases) EXPECT_EQ(GADNotificationCenter::javaScriptForMessage(c.name, c.userInfo), c.script) << c.name;
}

TEST(GADNotificationCenterScript, HostileUserInfoStaysInsideItsJSONObject) {
  pf::Value info = pf::Value::dictionary({
      {"result", "'); alert(1); ('\" \\ </script>\n"},
      {"k\u2028\"", "sep\u2029"},
  });
  std::string js = GADNotificationCenter::javaScriptForMessage("evalJavaScriptInOpenerResult", info);
  const std::string head = "VIZE_ReceiveMessage('evalJavaScriptInOpenerResult', ";
  ASSERT_EQ(js.substr(0, head.size()), head);
  ASSERT_EQ(js.substr(js.size() - 2), ");");
  std::string json = js.substr(head.size(), js.size() - head.size() - 2);
  EXPECT_EQ(json.find("\u2028"), std::string::npos);
  EXPECT_EQ(json.find("\u2029"), std::string::npos);
  EXPECT_EQ(json.find('\n'), std::string::npos);
  // The argument is exactly one JSON object, and it is the user info.
  EXPECT_EQ(GAD_SBJSON().objectWithStringError(json), info);
}

}  // namespace
