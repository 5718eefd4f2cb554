#pragma once
// pf::GtkWebViewPeer: a WebKitGTK web view as the engine behind a pf::WebView.
//
// Navigations the page starts reach `decide-policy` and go to the host's decision
// (WebKit numbers its navigation types as the phone's web view does, 0 link clicked … 5 other); the
// loads the view started itself were decided already and are let through once. A link that
// asks for a new window is decided like any link and, allowed, loads in this view, as the
// phone's web view does. Load events of the main frame become one start and exactly one
// finish or failure; the engine's own error page is suppressed.
//
// Lifetimes (the host may destroy the view, and so this peer, inside any host call): every
// handler takes a weak flag before calling out and touches nothing afterwards when the flag
// died; decisions waiting on the host are kept referenced and answered "ignore" if we die
// first; script callbacks carry a heap weak handle and always call `_finish`.
#include <webkit/webkit.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gtk/GObjectRef.h"
#include "platform/gtk/GtkViewPeer.h"
#include "platform/ui/WebViewPeer.h"

namespace pf {

class WebView;

class GtkWebViewPeer : public GtkViewPeerOf<WebViewPeer> {
 public:
  GtkWebViewPeer(WebView& view, WebViewPeerHost& host);
  ~GtkWebViewPeer() override;

  WebKitWebView* engine() const { return web_.get(); }
  // The desktop engine of `view` (nullptr under another backend).
  static GtkWebViewPeer* of(WebView& view);

  // WebViewPeer
  void loadRequest(const URLRequest& request) override;
  void loadHTMLString(const std::string& html, const std::optional<Url>& baseURL) override;
  void stopLoading() override;
  void reload() override;
  void goBack() override;
  void goForward() override;
  std::optional<URLRequest> historyRequest(int offset) const override;
  void evaluateJavaScript(uint64_t ticket, const std::string& script) override;
  void setAllowsInlineMediaPlayback(bool on) override;
  void setMediaPlaybackRequiresUserAction(bool on) override;
  void setBackgroundColor(const Color& color) override;

 private:
  static gboolean onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                 gpointer self);
  static void onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self);
  static gboolean onLoadFailed(WebKitWebView*, WebKitLoadEvent, char* uri, GError* error, gpointer self);
  static void onWebProcessTerminated(WebKitWebView*, WebKitWebProcessTerminationReason, gpointer self);
  static void onScriptFinished(GObject* source, GAsyncResult* result, gpointer call);

  gboolean decide(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type);
  // The next navigation to `uri` is one the view decided already.
  void expectOwnNavigation(const std::string& uri) { ownNavigation_ = uri; }
  bool takeOwnNavigation(const char* uri);
  void loadNow(const URLRequest& request);
  // Reports the end of the load in progress; false when we died inside the host call.
  bool endLoad(const std::optional<Error>& error);

  WebViewPeerHost& host_;
  GObjectRef<WebKitWebView> web_;
  GObjectRef<GCancellable> cancellable_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::vector<WebKitPolicyDecision*> pending_;  // referenced while the host decides
  std::optional<std::string> ownNavigation_;
  bool inLoad_ = false;
};

}  // namespace pf
