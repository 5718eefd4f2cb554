// A WebKitGTK web view behind pf::WebView in the phone-sized window: loads from a libsoup
// server on 127.0.0.1, a real pointer click on a link, a script's message navigation, an
// HTML string with a base URL, asynchronous script results.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DesktopHarness.h"
#include "LoopbackServer.h"
#include "platform/gtk/GtkWindowPeer.h"
#include "platform/ui/Application.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"

namespace {

// The top 120 points of the page are one link: a click there is a click on it.
const char kPage[] = R"(<!doctype html><html><head><title>Page</title>
<meta name="viewport" content="width=320">
<style>body{margin:0;font:16px sans-serif;background:#f4efe6;color:#2f3e46}
#link{position:absolute;left:0;top:0;width:320px;height:120px;display:block;background:#2f3e46;color:#fff;
text-decoration:none;font-size:22px;line-height:120px;text-align:center}
p{margin:140px 12px 0}</style></head>
<body><a id="link" href="/next.html">Next episode &#x25B8;</a>
<p>Ashenmoor: the moor, the house, the fog. This page is served on 127.0.0.1.</p></body></html>)";

const char kNext[] = R"(<!doctype html><html><head><title>Next</title></head>
<body style="margin:0;background:#d9480f;color:white;font:20px sans-serif"><h1>Episode 2</h1></body></html>)";

// A web view that notes the touches its hit test sees, as the banner's does.
class TouchNotingWebView : public pf::WebView {
 public:
  static std::shared_ptr<TouchNotingWebView> create(const pf::Rect& frame) {
    return std::shared_ptr<TouchNotingWebView>(new TouchNotingWebView(frame));
  }
  std::shared_ptr<pf::View> hitTest(pf::Point point, const pf::Event* event) override {
    auto hit = WebView::hitTest(point, event);
    if (hit && event && event->type() == pf::Event::Type::Touches) ++touches;
    return hit;
  }
  int touches = 0;

 protected:
  explicit TouchNotingWebView(const pf::Rect& frame) : WebView(frame) {}
};

struct Decision {
  std::string url;
  pf::WebViewNavigationType type;
  int touchesBefore;
  std::optional<std::string> userAgent;
};

// Refuses message URLs ("gmsg"), as the ad layer's delegate does; records everything.
class RecordingDelegate : public pf::WebViewDelegate {
 public:
  bool webViewShouldStartLoadWithRequest(const std::shared_ptr<pf::WebView>& view, const pf::URLRequest& request,
                                         pf::WebViewNavigationType type) override {
    auto* noting = dynamic_cast<TouchNotingWebView*>(view.get());
    decisions.push_back({request.url().absoluteString(), type, noting ? noting->touches : -1,
                         request.valueForHTTPHeaderField("User-Agent")});
    return request.url().scheme() != "gmsg";
  }
  void webViewDidStartLoad(const std::shared_ptr<pf::WebView>&) override { ++starts; }
  void webViewDidFinishLoad(const std::shared_ptr<pf::WebView>&) override { ++finishes; }
  void webViewDidFailLoadWithError(const std::shared_ptr<pf::WebView>&, const pf::Error& e) override {
    errors.push_back(e);
  }

  std::vector<Decision> decisions;
  int starts = 0;
  int finishes = 0;
  std::vector<pf::Error> errors;
};

class GtkWebViewPeerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The two pages; anything else (a picture) is the server's 404, but counted.
    for (auto [path, page] : {std::pair{"/page.html", kPage}, {"/next.html", kNext}})
      server_.answer(path, 200, page, {{"Content-Type", "text/html; charset=utf-8"}});
    pf::Application::resetSharedApplication();
    window_ = pf::Window::create();
    web_ = TouchNotingWebView::create(pf::Rect(0, 20, 320, 411));
    web_->setDelegate(delegate_);
    window_->addSubview(web_);
    peer_ = DesktopHarness::show(*window_, "Ashenmoor e2e web view");
    ASSERT_NE(peer_, nullptr);
  }
  void TearDown() override {
    web_.reset();
    window_.reset();
    DesktopHarness::settle(50);
  }

  bool loadAndWait(const std::string& path) {
    int before = delegate_->finishes;
    web_->loadRequest(pf::URLRequest(*pf::Url::parse(server_.url(path))));
    return DesktopHarness::spin([&] { return delegate_->finishes > before; }, 15000);
  }

  std::optional<std::string> evaluate(const std::string& script) {
    bool done = false;
    std::optional<std::string> result;
    web_->evaluateJavaScript(script, [&](std::optional<std::string> r) {
      result = std::move(r);
      done = true;
    });
    EXPECT_TRUE(DesktopHarness::spin([&] { return done; }, 5000)) << script;
    return result;
  }

  LoopbackServer server_;
  std::shared_ptr<RecordingDelegate> delegate_ = std::make_shared<RecordingDelegate>();
  std::shared_ptr<pf::Window> window_;
  std::shared_ptr<TouchNotingWebView> web_;
  pf::GtkWindowPeer* peer_ = nullptr;
};

