#pragma once
// pf::SimUIWebView: the sim backend's web engine for a pf::WebView — a scripted page that a
// test makes do things, with the same decision and callback road a real engine takes.
//
//   auto sim = pf::SimUIWebView::of(*webView);
//   webView->loadRequest(request);          // decided at once (type 5, other)
//   clock.runUntilIdle();                   // the load starts: webViewDidStartLoad
//   sim->finishLoad();                      // webViewDidFinishLoad
//   sim->navigate("gmsg://…", pf::WebViewNavigationType::Other);   // the page's own navigation
//   sim->setScriptResponder([](const std::string& js) { return std::optional<std::string>("42"); });
//
// A load starts on the next run-loop pass after it was allowed (webViewDidStartLoad) and
// ends when the test says (finishLoad / failLoad), or on the pass after it started when
// setFinishesLoadsAutomatically(true). History holds every committed load, as an engine's.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/WebView.h"
#include "platform/ui/WebViewPeer.h"

namespace pf {

class SimUIWebView : public WebViewPeer {
 public:
  using ScriptResponder = std::function<std::optional<std::string>(const std::string& script)>;

  SimUIWebView(WebView& view, WebViewPeerHost& host);
  ~SimUIWebView() override;

  // The sim engine of `view` (nullptr when the view was made under another backend).
  static SimUIWebView* of(WebView& view);

  // ---- what the page does ----
  // The page navigates (a link, a form, a script): the delegate decides; on "yes" the load
  // replaces the page's. Answers the decision.
  bool navigate(const URLRequest& request, WebViewNavigationType type = WebViewNavigationType::LinkClicked);
  bool navigate(const std::string& url, WebViewNavigationType type = WebViewNavigationType::LinkClicked);
  // The server redirects the load in progress: decided as type "other"; refused, the load
  // fails with "frame load interrupted" (WebKitErrorDomain 102).
  bool redirect(const std::string& url);
  // The load in progress ends (starting it first if its start is still due).
  void finishLoad();
  void failLoad(const Error& error);
  void setFinishesLoadsAutomatically(bool on) { autoFinish_ = on; }
  // A touch at `point` in the view's coordinates, through the window's hit test.
  void touch(Point point);

  // ---- scripts ----
  // Answers every evaluation on the next run-loop pass; without one, answerScript does.
  void setScriptResponder(ScriptResponder responder) { responder_ = std::move(responder); }
  // Answers the oldest unanswered evaluation; false when none waits.
  bool answerScript(std::optional<std::string> result);
  const std::vector<std::string>& evaluatedScripts() const { return scripts_; }
  size_t unansweredScripts() const { return waiting_.size(); }

  // ---- what the engine was told ----
  const std::optional<std::string>& loadedHTML() const { return html_; }
  const std::optional<Url>& baseURL() const { return baseURL_; }
  std::optional<URLRequest> currentRequest() const;
  bool isLoadInProgress() const { return started_ || startDue_; }
  size_t historySize() const { return history_.size(); }
  size_t stopCount() const { return stops_; }
  bool scalesPageToFit() const { return scalesPageToFit_; }
  unsigned dataDetectorTypes() const { return dataDetectors_; }
  bool scrollsToTop() const { return scrollsToTop_; }
  bool allowsInlineMediaPlayback() const { return inlineMedia_; }
  bool mediaPlaybackRequiresUserAction() const { return requiresUserAction_; }

  // WebViewPeer
  void loadRequest(const URLRequest& request) override;
  void loadHTMLString(const std::string& html, const std::optional<Url>& baseURL) override;
  void stopLoading() override;
  void reload() override;
  void goBack() override;
  void goForward() override;
  std::optional<URLRequest> historyRequest(int offset) const override;
  void evaluateJavaScript(uint64_t ticket, const std::string& script) override;
  void setScalesPageToFit(bool on) override { scalesPageToFit_ = on; }
  void setDataDetectorTypes(unsigned types) override { dataDetectors_ = types; }
  void setAllowsInlineMediaPlayback(bool on) override { inlineMedia_ = on; }
  void setMediaPlaybackRequiresUserAction(bool on) override { requiresUserAction_ = on; }
  void setScrollsToTop(bool on) override { scrollsToTop_ = on; }

 private:
  void commit(const URLRequest& request, bool newEntry);
  void scheduleStart();
  void start();
  void end(const std::optional<Error>& error);

  WebView& view_;
  WebViewPeerHost& host_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::vector<URLRequest> history_;
  size_t index_ = 0;  // into history_ when not empty
  std::optional<std::string> html_;
  std::optional<Url> baseURL_;
  bool startDue_ = false;
  bool started_ = false;
  bool autoFinish_ = false;
  size_t stops_ = 0;
  std::vector<std::string> scripts_;
  std::vector<uint64_t> waiting_;
  ScriptResponder responder_;
  bool scalesPageToFit_ = false;
  unsigned dataDetectors_ = 0;
  bool scrollsToTop_ = true;
  bool inlineMedia_ = false;
  bool requiresUserAction_ = true;
};

}  // namespace pf
