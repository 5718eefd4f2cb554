// The web view on the sim engine: every navigation through the delegate's decision with its
// type, load callbacks, interruption, history, script evaluation order.
#include <gtest/gtest.h>

#include "UIFixture.h"
#include "platform/sim/SimUIBackend.h"
#include "platform/sim/SimUIWebView.h"
#include "platform/ui/Device.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"

namespace {

using pf::WebViewNavigationType;

class RecordingDelegate : public pf::WebViewDelegate {
 public:
  bool webViewShouldStartLoadWithRequest(const std::shared_ptr<pf::WebView>&, const pf::URLRequest& r,
                                         WebViewNavigationType type) override {
    log.push_back("decide " + r.url().absoluteString() + " " + std::to_string(int(type)));
    return r.url().scheme() != "gmsg";
  }
  void webViewDidStartLoad(const std::shared_ptr<pf::WebView>&) override { log.push_back("start"); }
  void webViewDidFinishLoad(const std::shared_ptr<pf::WebView>& v) override {
    log.push_back("finish");
    if (onFinish) onFinish(v);
  }
  void webViewDidFailLoadWithError(const std::shared_ptr<pf::WebView>&, const pf::Error& e) override {
    log.push_back("fail " + std::to_string(e.code()));
  }
  std::vector<std::string> log;
  std::function<void(const std::shared_ptr<pf::WebView>&)> onFinish;
};

class WebViewTest : public uitest::UITest {
 protected:
  void SetUp() override {
    web = pf::WebView::create(pf::Rect(0, 0, 320, 365));
    web->setDelegate(delegate);
    sim = pf::SimUIWebView::of(*web);
    ASSERT_NE(sim, nullptr);
  }
  pf::URLRequest request(const char* url) { return pf::URLRequest(*pf::Url::parse(url)); }
  std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
  std::shared_ptr<pf::WebView> web;
  pf::SimUIWebView* sim = nullptr;
};

TEST_F(WebViewTest, AProgrammaticLoadIsDecidedAtOnceAndStartsOnTheNextPass) {
  web->loadRequest(request("http://site.example/more.html"));
  EXPECT_EQ(delegate->log, Log{"decide http://site.example/more.html 5"});
  EXPECT_FALSE(web->isLoading());
  clock.runUntilIdle();
  EXPECT_TRUE(web->isLoading());
  sim->finishLoad();
  EXPECT_FALSE(web->isLoading());
  EXPECT_EQ(delegate->log, (Log{"decide http://site.example/more.html 5", "start", "finish"}));
  EXPECT_EQ(web->request()->url().absoluteString(), "http://site.example/more.html");
}

TEST_F(WebViewTest, HTMLStringIsDecidedAsItsBaseURLOrAboutBlank) {
  web->loadHTMLString("<p>ad</p>", pf::Url::parse("http://ads.example"));
  web->loadHTMLString("", std::nullopt);
  EXPECT_EQ(delegate->log, (Log{"decide http://ads.example 5", "decide about:blank 5"}));
  EXPECT_EQ(sim->loadedHTML(), "");
  EXPECT_FALSE(sim->baseURL());
}

TEST_F(WebViewTest, PageNavigationsCarryTheirTypeAndARefusalChangesNothing) {
  web->loadRequest(request("http://site.example/a"));
  sim->finishLoad();
  delegate->log.clear();
  EXPECT_FALSE(sim->navigate("gmsg://ads.example/click?u=x", WebViewNavigationType::Other));
  EXPECT_TRUE(sim->navigate("http://site.example/b", WebViewNavigationType::LinkClicked));
  EXPECT_TRUE(sim->navigate(request("http://site.example/c"), WebViewNavigationType::FormSubmitted));
  EXPECT_EQ(delegate->log, (Log{"decide gmsg://ads.example/click?u=x 5", "decide http://site.example/b 0",
                                "decide http://site.example/c 1"}));
  EXPECT_EQ(web->request()->url().absoluteString(), "http://site.example/c");
}

TEST_F(WebViewTest, BackForwardAndReloadGoThroughTheDecisionWithTheirTypes) {
  web->loadRequest(request("http://site.example/a"));
  sim->finishLoad();
  sim->navigate("http://site.example/b");
  sim->finishLoad();
  EXPECT_TRUE(web->canGoBack());
  EXPECT_FALSE(web->canGoForward());
  delegate->log.clear();
  web->goBack();
  sim->finishLoad();
  EXPECT_TRUE(web->canGoForward());
  web->reload();
  sim->finishLoad();
  web->goForward();
  EXPECT_EQ(delegate->log, (Log{"decide http://site.example/a 2", "start", "finish", "decide http://site.example/a 3",
                                "start", "finish", "decide http://site.example/b 2"}));
}

TEST_F(WebViewTest, AnInterruptedLoadFailsCancelledBeforeTheNextStarts) {
  web->loadRequest(request("http://site.example/a"));
  clock.runUntilIdle();
  sim->navigate("http://site.example/b", WebViewNavigationType::Other);
  clock.runUntilIdle();
  web->stopLoading();
  sim->finishLoad();  // too late: already reported
  EXPECT_EQ(delegate->log, (Log{"decide http://site.example/a 5", "start", "decide http://site.example/b 5", "fail -999",
                                "start", "fail -999"}));
  EXPECT_FALSE(web->isLoading());
}

TEST_F(WebViewTest, ARefusedRedirectInterruptsTheLoad) {
  web->loadRequest(request("http://site.example/a"));
  clock.runUntilIdle();
  EXPECT_FALSE(sim->redirect("gmsg://x/y"));
  EXPECT_EQ(delegate->log.back(), "fail 102");
}

TEST_F(WebViewTest, ScriptAnswersComeInRequestOrderAndNeverInsideTheCall) {
  Log answers;
  web->evaluateJavaScript("a()", [&](std::optional<std::string> r) { answers.push_back("a=" + r.value_or("none")); });
  web->evaluateJavaScript("b()", [&](std::optional<std::string> r) { answers.push_back("b=" + r.value_or("none")); });
  EXPECT_TRUE(answers.empty());
  sim->answerScript("1");
  sim->answerScript(std::nullopt);
  EXPECT_EQ(answers, (Log{"a=1", "b=none"}));
  EXPECT_EQ(sim->evaluatedScripts(), (std::vector<std::string>{"a()", "b()"}));

  answers.clear();
  sim->setScriptResponder([](const std::string& js) { return std::optional<std::string>(js + "!"); });
  web->evaluateJavaScript("c", [&](std::optional<std::string> r) {
    answers.push_back(*r);
    web->evaluateJavaScript("d", [&](std::optional<std::string> r2) { answers.push_back(*r2); });
  });
  EXPECT_TRUE(answers.empty());
  clock.runUntilIdle();
  EXPECT_EQ(answers, (Log{"c!", "d!"}));
}

TEST_F(WebViewTest, ADelegateMayDropTheViewDuringACallback) {
  std::weak_ptr<pf::WebView> weak = web;
  delegate->onFinish = [&](const std::shared_ptr<pf::WebView>&) { web.reset(); };
  web->loadRequest(request("http://site.example/a"));
  sim->finishLoad();  // the view goes during its own callback
  EXPECT_TRUE(weak.expired());
  EXPECT_EQ(delegate->log.back(), "finish");
}

TEST_F(WebViewTest, AGoneDelegateAllowsEverything) {
  delegate.reset();
  web->loadRequest(request("http://site.example/a"));
  EXPECT_TRUE(sim->navigate("gmsg://x/y"));
}

class OldWebViewTest : public WebViewTest {
 protected:
  OldWebViewTest() { ui.setProfile(*pf::DeviceProfile::named("phone-3.1.3")); }
};

TEST_F(OldWebViewTest, OptionsAnOldOSLacksAreNotOffered) {
  web->setAllowsInlineMediaPlayback(true);
  EXPECT_FALSE(web->allowsInlineMediaPlayback());
  EXPECT_FALSE(sim->allowsInlineMediaPlayback());
  web->setDataDetectorTypes(pf::WebView::DataDetectorAll);
  EXPECT_EQ(sim->dataDetectorTypes(), 3u);  // phone numbers and links only
}

TEST_F(WebViewTest, ATouchOnTheWebViewInAWindowReachesItsHitTest) {
  auto window = pf::Window::create();
  window->addSubview(web);
  window->makeKeyAndVisible();
  // The scroller on top of the page area is the deepest view.
  EXPECT_EQ(pf::SimUIBackend::touch(*web, {10, 10}), web->scrollView());
}

}  // namespace