TEST_F(GtkWebViewPeerTest, APointerClickOnALinkIsHitTestedAsATouchThenDecidedAsLinkClicked) {
  ASSERT_TRUE(loadAndWait("/page.html"));
  DesktopHarness::settle(300);  // the web process has laid out and painted the link
  auto shot = DesktopHarness::snapshot(GTK_WIDGET(peer_->gtkWindow()), "webview-page");
  EXPECT_TRUE(shot.saved) << shot.error;
  EXPECT_GT(shot.colours, 3u) << "the page looks blank";
  delegate_->decisions.clear();
  int touches = web_->touches;

  // The link covers the page's top 120 points; the page starts 20 points down the window.
  ASSERT_TRUE(DesktopHarness::click(peer_->gtkWindow(), peer_->surfacePoint({160, 80})));
  ASSERT_TRUE(DesktopHarness::spin([&] { return !delegate_->decisions.empty(); }, 5000));
  const Decision& d = delegate_->decisions.front();
  EXPECT_EQ(d.url, server_.url("/next.html"));
  EXPECT_EQ(d.type, pf::WebViewNavigationType::LinkClicked);
  EXPECT_GT(d.touchesBefore, touches) << "the view's hit test saw no touch before the decision";
  // Allowed: the link loads.
  ASSERT_TRUE(DesktopHarness::spin([&] { return delegate_->finishes >= 2; }, 10000));
  EXPECT_EQ(evaluate("document.title"), "Next");
  EXPECT_EQ(web_->request()->url().absoluteString(), server_.url("/next.html"));
  ASSERT_TRUE(d.userAgent.has_value());
  EXPECT_NE(d.userAgent->find("AppleWebKit"), std::string::npos) << *d.userAgent;
}

TEST_F(GtkWebViewPeerTest, AScriptNavigationToAMessageURLIsTypeOtherAndRefused) {
  ASSERT_TRUE(loadAndWait("/page.html"));
  delegate_->decisions.clear();
  int starts = delegate_->starts;
  evaluate("window.location.href = 'gmsg://mobileads.example/loadAdURL?url=x'; 'sent'");
  ASSERT_TRUE(DesktopHarness::spin([&] { return !delegate_->decisions.empty(); }, 5000));
  EXPECT_EQ(delegate_->decisions[0].url, "gmsg://mobileads.example/loadAdURL?url=x");
  EXPECT_EQ(delegate_->decisions[0].type, pf::WebViewNavigationType::Other);
  EXPECT_EQ(delegate_->decisions[0].touchesBefore, 0);
  DesktopHarness::settle(200);
  // Refused: nothing started, the page is still there and answers.
  EXPECT_EQ(delegate_->starts, starts);
  EXPECT_TRUE(delegate_->errors.empty());
  EXPECT_EQ(evaluate("document.title"), "Page");
  EXPECT_EQ(web_->request()->url().absoluteString(), server_.url("/page.html"));
}

// The view decides its own loads (a request, an HTML string against its base URL or without
// one): the engine's decision for them must not ask again. Each starts and finishes once.
TEST_F(GtkWebViewPeerTest, OwnLoadsAreDecidedOnceAndStartAndFinishOnce) {
  ASSERT_TRUE(loadAndWait("/page.html"));
  ASSERT_EQ(delegate_->decisions.size(), 1u);
  EXPECT_EQ(delegate_->decisions[0].type, pf::WebViewNavigationType::Other);
  EXPECT_EQ(evaluate("document.title"), "Page");
  std::string base = server_.url("/sub/");
  web_->loadHTMLString("<html><head><title>From a string</title></head><body><img src='pixel.png'></body></html>",
                       pf::Url::parse(base));
  ASSERT_TRUE(DesktopHarness::spin([&] { return delegate_->finishes == 2; }, 10000));
  EXPECT_EQ(evaluate("document.title"), "From a string");
  EXPECT_EQ(evaluate("document.baseURI"), base);
  EXPECT_GE(server_.requestsFor("/sub/pixel.png"), 1u) << "the relative image did not resolve against the base";
  // No base: about:blank, and the page still loads.
  web_->loadHTMLString("<title>Blank base</title>", std::nullopt);
  ASSERT_TRUE(DesktopHarness::spin([&] { return delegate_->finishes == 3; }, 10000));
  EXPECT_EQ(evaluate("document.title"), "Blank base");
  EXPECT_EQ(delegate_->decisions.size(), 3u);
  EXPECT_EQ(delegate_->starts, 3);
  EXPECT_EQ(delegate_->finishes, 3);
  EXPECT_TRUE(delegate_->errors.empty());
  EXPECT_FALSE(web_->isLoading());
}

// Several scripts at once: each answer, as text, reaches its own call.
TEST_F(GtkWebViewPeerTest, ScriptResultsComeBackAsTextEachToItsOwnCall) {
  ASSERT_TRUE(loadAndWait("/page.html"));
  const std::pair<const char*, std::optional<std::string>> kCases[] = {
      {"1 + 2", "3"}, {"document.getElementById('link').textContent.length > 0", "true"},
      {"undefined", ""}, {"throw new Error('no')", std::nullopt}, {"'last'", "last"}};
  std::vector<std::optional<std::string>> results, expected;
  for (const auto& [script, result] : kCases) {
    web_->evaluateJavaScript(script, [&](auto r) { results.push_back(r); });
    expected.push_back(result);
  }
  EXPECT_TRUE(results.empty()) << "answered inside the call";
  ASSERT_TRUE(DesktopHarness::spin([&] { return results.size() == expected.size(); }, 5000));
  EXPECT_EQ(results, expected);
}

// A load that fails ends once, with a URL error when nothing answers and with the engine's
// policy error for a URL it cannot show, and no engine error page finishes loading after it.
TEST_F(GtkWebViewPeerTest, AFailedLoadEndsOnceWithItsErrorAndShowsNoEnginePage) {
  const struct {
    std::string url;
    const char* domain;
    long code;
  } kCases[] = {
      {"http://127.0.0.1:" + std::to_string(LoopbackServer::unusedPort()) + "/nothing.html", "NSURLErrorDomain", -1004},
      {"nosuchscheme://127.0.0.1/x", "WebKitErrorDomain", 101},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.url);
    delegate_->errors.clear();
    const int starts = delegate_->starts;
    web_->loadRequest(pf::URLRequest(*pf::Url::parse(c.url)));
    ASSERT_TRUE(DesktopHarness::spin([&] { return !delegate_->errors.empty(); }, 10000));
    DesktopHarness::settle(300);
    ASSERT_EQ(delegate_->errors.size(), 1u);
    EXPECT_EQ(delegate_->errors[0].domain(), c.domain);
    EXPECT_EQ(delegate_->errors[0].code(), c.code) << delegate_->errors[0].description();
    EXPECT_EQ(delegate_->starts, starts + 1);
    EXPECT_EQ(delegate_->finishes, 0) << "an engine error page finished loading";
    EXPECT_FALSE(web_->isLoading());
  }
}

// Lets the view go inside its own navigation decision (a delegate closing its screen).
class ClosingDelegate : public RecordingDelegate {
 public:
  bool webViewShouldStartLoadWithRequest(const std::shared_ptr<pf::WebView>& view, const pf::URLRequest& request,
                                         pf::WebViewNavigationType type) override {
    RecordingDelegate::webViewShouldStartLoadWithRequest(view, request, type);
    if (request.url().path() != "/next.html") return true;
    view->removeFromSuperview();
    if (holder) holder->reset();
    return true;
  }
  std::shared_ptr<TouchNotingWebView>* holder = nullptr;
};

TEST_F(GtkWebViewPeerTest, AViewLetGoInsideItsDecisionEndsQuietlyAndItsNavigationDoesNotHappen) {
  auto closing = std::make_shared<ClosingDelegate>();
  closing->holder = &web_;
  web_->setDelegate(closing);
  web_->loadRequest(pf::URLRequest(*pf::Url::parse(server_.url("/page.html"))));
  ASSERT_TRUE(DesktopHarness::spin([&] { return closing->finishes == 1; }, 10000));
  web_->evaluateJavaScript("location.href = '/next.html'; 1", nullptr);
  ASSERT_TRUE(DesktopHarness::spin([&] { return closing->decisions.size() == 2; }, 5000));
  EXPECT_EQ(web_, nullptr);
  DesktopHarness::settle(500);
  EXPECT_EQ(server_.requestsFor("/next.html"), 0u) << "the page went on loading for a view that is gone";
  EXPECT_EQ(closing->starts, 1);
}

TEST_F(GtkWebViewPeerTest, TheViewGoingAwayMidScriptAndMidLoadIsQuiet) {
  bool called = false;
  web_->loadRequest(pf::URLRequest(*pf::Url::parse(server_.url("/page.html"))));
  web_->evaluateJavaScript("new Promise(r => setTimeout(() => r(1), 200))", [&](auto) { called = true; });
  web_->removeFromSuperview();
  // The peer goes; the engine still answers the script and ends the load: nothing may reach it.
  web_.reset();
  DesktopHarness::settle(500);
  EXPECT_FALSE(called);
}

}  // namespace
